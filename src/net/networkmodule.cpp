// The entry of the network module (quorvel-tcp.so): everything of the game that needs Qt
// Network, reached through one table, so that the programs do not load Qt Network until
// they first listen or connect.

#include "localaddresses.h"
#include "socketbackend.h"
#include "tcpsocket.h"

#include <cstring>

namespace {

std::unique_ptr<SocketBackend> makeSocket(ConnectionEvents& owner)
{
    return std::make_unique<TcpSocket>(owner);
}

QStringList reachableAddresses() { return addressesToShow(interfaceAddresses()); }

constexpr NetworkModule entries { makeSocket, reachableAddresses };

} // namespace

extern "C" Q_DECL_EXPORT const NetworkModule* quorvel_network_module(const char* programVersion)
{
    return std::strcmp(programVersion, QUORVEL_VERSION) == 0 ? &entries : nullptr;
}
