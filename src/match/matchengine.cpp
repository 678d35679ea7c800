#include "matchengine.h"

#include "controlids.h"
#include "peerlink.h"
#include "windowrequests.h"
#include "wintext.h"

#include "core/fleetrules.h"

#include <string>

namespace {

constexpr std::string_view newMatchTitle = "Redefinir novo jogo...";

// "1 cano." or "<n> canos.": a ship's length as the opponent's reply gave it.
std::string shipLength(char argument)
{
    if (argument == '1')
        return "1 cano.";
    return fromWindows1252(std::string_view(&argument, 1)) + " canos.";
}

} // namespace

MatchEngine::MatchEngine(WindowRequests& windowRequests, PeerLink& peerLink)
    : window(windowRequests)
    , peer(peerLink)
{
}

void MatchEngine::startNewMatch()
{
    if (state.phase != GamePhase::Idle)
        return;
    window.disableGeneratorControls();
    window.enableControl(IDC_HIDE_SHOW, false);
    state.phase = GamePhase::Placing;
    state.shotsThisTurn = 0;
    state.isShooter = true;
    state.cellsPlaced = 0;
    state.shotPending = false;
    openingVolley = true;
    results.clear();
    own.clear();
    enemy.clear();
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row)
            cover.setCell(column, row, CellCover);
    }
    window.setStatusText("Criar tabuleiro.");
    state.showOwnFleet = true;
    displayed = &own;
    window.setButtonCaption(IDC_HIDE_SHOW, "Ocultar");
    window.repaint();
    window.showGenerator(true);
    window.enableControl(IDC_RANDOMIZE, true);
    window.enableControl(IDC_ACCEPT, false);
    window.enableControl(IDC_GENERATOR_GROUP, true);

    if (earlyReady) {
        const bool randomized = *earlyReady;
        earlyReady.reset();
        opponentReady(randomized);
    }
}

void MatchEngine::declareReady(std::string_view message)
{
    state.phase = GamePhase::Ready;
    window.enableControl(IDC_HIDE_SHOW, true);
    if (!state.isShooter) {
        state.phase = GamePhase::Playing;
        window.setStatusText("Let the game BEGIN!\nA receber tiros.");
    } else {
        window.setStatusText("Jogo preenchido.A aguardar pelo outro jogador");
    }
    window.showGenerator(false);
    peer.sendToPeer(message);
    window.enableControl(IDC_RANDOMIZE, false);
    window.enableControl(IDC_ACCEPT, false);
    window.enableControl(IDC_GENERATOR_GROUP, false);
}

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

void MatchEngine::matchLost()
{
    sendToPeerGuarded(protocol::WinGameMessage);
    window.messageBox("O outro jogador ganhou. Carrege em OK para novo jogo.",
        "Melhor sorte para a próxima...", BoxIcon::None);
    ++peerWinCount;
    endMatch();
}

void MatchEngine::matchWon()
{
    window.messageBox("Ganhou o jogo. Carrege em OK para novo.", "BUM! he he he...", BoxIcon::None);
    ++myWinCount;
    endMatch();
}

