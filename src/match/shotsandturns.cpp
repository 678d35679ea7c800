// The match in play: firing, the opponent's messages, shots and their replies, turns.

#include "matchengine.h"

#include "peerlink.h"
#include "windowrequests.h"
#include "wintext.h"

#include <string>

namespace {

// "1 cano." or "<n> canos.": a ship's length as the opponent's reply gave it.
std::string shipLength(char argument)
{
    if (argument == '1')
        return "1 cano.";
    return fromWindows1252(std::string_view(&argument, 1)) + " canos.";
}

} // namespace

bool MatchEngine::fireShot()
{
    if (state.mouseRegion != MouseRegion::EnemyGrid || state.phase != GamePhase::Playing
        || !state.isShooter || state.shotPending)
        return false;
    state.lastShotCol = static_cast<std::uint8_t>(enemy.cursorColumn);
    state.lastShotRow = static_cast<std::uint8_t>(enemy.cursorRow);
    if (enemy.getCell(state.lastShotCol, state.lastShotRow) != CellEmpty) {
        window.beep(BeepKind::Error);
        window.setStatusText("Aponte num local vazio...para não repetir tiros!");
        return true;
    }
    peer.sendToPeer(protocol::formShot(state.lastShotCol, state.lastShotRow));
    state.shotPending = true;
    return false;
}

void MatchEngine::onPeerData(std::string_view bytes)
{
    for (const protocol::Message& message : reader.feed(bytes))
        act(message);
}

// Each message is acted on in the order it arrived; the phase and turn conditions are
// tested as each one is reached, after the effects of the ones before it.
void MatchEngine::act(const protocol::Message& message)
{
    using protocol::MessageKind;
    const bool playing = state.phase == GamePhase::Playing;
    switch (message.kind) {
    case MessageKind::Chat:
        window.addLogLine("<ADV> " + message.text);
        break;
    case MessageKind::Shot:
        if (playing && !state.isShooter) {
            incomingShot(message.first, message.second);
        } else if (playing && openingVolley && !listening) {
            // Both sides declared ready at once and both think they fire first. The side
            // that listened keeps the first turn; this side yields and answers.
            state.isShooter = false;
            state.shotPending = false;
            state.shotsThisTurn = 0;
            openingVolley = false;
            window.setStatusText("Let the game begin!\nA receber os tiros...");
            incomingShot(message.first, message.second);
        }
        break;
    case MessageKind::WinGame:
        matchWon();
        break;
    case MessageKind::Reply:
        if (playing && state.isShooter)
            shotReply(message.first);
        break;
    case MessageKind::Sunk:
        if (playing && state.isShooter)
            sunkReply(message.first);
        break;
    case MessageKind::ExchangeMachine:
        // Only a target at play is handed the turn. A shooter whose third shot won sends its
        // hand-over before it learns of the win, so the hand-over reaches the loser in the
        // next match, where it must not make that side the shooter.
        if (playing && !state.isShooter)
            turnReceived();
        break;
    case MessageKind::Ready:
        opponentReady(message.randomized);
        break;
    }
}

void MatchEngine::opponentReady(bool randomized)
{
    peerRandomized = randomized;
    if (state.phase == GamePhase::Idle || state.phase == GamePhase::Playing) {
        // The opponent has already started the next match: remember its ready for ours.
        earlyReady = randomized;
    }
    window.setStatusText(randomized ? "O outro jogador randomizou o jogo e está pronto."
                                    : "O outro jogador está pronto.");
    if (state.phase == GamePhase::Ready) {
        state.phase = GamePhase::Playing;
        window.showGenerator(false);
        window.setStatusText("Let the game begin!\nPode atirar.");
    }
    if (state.isShooter && state.phase == GamePhase::Placing)
        state.isShooter = false;
    window.repaint();
    window.beep(BeepKind::Default);
}

void MatchEngine::incomingShot(char columnLetter, char rowDigit)
{
    const int column = columnLetter - 'A';
    const int row = rowDigit - '0';
    const std::uint8_t code = own.getCell(column, row);
    const bool hit = code == CellShip || code == CellHit;
    own.setCell(column, row, hit ? CellHit : CellWater);
    cover.setCell(column, row, hit ? CellHit : CellWater);
    if (hit) {
        const int length = own.measureShip(column, row, CountCells);
        const int unhit = own.measureShip(column, row, CountIntact);
        sendToPeerGuarded(unhit > 0 ? protocol::formHit(length) : protocol::formSunk(length));
        window.flashHit(*displayed);
    } else {
        sendToPeerGuarded(protocol::formMiss());
    }
    window.repaint();
    if (!own.holdsCode(CellShip))
        matchLost();
}

void MatchEngine::shotReply(char argument)
{
    openingVolley = false;
    const bool miss = argument == protocol::MissArgument;
    results.push_back({ state.lastShotCol, state.lastShotRow,
        miss ? ShotResult::Miss : ShotResult::Hit, miss ? '\0' : argument });
    if (miss) {
        enemy.setCell(state.lastShotCol, state.lastShotRow, CellWater);
    } else {
        enemy.setCell(state.lastShotCol, state.lastShotRow, CellShip);
        window.addLogLine("<CPU> Acertou num barco de " + shipLength(argument));
    }
    window.repaint();
    advanceTurn();
    state.shotPending = false;
}

void MatchEngine::sunkReply(char argument)
{
    openingVolley = false;
    results.push_back({ state.lastShotCol, state.lastShotRow, ShotResult::Sunk, argument });
    window.addLogLine("<CPU> Afundou um barco de " + shipLength(argument));
    enemy.setCell(state.lastShotCol, state.lastShotRow, CellShip);
    enemy.measureShip(state.lastShotCol, state.lastShotRow, MarkWater);
    window.repaint();
    advanceTurn();
    state.shotPending = false;
}

void MatchEngine::advanceTurn()
{
    ++state.shotsThisTurn;
    if (state.shotsThisTurn == 3) {
        state.isShooter = false;
        state.shotsThisTurn = 0;
        window.setStatusText("A receber tiros do adversario.");
        sendToPeerGuarded(protocol::ExchangeMachineMessage);
    } else {
        window.setStatusText(
            "A enviar tiro " + std::string(1, static_cast<char>('1' + state.shotsThisTurn)) + " .");
    }
}

void MatchEngine::turnReceived()
{
    openingVolley = false;
    state.isShooter = true;
    state.shotsThisTurn = 0;
    state.shotPending = false;
    window.setStatusText("A enviar tiro 1...");
}
