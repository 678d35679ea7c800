#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <array>
#include <functional>
#include <random>

// Stands between two copies of the game as a slow or lossy link does: what each side sends
// is held back a few milliseconds and passed on in pieces cut anywhere, so that several
// sends arrive glued in one piece and one send arrives cut in two. A seed decides the delays
// and the cuts. It takes one connection on a loopback port of its own and makes one to the
// listening side.
class SlowLink : public QObject {
public:
    struct Settings {
        int minHoldMs = 1;
        int maxHoldMs = 10;
        unsigned seed = 1;
    };
    enum Direction { FromClient, FromServer };

    SlowLink(quint16 serverPort, const Settings& chosen)
        : settings(chosen)
        , random(chosen.seed)
    {
        listening.listen(QHostAddress::LocalHost, 0);
        connect(&listening, &QTcpServer::newConnection, this, [this, serverPort] {
            ends = { listening.nextPendingConnection(), new QTcpSocket(this) };
            ends[FromServer]->connectToHost(QHostAddress::LocalHost, serverPort);
            for (Direction from : { FromClient, FromServer }) {
                // Its pieces go out as they are cut, not as the acknowledgements allow.
                ends[from]->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                attach(from);
            }
        });
    }

    quint16 port() const { return listening.serverPort(); }

    // Each piece as it is passed on.
    std::function<void(Direction from, const QByteArray& piece)> passed;

private:
    struct Way {
        QByteArray held;
        QTimer timer;
        bool closing = false;
    };

    void attach(Direction from)
    {
        QTcpSocket* source = ends[from];
        Way& way = ways[from];
        way.timer.setSingleShot(true);
        connect(&way.timer, &QTimer::timeout, this, [this, from] { passOn(from); });
        connect(source, &QTcpSocket::readyRead, this, [this, from, source, &way] {
            way.held += source->readAll();
            if (!way.timer.isActive())
                way.timer.start(hold());
        });
        connect(source, &QTcpSocket::disconnected, this, [this, from, &way] {
            way.closing = true;
            if (!way.timer.isActive())
                passOn(from);
        });
    }

    // Passes the bytes held on, all of them or a piece cut at random; the rest follows later.
    void passOn(Direction from)
    {
        Way& way = ways[from];
        QTcpSocket* sink = ends[1 - from];
        if (!way.held.isEmpty()) {
            qsizetype length = way.held.size();
            if (!way.closing && length > 1 && random() % 2 == 0)
                length = 1 + static_cast<qsizetype>(random() % static_cast<unsigned>(length - 1));
            const QByteArray piece = way.held.left(length);
            way.held.remove(0, length);
            sink->write(piece);
            if (passed)
                passed(from, piece);
        }
        if (!way.held.isEmpty())
            way.timer.start(hold());
        else if (way.closing)
            sink->disconnectFromHost();
    }

    int hold()
    {
        return settings.minHoldMs
            + static_cast<int>(
                random() % static_cast<unsigned>(settings.maxHoldMs - settings.minHoldMs + 1));
    }

    Settings settings;
    std::mt19937 random;
    QTcpServer listening;
    std::array<QTcpSocket*, 2> ends {};
    std::array<Way, 2> ways;
};
