// The match in play: firing, the opponent's messages, shots and their replies, turns.

#include "matchengine.h"

#include "peerlink.h"
#include "windowrequests.h"
#include "wintext.h"

#include "core/fleetrules.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

// "1 cano." or "<n> canos.": a ship's length as the opponent's reply gave it. A reply cut
// short before its length shows "?".
std::string shipLength(char argument)
{
    if (argument == '1')
        return "1 cano.";
    if (argument == '\0')
        return "? canos.";
    return fromWindows1252(std::string_view(&argument, 1)) + " canos.";
}

} // namespace

bool MatchEngine::mayFire() const
{
    return state.phase == GamePhase::Playing && state.isShooter && !state.shotPending && !decided
        && enemyHits() < FleetCellCount;
}

// Once every cell of the opponent's fleet is hit the match is won, whatever the opponent
// has yet to say: a shot now would reach a side whose loss box may be open.
int MatchEngine::enemyHits() const
{
    return static_cast<int>(std::count(enemy.cells.begin(), enemy.cells.end(), CellShip));
}

bool MatchEngine::fireShot()
{
    if (state.mouseRegion != MouseRegion::EnemyGrid || !mayFire())
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
    for (const protocol::Message& message : reader.feed(bytes)) {
        peerHeard = true;
        act(message);
    }
}

void MatchEngine::showHeldChat()
{
    if (std::optional<protocol::Message> line = reader.showHeldChat()) {
        peerHeard = true;
        act(*line);
    }
}

// Each message is acted on in the order it arrived; the phase and turn conditions are
// tested as each one is reached, after the effects of the ones before it. Nothing is taken
// that the phase does not call for: no shot once the match is over or beyond the three of a
// turn, no reply without a shot of ours waiting for it, no win outside play or twice.
void MatchEngine::act(const protocol::Message& message)
{
    using protocol::MessageKind;
    const bool playing = state.phase == GamePhase::Playing && !decided;
    switch (message.kind) {
    case MessageKind::Chat:
        window.addLogLine("<ADV> " + message.text);
        break;
    case MessageKind::Shot:
        if (playing && !state.isShooter) {
            if (shotsAnswered < 3)
                incomingShot(message.first, message.second);
        } else if (playing && openingVolley) {
            // Both sides declared ready at once and both think they fire first: the shot
            // that arrives first takes the turn.
            yieldOpeningTurn();
            incomingShot(message.first, message.second);
        } else if (state.phase == GamePhase::Ready) {
            // The opponent fires, so it has declared too: its ready was lost (a chat line
            // glued before it reads as chat). It fires first.
            state.phase = GamePhase::Playing;
            yieldOpeningTurn();
            incomingShot(message.first, message.second);
        }
        break;
    case MessageKind::WinGame:
        if (playing)
            matchWon();
        break;
    case MessageKind::Reply:
    case MessageKind::Sunk:
        if (!playing)
            break;
        if (!state.isShooter && yieldedWithShot) {
            // Both gave the first turn up, each answering the other's shot: the listener
            // takes it back with its own shot answered, the other stays the target.
            yieldedWithShot = false;
            if (!listening)
                break;
            state.isShooter = true;
            state.shotPending = true;
            shotsAnswered = 0;
        }
        if (!state.isShooter || !state.shotPending)
            break;
        if (message.kind == MessageKind::Reply)
            shotReply(message.first);
        else
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

// A ready that comes while this side has no match under way (between matches, or while the
// end-of-match box is open) belongs to the next match. One that comes in mid-play only
// changes the status.
void MatchEngine::opponentReady(bool randomized)
{
    peerRandomized = randomized;
    if (state.phase == GamePhase::Idle || decided)
        earlyReady = randomized;
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

void MatchEngine::yieldOpeningTurn()
{
    yieldedWithShot = state.shotPending;
    state.isShooter = false;
    state.shotPending = false;
    state.shotsThisTurn = 0;
    shotsAnswered = 0;
    openingVolley = false;
    window.setStatusText("Let the game begin!\nA receber os tiros...");
}

void MatchEngine::incomingShot(char columnLetter, char rowDigit)
{
    ++shotsAnswered;
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
        shotsAnswered = 0;
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
    yieldedWithShot = false;
    state.isShooter = true;
    state.shotsThisTurn = 0;
    state.shotPending = false;
    window.setStatusText("A enviar tiro 1...");
}
