#pragma once

#include <string_view>

// Where the engine's messages go: the connection to the opponent.
class PeerLink {
public:
    virtual ~PeerLink() = default;

    // Hands the bytes to the connection in one send call. Answers the number of bytes
    // accepted, or -1 when the connection cannot take them.
    virtual long sendToPeer(std::string_view bytes) = 0;
};
