#pragma once

#include "match/gameevents.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class MatchEngine;

// The id's name, as the tests write it ("BuildFleet").
std::string_view textName(TextId id);

// Listens to one side's game events by remembering them: the last of what a window would
// show, each kind of event in order, and a transcript of every event.
class RecordingEvents : public GameEvents {
public:
    void phaseChanged(GamePhase phase) override;
    void fleetChanged(const FleetChange& change) override;
    void readyDeclared(Side side, bool randomized) override;
    void shotFired(GridCell cell) override;
    void shotRefused(GridCell cell) override;
    void shotAnswered(const Shot& shot) override;
    void matchDecided(bool won, int match) override;
    void scoreChanged(const Score& score) override;
    void fleetShown(bool shown) override;
    void chatLine(Side side, const std::string& text) override;
    void sendFailed(bool chat) override;
    void sendResumed() override;
    void statusChanged(const Text& status) override;
    void logLine(const Text& line) override;
    void connectionChanged(const ConnectionChange& change) override;

    // A match's result is seen at once, after duringResult (if set) has run as if other
    // events came while it was on screen. With holdResults the results wait, oldest first,
    // until showResult().
    MatchEngine* engine = nullptr; // not owned
    std::function<void()> duringResult;
    bool holdResults = false;
    std::deque<int> unseenResults; // their matches
    void showResult();

    Text status { TextId::BuildFleet, {} };
    bool statusSet = false;
    // The log as a window shows it: its lines, and the chat lines as "<EU> "/"<ADV> " texts.
    std::vector<Text> log;
    std::vector<GamePhase> phases;
    std::vector<FleetChange> fleetChanges;
    std::vector<std::pair<Side, bool>> readies; // who, and whether randomized
    std::vector<GridCell> fired;
    std::vector<GridCell> refused;
    std::vector<Shot> answered;
    std::vector<bool> results; // of the matches decided: won
    std::vector<Score> scores;
    std::vector<bool> fleetShownChanges;
    std::vector<ConnectionChange> connections;
    int chatSendFailures = 0;
    int sendFailures = 0; // of the match's messages
    int resumed = 0;
    // The opponent's hits on the own fleet: each makes a window flash.
    int hitsTaken() const;

    std::vector<std::string> transcript;

private:
    void record(std::string line);
};
