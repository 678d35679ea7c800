#pragma once

#include "match/gameevents.h"

#include <string_view>

// What a socket reports to whoever owns it. The game session is the one owner in the game;
// tests put a recorder in its place, so the socket and the session are each tried alone.
//
//   a connection waits (listening socket)        -> onAcceptRequest
//   the connection attempt succeeded / failed    -> onConnected / onConnectFailed (where
//     and why, as far as the system said; an attempt nobody answers fails after a time)
//   data arrived                                 -> onPeerData, once per read
//   bytes went out, more can be sent             -> onSendReady
//   the connection ended: orderly close, reset,
//   or any error that leaves it dead             -> onPeerClosed
class ConnectionEvents {
public:
    virtual ~ConnectionEvents() = default;

    virtual void onAcceptRequest() = 0;
    virtual void onConnected() = 0;
    virtual void onConnectFailed(const ConnectionFailure& failure) = 0;
    virtual void onPeerData(std::string_view bytes) = 0;
    virtual void onSendReady() = 0;
    virtual void onPeerClosed() = 0;
};
