#pragma once

#include "fleetbuilder.h"
#include "gameevents.h"
#include "matchstate.h"
#include "protocol.h"
#include "shotexchange.h"

#include "core/board.h"
#include "core/fleetgenerator.h"

#include <optional>
#include <string_view>
#include <vector>

class PeerLink;

// What became of a shot this side asked for.
enum class FireResult {
    Fired,
    NotNow, // not this side's turn, a shot waits for its reply, or the match is over
    AlreadyShot, // the cell was shot before, or is known water: nothing was fired
    OffTheGrid,
};

// One side of a match. It builds and declares the fleet, fires and answers shots, counts
// turns, notices the end of a match, keeps the score and starts the next match. It does no
// I/O: it takes commands (the player's, the bytes of a read, connection events) in the
// game's terms, cells and not pixels, and reports what happens as game events and through
// the peer link, so two engines can play each other in memory. A shot the player fires and a
// shot from the network go through the same checks.
class MatchEngine {
public:
    MatchEngine(GameEvents& events, PeerLink& peer); // neither owned
    MatchEngine(const MatchEngine&) = delete;
    MatchEngine& operator=(const MatchEngine&) = delete;

    // A new match: the fleet is built anew. Nothing happens while a match is under way.
    void startNewMatch();

    // Building the fleet, while placing: a cell set or taken away, a generated fleet, the
    // fleet this side last declared placed again, and a fleet placed whole accepted as it is.
    void setCell(GridCell cell);
    void clearCell(GridCell cell);
    void randomizeFleet();
    void repeatLastFleet();
    void acceptFleet();

    // Playing.
    FireResult fireAt(GridCell cell);
    // Whether this side may fire now: its turn in play, no shot unanswered, the match not
    // over, and not every ship cell of the opponent hit already.
    bool mayFire() const;
    // Hides the own fleet behind the cover (once it is declared), or shows it again.
    void toggleFleetShown();
    // The player has seen how the match ended: it counts, and the next one starts.
    void matchResultSeen(int match);

    // Sends a chat line and logs it; an empty line is not sent. A line that would be longer
    // than one read, once formed, goes as far as a read holds. Returns how many bytes of the
    // text went: 0 if none did (nothing is logged, and the player still has the line); what
    // did not go is the player's to send again.
    std::size_t sendChatLine(std::string_view utf8Text);

    // The first shot of the match waits for its reply. A copy of the game that forgets a
    // ready coming while the end of its last match is still on screen waits for ours when it
    // has declared, and ignores our shots meanwhile; a ready that went glued behind a chat
    // line is lost to it the same way. A first shot long unanswered is the sign: the
    // connection handlers then say this side's ready again, once a match, and that copy
    // starts firing; its first shot takes the turn, as when both sides declared at once.
    bool openingShotUnanswered() const;
    // This side declared second and waits for the opponent's first shot. A copy that takes
    // everything after "USER_MSG:" in a read as chat loses our ready when it came in the same
    // read as a chat line of ours; having declared first, it then waits for it. The
    // connection handlers say the ready again, once, when it went right behind a chat line
    // and no shot has come after a while.
    bool firstShotAwaited() const;
    void repeatReady();

    // The opponent's bytes, a read at a time. A chat line whose end may be a message the
    // network cut waits for the next read; the connection handlers show it if the next read
    // is long in coming.
    void onPeerData(std::string_view bytes);
    bool holdsChat() const { return reader.holdsChat(); }
    void showHeldChat();

    // The connection, as the connection handlers see it.
    void connectionOpened(bool listening); // starts the first match
    void connectionClosed();
    void resetScore();

    MatchState matchState() const;
    GamePhase phase() const { return currentPhase; }
    const Board& ownBoard() const { return fleet.board(); }
    const Board& enemyBoard() const { return exchange.enemy(); }
    const Board& coverBoard() const { return cover; }
    // The own board, or the cover while the fleet is hidden.
    const Board& displayedBoard() const { return showOwnFleet ? fleet.board() : cover; }
    // A fleet placed whole (generated, or the last one again) waits to be accepted.
    bool wholeFleetReady() const;
    // While placing, once this side has declared a fleet before: it can be placed again.
    bool mayRepeatFleet() const;
    Score score() const { return wins; }
    int myWins() const { return wins.mine; }
    int peerWins() const { return wins.opponents; }
    bool connected() const { return isConnected; }
    // Whether the opponent has sent a single message the wire grammar knows on this
    // connection: one that says nothing is no player, only a probe.
    bool heardFromPeer() const { return peerHeard || reader.holdsChat(); }
    // From the shot that decided the match until its result has been seen.
    bool matchOver() const { return decided; }
    int matchNumber() const { return matchCount; }
    // This side's answered shots in the current match, in order.
    const std::vector<Shot>& shotResults() const { return exchange.results(); }
    // Whether the opponent's latest ready declared a generated fleet.
    bool peerFleetRandomized() const { return peerRandomized; }
    RandomSource& random() { return randomSource; }

private:
    void setPhase(GamePhase phase);
    void declareReady(bool randomized);
    void act(const protocol::Message& message);
    void opponentReady(bool randomized);
    void incomingShot(char columnLetter, char rowDigit);
    void reply(Shot::Outcome outcome, char length);
    void showReply();
    void turnReceived();
    void yieldOpeningTurn();
    void decide(bool won);
    void sendToPeerGuarded(std::string_view message);
    void status(TextId id, std::string argument = {});

    GameEvents& events;
    PeerLink& peer;
    protocol::MessageReader reader;
    RandomSource randomSource;

    GamePhase currentPhase = GamePhase::Idle;
    FleetBuilder fleet;
    ShotExchange exchange;
    Board cover;
    bool showOwnFleet = true;
    Score wins;
    int matchCount = 0; // counts the matches started, so a late result can tell its own
    bool decided = false; // the match is won or lost
    std::optional<bool> unseenResult; // won or lost, until the player has seen it

    bool isConnected = false;
    bool listening = false; // this side listened for the connection (it did not connect)
    bool peerHeard = false; // a message came on this connection
    // An opponent's ready that came before this side's match started; applied when it does.
    std::optional<bool> earlyReady;
    bool peerRandomized = false;
    bool readyRepeated = false; // this match
    // The fleet this side last declared, as declared, and whether the generator made it:
    // kept from match to match and from one connection to the next.
    std::optional<Board> lastFleet;
    bool lastFleetGenerated = false;
};
