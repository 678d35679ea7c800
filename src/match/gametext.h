#pragma once

#include <cstdint>
#include <string>

// The texts of the game, by id. The match engine and the connection handlers say what they
// have to say with these and an argument; where a text is shown, one table gives each its
// words in the player's language (net/gametexts.h). "%1" is where the argument goes.
enum class TextId : std::uint8_t {
    // The status of the match.
    BuildFleet, // a new match: build the fleet
    PlaceCell, // place cell %1, the number of the next cell
    CorrectFleet, // the fleet breaks a rule: correct it
    WaitingForOpponent, // the fleet is declared; the opponent's is awaited
    BeginAsTarget, // play begins, the opponent firing first
    OpponentReady, // the opponent declared its fleet
    OpponentReadyRandomized, // ... a generated one
    BeginAsShooter, // play begins, this side firing first
    BeginAsTargetAfterAll, // both fired first; the opponent keeps the turn
    AimAtAnEmptyCell, // a cell already shot was chosen
    ReceivingShots, // the opponent's turn
    FiringShot, // firing shot %1 (2 or 3) of the turn
    FiringFirstShot, // firing the first shot of the turn
    // The log.
    HitShipOfOne, // this side hit a ship of one cell
    HitShip, // ... of %1 cells, the length as the reply named it
    SunkShipOfOne, // this side sank a ship of one cell
    SunkShip, // ... of %1 cells
    MyChat, // this side's chat line %1, as it went over the wire
    PeerChat, // the opponent's chat line %1
    ProbeCameAndWent, // a connection came and closed without a message
    // The end of a match, and a message that could not be sent: a box's text and caption.
    LostText,
    LostCaption,
    WonText,
    WonCaption,
    SendFailedText,
    SendFailedCaption,
    // The connection.
    Listening, // waiting for a connection
    ListeningOnPort, // ... on port %1, which the system chose
    ListenFailedText, // the port cannot be listened on (a box's text and caption)
    ListenFailedCaption,
    CheckServerSettings, // after that: check the server's settings
    Connecting, // connecting to the server
    ConnectFailedText, // the server cannot be reached (a box's text and caption)
    ConnectFailedCaption,
    CheckNetworkSettings, // after that: check the network settings
    ClosedByUs, // this side closed the connection
    ClosedByPeer, // the opponent closed the connection
    AnotherPlayerTried, // a third copy tried to join a match under way
    ThisComputersAddresses, // listening on addresses %1 ("192.0.2.7, 2001:db8::5"), port %2
    // Why a listen or an attempt to connect failed: a line under the failure's text.
    PortOutOfRange,
    ConnectionRefused,
    HostNotFound,
    ConnectionTimedOut,
    PortInUse,
    PermissionDenied,
    NetworkUnreachable,
    HostUnreachable,
    // The window's title, followed by the score, and the captions that change.
    ServerTitle,
    ClientTitle,
    ClosedTitle,
    NewMatchTitle,
    Hide,
    Show,
    Listen,
    Connect,
};

inline constexpr int TextCount = static_cast<int>(TextId::Connect) + 1;

// A text to show: its id and the argument that takes the place of "%1" (UTF-8), and of
// "%2" in the few texts that have a second.
struct Text {
    TextId id;
    std::string argument;
    std::string secondArgument = {};

    bool operator==(const Text&) const = default;
};
