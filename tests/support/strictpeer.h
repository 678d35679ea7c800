#pragma once

#include "match/matchstate.h"
#include "match/peerlink.h"

#include "core/board.h"
#include "core/fleetgenerator.h"

#include <string>
#include <string_view>
#include <vector>

// A copy of the game as another team might build it from the protocol alone, with none of
// our mends: each read is searched for the tokens in their fixed order, the chat text runs
// to the end of the read and empties it, a ready that comes while it plays is forgotten,
// and its end-of-match box stays open for a set time. While a box is open further reads are
// handled as ever; the read that opened the box goes on with its later tokens once the box
// is closed, and only the innermost box can close. Its player declares a generated fleet,
// optionally after a chat line, and fires at random cells it has not shot, but never while
// a box is open. Time is whatever the caller says it is, in milliseconds.
class StrictPeer {
public:
    struct Settings {
        int boxMs = 0; // how long its end-of-match boxes stay open
        int thinkMs = 20; // from a new match to its declaration
        bool chatBeforeReady = false; // a chat line goes out right before each ready
        int chatLeadMs = 0; // how long before the ready
        unsigned seed = 1;
    };

    StrictPeer(PeerLink& link, const Settings& settings); // link not owned

    void connected(int now); // the connection is made: the first match starts
    // One read of at most 1024 bytes.
    void read(std::string_view bytes, int now);
    // Time has come to `now`: a box whose time is up closes, and the player acts.
    void act(int now);

    int myWins = 0;
    int peerWins = 0;
    int winBoxes = 0; // win and loss boxes opened, one per match if all goes well
    int lossBoxes = 0;
    std::vector<std::string> log;
    GamePhase phase = GamePhase::Idle;
    bool isShooter = false;
    bool boxOpen() const { return !boxes.empty(); }

private:
    struct Box {
        int closesAt;
        bool won;
        std::string text; // the rest of the read that opened it
        int nextStep; // the search it goes on with
    };

    void recognise(std::string text, int step, int now);
    void resolveShot(char column, char row);
    void endOfReply();
    void startNewMatch();
    void declareReady();
    void fire();

    PeerLink& peer;
    Settings settings;
    RandomSource random;
    Board own;
    Board enemy;
    bool shotPending = false;
    int shotsThisTurn = 0;
    int lastColumn = 0;
    int lastRow = 0;
    int matchStarted = -1; // when the current match started; -1 before the first
    bool chatSent = false;
    std::vector<Box> boxes; // the innermost last
};
