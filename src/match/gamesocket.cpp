#include "gamesocket.h"

GameSocket::GameSocket(GameSession& session)
    : owner(session)
{
}
