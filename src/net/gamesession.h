#pragma once

#include "connectionevents.h"
#include "gamesocket.h"

#include "match/gameevents.h"
#include "match/matchengine.h"
#include "match/peerlink.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string_view>

// One player's side of the game over TCP: the match engine, the listening socket and the
// socket that carries the match, and the connection handlers. It reports the connection as
// game events to the same listener as the engine, so the game window, the headless opponent
// and the tests all drive it the same way.
class GameSession : public ConnectionEvents, public PeerLink {
public:
    explicit GameSession(GameEvents& events); // not owned
    ~GameSession() override;
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // A chat line whose end may be a message the network cut waits for the next read, but it
    // is shown after this long: a slow link holds bytes back some tens of milliseconds.
    static constexpr int HeldChatMs = 200;
    // How long the first shot of a match waits for its reply before this side's ready is said
    // again (see MatchEngine::repeatReady): a peer answers at once, but a slow link may hold
    // a reply back a second or two.
    static constexpr int ReadyRepeatMs = 3000;
    // A ready sent this soon after a chat line may reach the peer in the same read, and a
    // copy that reads all after "USER_MSG:" as chat loses it (see
    // MatchEngine::firstShotAwaited): a copy busy drawing reads late.
    static constexpr int ChatGlueMs = 2000;

    MatchEngine& engine() { return match; }
    const MatchEngine& engine() const { return match; }

    // "Escutar" and "Conectar": every new listen or connect starts the score afresh. A port
    // outside 0..65535 cannot be listened on or connected to. Port 0 listens on a port the
    // system chooses. A listen on every interface puts this computer's addresses and the
    // port in the log, for the player to tell the other.
    void listen(int port);
    // The address is a dotted IPv4 or an IPv6 address (also in brackets, "[::1]") or a host
    // name; surrounding blanks do not count.
    void connectTo(const QString& address, int port);
    // A server normally listens on every interface; an opponent that runs inside the game's
    // own process listens on the loopback only, so no other machine can take its place.
    void setLoopbackOnly(bool loopback) { loopbackOnly = loopback; }
    // "Fechar COM": ends the connection, or the listening or the attempt to connect.
    void close();

    // What the sockets report.
    void onAcceptRequest() override;
    void onConnected() override;
    void onConnectFailed(const ConnectionFailure& failure) override;
    void onPeerData(std::string_view bytes) override;
    void onSendReady() override;
    void onPeerClosed() override;

    // One write of the whole message: the bytes accepted, or -1 when there is no connection
    // or it has too much still to send.
    long sendToPeer(std::string_view bytes) override;

    // The port the listening socket is bound to (0 when not listening).
    std::uint16_t listeningPort() const;
    // Whether a connection to the opponent is open.
    bool peerConnected() const;
    // Bytes received from the opponent and not yet read: never more than the socket's
    // bound, however fast the opponent sends.
    std::int64_t unreadPeerBytes() const;

private:
    void ended(
        ConnectionChange::Reason reason, TextId status, const ConnectionFailure& failure = {});
    void listenAgain();
    Text listeningStatus() const;

    GameEvents& events;
    MatchEngine match;
    GameSocket listenSocket;
    bool loopbackOnly = false;
    bool portChosen = false; // the system chose the listening port: the status tells it
    GameSocket peerSocket;
    QTimer heldChatTimer;
    QTimer readyRepeatTimer;
    QElapsedTimer sinceChat; // our last chat line; invalid before the first
};
