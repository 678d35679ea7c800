#pragma once

#include <QHostAddress>
#include <QNetworkInterface>
#include <QStringList>

#include <vector>

// The addresses of this computer that another player can type to connect to a game that
// listens here, as the window's log shows them when listening starts.

// One address of an interface, with the interface's flags.
struct InterfaceAddress {
    QHostAddress address;
    QNetworkInterface::InterfaceFlags flags;
};

// The addresses worth typing, in the order to show them: the IPv4 ones, then the IPv6 ones,
// each once, of interfaces that are up and running. A link-local address is left out: it
// only works with the name of the interface it is on, which the other computer does not
// have. The loopback addresses come only when there is nothing else: then the other player
// can only be on this computer.
QStringList addressesToShow(const std::vector<InterfaceAddress>& addresses);

// Every address of every interface of this computer, now. It asks the system each time (a
// fraction of a millisecond), so it is asked when listening starts, not before.
std::vector<InterfaceAddress> interfaceAddresses();
