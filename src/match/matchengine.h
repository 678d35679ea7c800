#pragma once

#include "matchstate.h"
#include "protocol.h"

#include "core/board.h"
#include "core/fleetgenerator.h"

#include <optional>
#include <string_view>
#include <vector>

class PeerLink;
class WindowRequests;

// One of this side's shots and the opponent's answer to it.
struct ShotResult {
    enum Kind { Miss, Hit, Sunk };
    int column;
    int row;
    Kind kind;
    char length; // the length digit of a hit or a sinking, as the reply gave it
};

// One side of a match. It keeps the side's boards and phase, builds and declares the fleet,
// fires and answers shots, counts turns, notices the end of a match, keeps the score and
// starts the next match. It does no I/O: it takes commands (clicks, the bytes of a read,
// connection events) and reports through the window requests and the peer link, so two
// engines can play each other in memory. A click on the enemy grid and a shot from the
// network go through the same checks.
class MatchEngine {
public:
    MatchEngine(WindowRequests& window, PeerLink& peer); // neither owned
    MatchEngine(const MatchEngine&) = delete;
    MatchEngine& operator=(const MatchEngine&) = delete;

    // Matches.
    void startNewMatch();
    void declareReady(std::string_view message);
    bool fireShot(); // true when the shot was refused (a cell already shot)
    // Whether this side may fire now: its turn in play, no shot unanswered, the match not
    // over, and not every ship cell of the opponent hit already.
    bool mayFire() const;
    void onPeerData(std::string_view bytes);
    // A chat line from the opponent waits while its end may be a message the network cut;
    // the connection handlers show it if the next read is long in coming.
    bool holdsChat() const { return reader.holdsChat(); }
    void showHeldChat();

    // Building the fleet by hand and with the generator.
    void placeCell();
    void removeCell();
    void onRandomize();
    void onAcceptFleet();
    // The rule a fleet built by hand must pass: see validateFleet.

    // The player's pointer and buttons, in the dialog's pixel coordinates.
    void onMouseMove(int x, int y);
    void onLeftButtonDown();
    void onRightButtonDown();
    // Points at a cell of the enemy grid as the mouse would (for players without a mouse).
    void aimAt(int column, int row);
    // The keyboard plays on the grid in play: the own grid while the fleet is built, the
    // enemy grid in play, none otherwise. The arrow keys move its cursor by whole cells,
    // kept on the grid; a cell is then set or fired at (set) or taken away, as by a click.
    MouseRegion keyboardGrid() const;
    void moveKeyboardCursor(int columns, int rows);
    void onKeyboardCell(bool set);
    void onHideShow();

    // Sends a chat line and logs it; an empty line is not sent.
    void sendChatLine(std::string_view utf8Text);

    // The connection, as the connection handlers see it.
    void connectionOpened(bool listening); // starts the first match
    void connectionClosed();
    void onSendReady();
    void resetScore();

    void sendToPeerGuarded(std::string_view message);

    const MatchState& matchState() const { return state; }
    const Board& ownBoard() const { return own; }
    Board& ownBoard() { return own; }
    const Board& enemyBoard() const { return enemy; }
    const Board& coverBoard() const { return cover; }
    const Board& displayedBoard() const { return *displayed; }
    int myWins() const { return myWinCount; }
    int peerWins() const { return peerWinCount; }
    bool connected() const { return isConnected; }
    // Whether the opponent has sent a single message the wire grammar knows on this
    // connection: one that says nothing is no player, only a probe.
    bool heardFromPeer() const { return peerHeard || reader.holdsChat(); }
    // From the shot that decided the match until its end-of-match box is closed.
    bool matchOver() const { return decided; }
    // This side's answered shots in the current match, in order.
    const std::vector<ShotResult>& shotResults() const { return results; }
    // Whether the opponent's latest ready declared a generated fleet.
    bool peerFleetRandomized() const { return peerRandomized; }
    RandomSource& random() { return randomSource; }

private:
    void pointAtCell(const Board& board, int column, int row); // as the mouse at its middle
    void act(const protocol::Message& message);
    void opponentReady(bool randomized);
    void incomingShot(char columnLetter, char rowDigit);
    void matchLost();
    void matchWon();
    void afterMatchBox(bool won, int match);
    void shotReply(char argument);
    void sunkReply(char argument);
    void advanceTurn();
    void turnReceived();
    void yieldOpeningTurn();
    int enemyHits() const;
    void endMatch(); // the common tail of a win and a loss
    void showPlacementPrompt();

    WindowRequests& window;
    PeerLink& peer;
    protocol::MessageReader reader;

    Board own { 25, 10 };
    Board enemy { 310, 10 };
    Board cover { 25, 10 };
    Board* displayed = &own;
    MatchState state;
    int myWinCount = 0;
    int peerWinCount = 0;
    RandomSource randomSource;

    bool isConnected = false;
    bool peerHeard = false; // a message came on this connection
    bool listening = false; // this side listened for the connection (it did not connect)
    int matchNumber = 0; // counts the matches started, so a late box can tell its own
    bool decided = false; // the match is won or lost; its box is open
    int shotsAnswered = 0; // the opponent's shots answered in its current turn
    bool failureBoxOpen = false; // a failed send's warning is on screen
    // True from the start of a match until the first reply or hand-over: a shot that reaches
    // a shooter then means both sides declared ready at the same time.
    bool openingVolley = false;
    // This side gave the first turn up with a shot of its own unanswered. An opponent that
    // gave it up too answers that shot; the listener then takes the turn back.
    bool yieldedWithShot = false;
    // An opponent's ready that came before this side's match started; applied when it does.
    std::optional<bool> earlyReady;
    bool peerRandomized = false;
    std::vector<ShotResult> results;
};
