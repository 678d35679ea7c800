#include "gamesession.h"

GameSession::GameSession(WindowRequests& windowRequests)
    : window(windowRequests)
    , match(windowRequests, *this)
    , listenSocket(*this)
    , peerSocket(*this)
{
}

GameSession::~GameSession() = default;

void GameSession::onModeChanged() { }
void GameSession::onListenConnect() { }
void GameSession::onCloseConnection() { }
void GameSession::onAcceptRequest() { }
void GameSession::onConnected() { }
void GameSession::onConnectFailed() { }
void GameSession::onPeerData(std::string_view bytes) { match.onPeerData(bytes); }
void GameSession::onSendReady() { match.onSendReady(); }
void GameSession::onPeerClosed() { }
long GameSession::sendToPeer(std::string_view) { return -1; }
std::uint16_t GameSession::listeningPort() const { return 0; }
