#include "strictpeer.h"

#include "match/protocol.h"

#include <algorithm>
#include <cstddef>

namespace {

// The character right behind a token, or the end of the text's zero.
char argumentAt(const std::string& text, std::size_t position)
{
    return position < text.size() ? text[position] : '\0';
}

} // namespace

StrictPeer::StrictPeer(PeerLink& link, const Settings& chosen)
    : peer(link)
    , settings(chosen)
    , random(chosen.seed)
{
}

void StrictPeer::connected(int now)
{
    phase = GamePhase::Idle;
    startNewMatch();
    matchStarted = now;
}

void StrictPeer::read(std::string_view bytes, int now)
{
    // A zero byte ends the text.
    recognise(std::string(bytes.substr(0, bytes.find('\0'))), 1, now);
}

// The searches in their fixed order, from `step` on, each over the whole text as the steps
// before left it. A match that ends opens a box: the rest waits for it to close.
void StrictPeer::recognise(std::string text, int step, int now)
{
    for (; step <= 7; ++step) {
        std::size_t at = std::string::npos;
        switch (step) {
        case 1:
            at = text.find(protocol::ChatToken);
            if (at != std::string::npos) {
                log.push_back("<ADV> " + text.substr(at + protocol::ChatToken.size()));
                text.clear();
            }
            break;
        case 2:
            at = text.find(protocol::ShotToken);
            if (at != std::string::npos && phase == GamePhase::Playing && !isShooter) {
                const std::size_t cell = at + protocol::ShotToken.size();
                const char column = argumentAt(text, cell);
                const char row = column == '\0' ? '\0' : argumentAt(text, cell + 1);
                text.clear();
                resolveShot(column, row);
                if (!own.holdsCode(CellShip)) {
                    peer.sendToPeer(protocol::WinGameMessage);
                    ++lossBoxes;
                    boxes.push_back({ now + settings.boxMs, false, text, step + 1 });
                    return;
                }
            }
            break;
        case 3:
            if (text.find(protocol::WinGameMessage) != std::string::npos) {
                ++winBoxes;
                boxes.push_back({ now + settings.boxMs, true, text, step + 1 });
                return;
            }
            break;
        case 4:
            at = text.find(protocol::ReplyToken);
            if (at != std::string::npos && phase == GamePhase::Playing && isShooter) {
                const char argument = argumentAt(text, at + protocol::ReplyToken.size());
                enemy.setCell(lastColumn, lastRow, argument == '*' ? CellWater : CellShip);
                endOfReply();
            }
            break;
        case 5:
            at = text.find(protocol::SunkToken);
            if (at != std::string::npos && phase == GamePhase::Playing && isShooter) {
                enemy.setCell(lastColumn, lastRow, CellShip);
                enemy.measureShip(lastColumn, lastRow, MarkWater);
                endOfReply();
            }
            break;
        case 6:
            if (text.find(protocol::ExchangeMachineMessage) != std::string::npos) {
                isShooter = true;
                shotsThisTurn = 0;
                shotPending = false;
            }
            break;
        case 7:
            // Ready: in play or between matches it only changes what the status says.
            if (text.find(protocol::ReadyMessage) != std::string::npos) {
                if (phase == GamePhase::Ready)
                    phase = GamePhase::Playing;
                if (isShooter && phase == GamePhase::Placing)
                    isShooter = false;
            }
            break;
        }
    }
}

void StrictPeer::resolveShot(char column, char row)
{
    const int c = column - 'A';
    const int r = row - '0';
    const std::uint8_t code = own.getCell(c, r);
    const bool hit = code == CellShip || code == CellHit;
    own.setCell(c, r, hit ? CellHit : CellWater);
    if (!hit) {
        peer.sendToPeer(protocol::formMiss());
        return;
    }
    const int length = own.measureShip(c, r, CountCells);
    const int unhit = own.measureShip(c, r, CountIntact);
    peer.sendToPeer(unhit > 0 ? protocol::formHit(length) : protocol::formSunk(length));
}

void StrictPeer::endOfReply()
{
    if (++shotsThisTurn == 3) {
        isShooter = false;
        shotsThisTurn = 0;
        peer.sendToPeer(protocol::ExchangeMachineMessage);
    }
    shotPending = false;
}

void StrictPeer::startNewMatch()
{
    if (phase != GamePhase::Idle)
        return;
    phase = GamePhase::Placing;
    shotsThisTurn = 0;
    isShooter = true;
    shotPending = false;
    chatSent = false;
    own.clear();
    enemy.clear();
}

void StrictPeer::declareReady()
{
    generateFleet(own, random);
    phase = GamePhase::Ready;
    if (!isShooter)
        phase = GamePhase::Playing;
    peer.sendToPeer(protocol::ReadyRandomizedMessage);
}

void StrictPeer::fire()
{
    std::vector<int> open;
    for (int index = 0; index < 100; ++index) {
        if (enemy.getCell(index / 10, index % 10) == CellEmpty)
            open.push_back(index);
    }
    if (open.empty())
        return;
    const int index = open[random() % open.size()];
    lastColumn = index / 10;
    lastRow = index % 10;
    peer.sendToPeer(protocol::formShot(lastColumn, lastRow));
    shotPending = true;
}

void StrictPeer::act(int now)
{
    // Boxes close innermost first; the read each one held up then goes on.
    while (!boxes.empty() && boxes.back().closesAt <= now) {
        const Box box = boxes.back();
        boxes.pop_back();
        phase = GamePhase::Idle;
        ++(box.won ? myWins : peerWins);
        startNewMatch();
        matchStarted = now;
        recognise(box.text, box.nextStep, now);
    }
    if (boxOpen() || matchStarted < 0)
        return;
    if (phase == GamePhase::Placing) {
        const int declareAt = matchStarted + settings.thinkMs;
        if (settings.chatBeforeReady && !chatSent && now >= declareAt - settings.chatLeadMs) {
            peer.sendToPeer("USER_MSG:pronto?");
            chatSent = true;
        }
        if (now >= declareAt)
            declareReady();
    } else if (phase == GamePhase::Playing && isShooter && !shotPending) {
        fire();
    }
}
