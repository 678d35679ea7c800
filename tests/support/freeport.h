#pragma once

#include <QTcpServer>

// A loopback port that nothing listens on: taken from the system and let go at once, so an
// attempt to connect there is refused. 0 if no port could be taken.
inline quint16 portNobodyListensOn()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort(); // closed as it goes
}
