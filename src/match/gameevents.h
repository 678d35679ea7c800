#pragma once

#include "gametext.h"
#include "matchstate.h"

#include "core/board.h"
#include "core/fleetrules.h"

#include <cstdint>
#include <string>

// Who did something: this side's player, or the opponent.
enum class Side : std::uint8_t { Mine, Opponents };

// Matches won by each side on the current connection.
struct Score {
    int mine = 0;
    int opponents = 0;

    bool operator==(const Score&) const = default;
};

// What a change to the fleet being built was.
struct FleetChange {
    enum Kind : std::uint8_t {
        CellSet,
        CellCleared,
        Generated, // the generator placed a whole fleet, ready to be accepted
        Refused, // the 25th cell made no legal fleet and was taken away again
        NothingToClear, // a cell was to be taken away and none is placed
        Repeated, // the fleet last declared is placed again, ready to be accepted
    };
    Kind kind;
    GridCell cell; // of a cell set, cleared or refused
    int cellsPlaced = 0;
    FleetFault fault = FleetFault::None; // the rule a refused fleet breaks

    bool operator==(const FleetChange&) const = default;
};

// A shot and its answer.
struct Shot {
    enum Outcome : std::uint8_t { Miss, Hit, Sunk };
    Side shooter;
    GridCell cell; // an opponent's shot may name a cell off the grid
    Outcome outcome;
    // The length digit of a hit or a sinking as the reply gave it ('\0' when the reply was
    // cut short before it); '\0' for a miss.
    char length = '\0';

    bool operator==(const Shot&) const = default;
};

// Where a listen or an attempt to connect failed, and why, as far as the system said: what
// the player reads under the failure's text.
struct ConnectionFailure {
    enum Kind : std::uint8_t {
        None,
        PortOutOfRange, // not in 0..65535: nothing was tried
        Refused, // nothing listens on that port there
        HostNotFound, // the name is known to no name server
        TimedOut, // the server never answered
        AddressInUse, // another program listens on the port
        Permission, // the system does not allow it (a port below 1024)
        NetworkUnreachable,
        HostUnreachable,
        Other, // in the system's own words
    };
    Kind kind = None;
    std::string address; // as tried: a host name, or an IPv4 or IPv6 address without brackets
    int port = 0;
    std::string systemReason = {}; // the system's words (UTF-8), told for Other

    bool operator==(const ConnectionFailure&) const = default;
};

// The connection to the opponent, as the connection handlers see it.
struct ConnectionChange {
    enum State : std::uint8_t {
        Closed,
        Listening, // a server waiting for its opponent
        Connecting, // a client waiting for the server to answer
        Open,
    };
    enum Reason : std::uint8_t {
        Asked, // the player (or the program) asked for it
        PeerClosed, // the opponent closed the connection, or it broke
        ListenFailed, // the port could not be listened on
        ConnectFailed, // the server could not be reached
        Probe, // a connection came and went without a message: the server listens on
    };
    State state;
    Reason reason = Asked;
    bool listened = false; // this side listens or listened for the connection
    int port = 0; // the port listened on
    ConnectionFailure failure = {}; // of a ListenFailed or a ConnectFailed

    bool operator==(const ConnectionChange&) const = default;
};

// What happens in the game, as one side sees it: the match engine and the connection
// handlers report here, and the window, the headless opponent and the tests listen. Nothing
// here names a control or a pixel: what the player sees and can do follows from these
// events and the engine's state, as each listener decides.
class GameEvents {
public:
    virtual ~GameEvents() = default;

    // The phase of this side's match changed (see GamePhase).
    virtual void phaseChanged(GamePhase phase) = 0;
    // A cell of the fleet being built was set or taken away, or the whole fleet generated.
    virtual void fleetChanged(const FleetChange& change) = 0;
    // A side declared its fleet ready; randomized: a generated fleet.
    virtual void readyDeclared(Side side, bool randomized) = 0;
    // This side fired at a cell of the opponent's grid.
    virtual void shotFired(GridCell cell) = 0;
    // A cell already shot was chosen: nothing was fired.
    virtual void shotRefused(GridCell cell) = 0;
    // A shot was answered: one of ours by the opponent's reply (water is marked around a
    // ship sunk), or the opponent's by this side.
    virtual void shotAnswered(const Shot& shot) = 0;
    // The match is decided. The engine waits for matchResultSeen(match) to count it and go
    // on to the next.
    virtual void matchDecided(bool won, int match) = 0;
    // A decided match was counted.
    virtual void scoreChanged(const Score& score) = 0;
    // The own fleet is shown, or hidden behind the cover.
    virtual void fleetShown(bool shown) = 0;
    // A chat line went out, or came in (UTF-8, as it went over the wire).
    virtual void chatLine(Side side, const std::string& text) = 0;
    // A message could not be sent: a chat line, or one of the match's messages (which is
    // lost). Then the connection could send again.
    virtual void sendFailed(bool chat) = 0;
    virtual void sendResumed() = 0;
    // What this side is told now, and a line for the log.
    virtual void statusChanged(const Text& status) = 0;
    virtual void logLine(const Text& line) = 0;
    // The connection opened, closed, or is being made.
    virtual void connectionChanged(const ConnectionChange& change) = 0;
};
