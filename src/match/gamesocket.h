#pragma once

#include <QObject>

class GameSession;

// A listening or a connected TCP socket that reports to its owner's connection handlers.
class GameSocket : public QObject {
    Q_OBJECT

public:
    explicit GameSocket(GameSession& owner);

private:
    GameSession& owner;
};
