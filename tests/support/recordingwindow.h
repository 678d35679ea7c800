#pragma once

#include "match/windowrequests.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Carries out the window requests by remembering them: the last value of everything a
// window would show, and a transcript of every request in order.
class RecordingWindow : public WindowRequests {
public:
    void setStatusText(std::string_view text) override;
    ControlValues saveControls() override;
    void updateTitle(std::string_view baseTitle, int myWins, int peerWins) override;
    void showListeningPort(int port) override;
    void enableConnectionControls(bool enable) override;
    void enableChatControls(bool enable) override;
    void disableGeneratorControls() override;
    void enableControl(int id, bool enable) override;
    void setButtonCaption(int id, std::string_view caption) override;
    void addLogLine(std::string_view line) override;
    void drawBoard(const Board& board) override;
    void eraseCursor(const Board& board) override;
    void drawCursor(const Board& board) override;
    void repaint() override;
    void flashHit(const Board& shown) override;
    void fadeOut(const Board& leaving) override;
    void fadeIn(const Board& arriving) override;
    void showGenerator(bool show) override;
    void messageBox(
        std::string_view text, std::string_view caption, BoxIcon icon, BoxClosed closed) override;
    void beep(BeepKind kind) override;

    // Names the boards in the transcript ("own", "enemy", "cover").
    void nameBoard(const Board& board, std::string name);
    bool enabled(int id) const; // controls start disabled unless enabled by a request

    std::string statusText;
    std::string title;
    std::vector<std::string> log; // oldest first
    std::vector<std::string> boxes; // "caption: text"
    std::vector<BeepKind> beeps;
    std::map<int, bool> enabledControls;
    std::map<int, std::string> captions;
    bool generatorShown = false;
    bool connectionControls = false;
    bool chatControls = false;
    int flashes = 0;
    int shownPort = -1; // the last port shown by showListeningPort
    ControlValues controls; // what saveControls answers
    std::vector<std::string> transcript;
    // Boxes are closed as soon as they open, after duringBox (if set) has run as if other
    // events came while the box was open. With holdBoxes they stay open, oldest first, until
    // closeBox().
    std::function<void()> duringBox;
    bool holdBoxes = false;
    std::deque<BoxClosed> openBoxes;
    void closeBox();

private:
    void record(std::string line);
    std::string boardName(const Board& board) const;
    std::map<const Board*, std::string> boardNames;
};