// Runs once the end-of-match box is closed. The connection may have ended while it was
// open; the score still counts, but no new match starts without an opponent.
void MatchEngine::endMatch()
{
    window.showGenerator(true);
    state.phase = GamePhase::Idle;
    window.updateTitle(newMatchTitle, myWinCount, peerWinCount);
    if (!state.showOwnFleet)
        onHideShow();
    if (isConnected)
        startNewMatch();
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

void MatchEngine::sendToPeerGuarded(std::string_view message)
{
    state.sendPending = true;
    if (peer.sendToPeer(message) >= 0)
        return;
    window.messageBox(
        "Erro ao comunicar dados.Buffer underrun?", "Envio de mensagem", BoxIcon::Exclamation);
}

void MatchEngine::sendChatLine(std::string_view utf8Text)
{
    if (utf8Text.empty())
        return;
    if (peer.sendToPeer(protocol::formChat(utf8Text)) < 0)
        window.enableControl(IDC_SEND, false);
    window.addLogLine("<EU> " + std::string(utf8Text));
}

void MatchEngine::connectionOpened(bool listened)
{
    isConnected = true;
    listening = listened;
    reader.reset();
    earlyReady.reset();
    state.phase = GamePhase::Idle;
    startNewMatch();
    state.sendPending = false;
}

void MatchEngine::connectionClosed()
{
    isConnected = false;
    earlyReady.reset();
    reader.reset();
    state.phase = GamePhase::Idle;
}

void MatchEngine::onSendReady() { state.sendPending = false; }

void MatchEngine::resetScore()
{
    myWinCount = 0;
    peerWinCount = 0;
}

void MatchEngine::showPlacementPrompt()
{
    window.setStatusText("Coloque o cano " + std::to_string(state.cellsPlaced + 1));
}

// A left click on the own grid while placing: the cell under the cursor becomes a ship cell.
// The 25th cell runs the fleet rules; a legal fleet is declared, an illegal one loses the
// cell again.
void MatchEngine::placeCell()
{
    const int column = own.cursorColumn;
    const int row = own.cursorRow;
    if (own.getCell(column, row) != CellEmpty)
        return;
    own.setCell(column, row, CellShip);
    window.drawBoard(own);
    ++state.cellsPlaced;
    if (state.cellsPlaced < FleetCellCount) {
        showPlacementPrompt();
        return;
    }
    if (!validateFleet(own)) {
        --state.cellsPlaced;
        window.beep(BeepKind::Exclamation);
        window.setStatusText("Corrija o jogo...");
        own.setCell(column, row, CellEmpty);
        window.drawBoard(own);
        return;
    }
    declareReady(protocol::ReadyMessage);
    window.repaint();
}

void MatchEngine::removeCell()
{
    if (state.cellsPlaced == 0) {
        window.beep(BeepKind::Exclamation);
        return;
    }
    const int column = own.cursorColumn;
    const int row = own.cursorRow;
    if (own.getCell(column, row) != CellShip)
        return;
    --state.cellsPlaced;
    showPlacementPrompt();
    own.setCell(column, row, CellEmpty);
    // A generated fleet changed by hand is no longer the generator's to accept.
    window.enableControl(IDC_ACCEPT, false);
    window.drawBoard(own);
}

void MatchEngine::onRandomize()
{
    if (state.phase != GamePhase::Placing)
        return;
    generateFleet(own, randomSource);
    window.drawBoard(own);
    state.cellsPlaced = FleetCellCount;
    window.enableControl(IDC_ACCEPT, true);
}

void MatchEngine::onAcceptFleet()
{
    if (state.phase == GamePhase::Placing && state.cellsPlaced == FleetCellCount)
        declareReady(protocol::ReadyRandomizedMessage);
}

// Records which grid the pointer is over and keeps that grid's cursor on the cell under
// it, redrawing only the cell left and the cell entered. The enemy grid's cursor moves
// only during play.
void MatchEngine::onMouseMove(int x, int y)
{
    auto cellUnder = [x, y](const Board& board, int& column, int& row) {
        const int left = board.originX;
        const int top = board.originY;
        if (x <= left || x >= left + 250 || y <= top || y >= top + 250)
            return false;
        column = (x - left) / 25;
        row = (y - top) / 25;
        return true;
    };
    auto moveCursor = [this](Board& board, int column, int row) {
        if (board.cursorColumn == column && board.cursorRow == row)
            return;
        window.eraseCursor(board);
        board.setCursor(column, row);
        window.drawCursor(board);
    };

    state.mouseRegion = MouseRegion::None;
    int column = 0;
    int row = 0;
    if (cellUnder(*displayed, column, row)) {
        state.mouseRegion = MouseRegion::OwnGrid;
        moveCursor(*displayed, column, row);
    }
    if (cellUnder(enemy, column, row)) {
        state.mouseRegion = MouseRegion::EnemyGrid;
        if (state.phase == GamePhase::Playing)
            moveCursor(enemy, column, row);
    }
}

void MatchEngine::onLeftButtonDown()
{
    if (state.mouseRegion == MouseRegion::OwnGrid) {
        if (state.phase == GamePhase::Placing)
            placeCell();
        return;
    }
    fireShot();
}

void MatchEngine::onRightButtonDown()
{
    if (state.mouseRegion == MouseRegion::OwnGrid && state.phase == GamePhase::Placing)
        removeCell();
}

void MatchEngine::aimAt(int column, int row)
{
    onMouseMove(enemy.originX + 25 * column + 12, enemy.originY + 25 * row + 12);
}

// Hides the own fleet behind the cover board, or shows it again, with a fade between the
// two. Hiding is possible only once the fleet is declared; showing always is.
void MatchEngine::onHideShow()
{
    const bool hide = state.showOwnFleet
        && (state.phase == GamePhase::Ready || state.phase == GamePhase::Playing);
    if (hide) {
        state.showOwnFleet = false;
        window.setButtonCaption(IDC_HIDE_SHOW, "Mostrar");
        cover.setCursor(own.cursorColumn, own.cursorRow);
    } else {
        state.showOwnFleet = true;
        window.setButtonCaption(IDC_HIDE_SHOW, "Ocultar");
        own.setCursor(cover.cursorColumn, cover.cursorRow);
    }
    window.fadeOut(*displayed);
    displayed = state.showOwnFleet ? &own : &cover;
    window.fadeIn(*displayed);
    window.repaint();
}
