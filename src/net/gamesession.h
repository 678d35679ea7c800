#pragma once

#include "connectionevents.h"
#include "gamesocket.h"

#include "match/matchengine.h"
#include "match/peerlink.h"

#include <QTimer>

#include <cstdint>
#include <string>
#include <string_view>

class WindowRequests;

// One player's side of the game over TCP: the match engine, the listening socket and the
// socket that carries the match, and the connection handlers. It shows everything through
// the window requests, so the game window, the headless opponent and the tests all drive it
// the same way: the window only forwards its button clicks here.
class GameSession : public ConnectionEvents, public PeerLink {
public:
    explicit GameSession(WindowRequests& window); // not owned
    ~GameSession() override;
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // A chat line whose end may be a message the network cut waits for the next read, but it
    // is shown after this long: a slow link holds bytes back some tens of milliseconds.
    static constexpr int HeldChatMs = 200;

    MatchEngine& engine() { return match; }
    const MatchEngine& engine() const { return match; }

    // The player's clicks on "Servidor"/"Cliente", "Escutar"/"Conectar" and "Fechar COM".
    // They read the mode, port and address through WindowRequests::saveControls.
    void onModeChanged();
    void onListenConnect();
    // A server normally listens on every interface; an opponent that runs inside the game's
    // own process listens on the loopback only, so no other machine can take its place.
    void setLoopbackOnly(bool loopback) { loopbackOnly = loopback; }
    void onCloseConnection();

    // What the sockets report.
    void onAcceptRequest() override;
    void onConnected() override;
    void onConnectFailed() override;
    void onPeerData(std::string_view bytes) override;
    void onSendReady() override;
    void onPeerClosed() override;

    // One write of the whole message: the bytes accepted, or -1 when there is no connection
    // or it has too much still to send.
    long sendToPeer(std::string_view bytes) override;

    // The port the listening socket is bound to (0 when not listening): with port 0 in the
    // controls, the system picks a free one.
    std::uint16_t listeningPort() const;
    // Whether a connection to the opponent is open.
    bool peerConnected() const;
    // Bytes received from the opponent and not yet read: never more than the socket's
    // bound, however fast the opponent sends.
    std::int64_t unreadPeerBytes() const;

private:
    std::string listeningStatus() const;
    void listenAgain();

    WindowRequests& window;
    MatchEngine match;
    GameSocket listenSocket;
    bool loopbackOnly = false;
    bool portChosen = false; // the system chose the listening port: the status tells it
    GameSocket peerSocket;
    QTimer heldChatTimer;
};
