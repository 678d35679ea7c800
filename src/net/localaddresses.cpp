#include "localaddresses.h"

QStringList addressesToShow(const std::vector<InterfaceAddress>& addresses)
{
    // By [loopback or not][IPv6 or IPv4], each in the order the system gave them.
    QStringList found[2][2];
    const auto up = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const auto& [address, flags] : addresses) {
        if ((flags & up) != up || address.isLinkLocal() || address.isMulticast())
            continue;
        const QAbstractSocket::NetworkLayerProtocol protocol = address.protocol();
        if (protocol != QAbstractSocket::IPv4Protocol && protocol != QAbstractSocket::IPv6Protocol)
            continue;
        const bool loopback = flags.testFlag(QNetworkInterface::IsLoopBack) || address.isLoopback();
        QStringList& group = found[loopback][protocol == QAbstractSocket::IPv6Protocol];
        const QString text = address.toString();
        if (!group.contains(text))
            group << text;
    }
    const QStringList others = found[0][0] + found[0][1];
    return others.isEmpty() ? found[1][0] + found[1][1] : others;
}

std::vector<InterfaceAddress> interfaceAddresses()
{
    std::vector<InterfaceAddress> addresses;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : interface.addressEntries())
            addresses.push_back({ entry.ip(), interface.flags() });
    }
    return addresses;
}
