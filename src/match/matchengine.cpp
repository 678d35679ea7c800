#include "matchengine.h"

#include "controlids.h"
#include "peerlink.h"
#include "windowrequests.h"
#include "wintext.h"

#include <string>

namespace {

constexpr std::string_view newMatchTitle = "Redefinir novo jogo...";

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
    ++matchNumber;
    decided = false;
    shotsAnswered = 0;
    openingVolley = true;
    yieldedWithShot = false;
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

// The box opens and the engine goes on reading: until it is closed the match is over, no
// shot is fired or answered, and a ready from the opponent is kept for the next match.
void MatchEngine::matchLost()
{
    decided = true;
    sendToPeerGuarded(protocol::WinGameMessage);
    window.messageBox("O outro jogador ganhou. Carrege em OK para novo jogo.",
        "Melhor sorte para a próxima...", BoxIcon::None,
        [this, match = matchNumber] { afterMatchBox(false, match); });
}

void MatchEngine::matchWon()
{
    decided = true;
    window.messageBox("Ganhou o jogo. Carrege em OK para novo.", "BUM! he he he...", BoxIcon::None,
        [this, match = matchNumber] { afterMatchBox(true, match); });
}

// The box of a match that a new connection has since replaced changes nothing.
void MatchEngine::afterMatchBox(bool won, int match)
{
    if (match != matchNumber)
        return;
    if (won)
        ++myWinCount;
    else
        ++peerWinCount;
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

// A failed send warns once: while its box is open, further failures add nothing to it.
void MatchEngine::sendToPeerGuarded(std::string_view message)
{
    state.sendPending = true;
    if (peer.sendToPeer(message) >= 0 || failureBoxOpen)
        return;
    failureBoxOpen = true;
    window.messageBox("Erro ao comunicar dados.Buffer underrun?", "Envio de mensagem",
        BoxIcon::Exclamation, [this] { failureBoxOpen = false; });
}

void MatchEngine::sendChatLine(std::string_view utf8Text)
{
    if (utf8Text.empty())
        return;
    const std::string message = protocol::formChat(utf8Text);
    if (peer.sendToPeer(message) < 0)
        window.enableControl(IDC_SEND, false);
    // The line as the opponent will read it: what Windows-1252 lacks went out as '?'.
    window.addLogLine(
        "<EU> " + fromWindows1252(std::string_view(message).substr(protocol::ChatToken.size())));
}

void MatchEngine::connectionOpened(bool listened)
{
    isConnected = true;
    peerHeard = false;
    listening = listened;
    reader.reset();
    earlyReady.reset();
    state.phase = GamePhase::Idle;
    startNewMatch();
    state.sendPending = false;
}

void MatchEngine::connectionClosed()
{
    showHeldChat(); // the opponent's last words
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
