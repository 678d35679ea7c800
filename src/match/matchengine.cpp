#include "matchengine.h"

#include "peerlink.h"
#include "wintext.h"

#include "core/fleetrules.h"

#include <string>

namespace {

// A ship's length in a log line, as the opponent's reply gave it; a reply cut short before
// its length shows "?".
std::string lengthShown(char length)
{
    if (length == '\0')
        return "?";
    return fromWindows1252(std::string_view(&length, 1));
}

} // namespace

MatchEngine::MatchEngine(GameEvents& gameEvents, PeerLink& peerLink)
    : events(gameEvents)
    , peer(peerLink)
{
}

MatchState MatchEngine::matchState() const
{
    return { currentPhase, exchange.isShooter(), exchange.shotPending(), exchange.shotsThisTurn(),
        fleet.cellsPlaced(), showOwnFleet };
}

bool MatchEngine::wholeFleetReady() const
{
    return currentPhase == GamePhase::Placing && fleet.placedWhole();
}

bool MatchEngine::mayRepeatFleet() const
{
    return currentPhase == GamePhase::Placing && lastFleet.has_value();
}

void MatchEngine::setPhase(GamePhase phase)
{
    currentPhase = phase;
    events.phaseChanged(phase);
}

void MatchEngine::status(TextId id, std::string argument)
{
    events.statusChanged({ id, std::move(argument) });
}

// Everything of the last match is put away; the fleet is built anew.
void MatchEngine::startNewMatch()
{
    if (currentPhase != GamePhase::Idle)
        return;
    fleet = FleetBuilder {};
    exchange = ShotExchange {};
    cover.cells.fill(CellCover);
    showOwnFleet = true;
    decided = false;
    readyRepeated = false;
    ++matchCount;
    setPhase(GamePhase::Placing);
    status(TextId::BuildFleet);

    if (earlyReady) {
        const bool randomized = *earlyReady;
        earlyReady.reset();
        opponentReady(randomized);
    }
}

// The 25th cell runs the fleet rules: a legal fleet is declared, an illegal one loses the
// cell again.
void MatchEngine::setCell(GridCell cell)
{
    if (currentPhase != GamePhase::Placing)
        return;
    switch (fleet.set(cell)) {
    case FleetBuilder::Step::Ignored:
        return;
    case FleetBuilder::Step::Set:
        events.fleetChanged({ FleetChange::CellSet, cell, fleet.cellsPlaced() });
        status(TextId::PlaceCell, std::to_string(fleet.cellsPlaced() + 1));
        return;
    case FleetBuilder::Step::Refused:
        events.fleetChanged({ FleetChange::Refused, cell, fleet.cellsPlaced(), fleet.fault() });
        status(TextId::CorrectFleet);
        return;
    case FleetBuilder::Step::Complete:
        events.fleetChanged({ FleetChange::CellSet, cell, fleet.cellsPlaced() });
        declareReady(false);
        return;
    default:
        return;
    }
}

void MatchEngine::clearCell(GridCell cell)
{
    if (currentPhase != GamePhase::Placing)
        return;
    switch (fleet.clear(cell)) {
    case FleetBuilder::Step::NothingToClear:
        events.fleetChanged({ FleetChange::NothingToClear, cell, 0 });
        return;
    case FleetBuilder::Step::Cleared:
        status(TextId::PlaceCell, std::to_string(fleet.cellsPlaced() + 1));
        events.fleetChanged({ FleetChange::CellCleared, cell, fleet.cellsPlaced() });
        return;
    default:
        return;
    }
}

void MatchEngine::randomizeFleet()
{
    if (currentPhase != GamePhase::Placing)
        return;
    fleet.generate(randomSource);
    events.fleetChanged({ FleetChange::Generated, {}, fleet.cellsPlaced() });
}

void MatchEngine::repeatLastFleet()
{
    if (!mayRepeatFleet())
        return;
    fleet.repeat(*lastFleet, lastFleetGenerated);
    events.fleetChanged({ FleetChange::Repeated, {}, fleet.cellsPlaced() });
}

// The opponent hears whether the generator made the fleet, as when it was first declared.
void MatchEngine::acceptFleet()
{
    if (wholeFleetReady())
        declareReady(fleet.generated());
}

// The side that declares second goes straight into play as the target.
void MatchEngine::declareReady(bool randomized)
{
    if (exchange.isShooter()) {
        setPhase(GamePhase::Ready);
        status(TextId::WaitingForOpponent);
    } else {
        setPhase(GamePhase::Playing);
        status(TextId::BeginAsTarget);
    }
    lastFleet = fleet.board();
    lastFleetGenerated = randomized;
    peer.sendToPeer(randomized ? protocol::ReadyRandomizedMessage : protocol::ReadyMessage);
    events.readyDeclared(Side::Mine, randomized);
}

bool MatchEngine::openingShotUnanswered() const
{
    return currentPhase == GamePhase::Playing && !decided && exchange.isShooter()
        && exchange.openingVolley() && exchange.shotPending();
}

bool MatchEngine::firstShotAwaited() const
{
    return currentPhase == GamePhase::Playing && !decided && exchange.firstShotAwaited();
}

void MatchEngine::repeatReady()
{
    if (!(openingShotUnanswered() || firstShotAwaited()) || readyRepeated)
        return;
    readyRepeated = true;
    peer.sendToPeer(lastFleetGenerated ? protocol::ReadyRandomizedMessage : protocol::ReadyMessage);
}

bool MatchEngine::mayFire() const
{
    // Once every cell of the opponent's fleet is hit the match is won, whatever the
    // opponent has yet to say: a shot now would reach a side whose loss box may be open.
    return currentPhase == GamePhase::Playing && exchange.isShooter() && !exchange.shotPending()
        && !decided && exchange.enemyHits() < FleetCellCount;
}

FireResult MatchEngine::fireAt(GridCell cell)
{
    if (!Board::onGrid(cell))
        return FireResult::OffTheGrid;
    if (!mayFire())
        return FireResult::NotNow;
    if (exchange.enemy().getCell(cell) != CellEmpty) {
        events.shotRefused(cell);
        status(TextId::AimAtAnEmptyCell);
        return FireResult::AlreadyShot;
    }
    exchange.fire(cell);
    peer.sendToPeer(protocol::formShot(cell.column, cell.row));
    events.shotFired(cell);
    return FireResult::Fired;
}

// Hiding is possible only once the fleet is declared; showing always is.
void MatchEngine::toggleFleetShown()
{
    const bool declared = currentPhase == GamePhase::Ready || currentPhase == GamePhase::Playing;
    showOwnFleet = !(showOwnFleet && declared);
    events.fleetShown(showOwnFleet);
}

// Until its result is seen the match is over: no shot is fired or answered, and a ready
// from the opponent is kept for the next match.
void MatchEngine::decide(bool won)
{
    decided = true;
    unseenResult = won;
    if (!won)
        sendToPeerGuarded(protocol::WinGameMessage);
    events.matchDecided(won, matchCount);
}

// The result of a match that a new connection has since replaced changes nothing. The
// connection may have ended meanwhile; the score still counts, but no new match starts
// without an opponent.
void MatchEngine::matchResultSeen(int match)
{
    if (match != matchCount || !unseenResult)
        return;
    if (*unseenResult)
        ++wins.mine;
    else
        ++wins.opponents;
    unseenResult.reset();
    setPhase(GamePhase::Idle);
    events.scoreChanged(wins);
    if (!showOwnFleet)
        toggleFleetShown();
    if (isConnected)
        startNewMatch();
}

// A failed send is reported; the match goes on as if the message had gone.
void MatchEngine::sendToPeerGuarded(std::string_view message)
{
    if (peer.sendToPeer(message) < 0)
        events.sendFailed(false);
}

// The line as the opponent will read it: what Windows-1252 lacks goes out as '?', and a
// message's token gets a space.
std::size_t MatchEngine::sendChatLine(std::string_view utf8Text)
{
    const std::size_t length = protocol::chatThatFits(utf8Text);
    if (length == 0)
        return 0;
    const std::string message = protocol::formChat(utf8Text.substr(0, length));
    if (peer.sendToPeer(message) < 0) {
        events.sendFailed(true);
        return 0;
    }
    events.chatLine(
        Side::Mine, fromWindows1252(std::string_view(message).substr(protocol::ChatToken.size())));
    return length;
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
    const bool playing = currentPhase == GamePhase::Playing && !decided;
    switch (message.kind) {
    case MessageKind::Chat:
        events.chatLine(Side::Opponents, message.text);
        break;
    case MessageKind::Shot:
        if (playing && !exchange.isShooter()) {
            if (exchange.mayAnswer())
                incomingShot(message.first, message.second);
        } else if (playing && exchange.openingVolley()) {
            // Both sides declared ready at once and both think they fire first: the shot
            // that arrives first takes the turn.
            yieldOpeningTurn();
            incomingShot(message.first, message.second);
        } else if (currentPhase == GamePhase::Ready) {
            // The opponent fires, so it has declared too: its ready was lost (a chat line
            // glued before it reads as chat to a copy that reads chat to the end of a read).
            // It fires first.
            setPhase(GamePhase::Playing);
            yieldOpeningTurn();
            incomingShot(message.first, message.second);
        }
        break;
    case MessageKind::WinGame:
        if (playing)
            decide(true);
        break;
    case MessageKind::Reply:
    case MessageKind::Sunk: {
        if (!playing)
            break;
        const bool sunk = message.kind == MessageKind::Sunk;
        const Shot::Outcome outcome = sunk            ? Shot::Sunk
            : message.first == protocol::MissArgument ? Shot::Miss
                                                      : Shot::Hit;
        const char length = outcome == Shot::Miss ? '\0' : message.first;
        if (!exchange.isShooter() && exchange.yieldedWithShot()) {
            // Both gave the first turn up, each answering the other's shot: the listener
            // takes it back with its own shot answered, the other stays the target. Its
            // shot was answered on the listener's fleet all the same, so it is marked.
            if (!listening) {
                exchange.yieldedShotReplied(outcome, length);
                showReply();
                break;
            }
            exchange.takeBackOpeningTurn();
        }
        if (exchange.isShooter() && exchange.shotPending())
            reply(outcome, length);
        break;
    }
    case MessageKind::ExchangeMachine:
        // Only a target at play is handed the turn. A shooter whose third shot won sends its
        // hand-over before it learns of the win, so the hand-over reaches the loser in the
        // next match, where it must not make that side the shooter.
        if (playing && !exchange.isShooter())
            turnReceived();
        break;
    case MessageKind::Ready:
        opponentReady(message.randomized);
        break;
    }
}

// A ready that comes while this side has no match under way (between matches, or while the
// end of the last one is on screen) belongs to the next match. One that comes in mid-play
// only changes the status.
void MatchEngine::opponentReady(bool randomized)
{
    peerRandomized = randomized;
    if (currentPhase == GamePhase::Idle || decided)
        earlyReady = randomized;
    status(randomized ? TextId::OpponentReadyRandomized : TextId::OpponentReady);
    if (currentPhase == GamePhase::Ready) {
        setPhase(GamePhase::Playing);
        status(TextId::BeginAsShooter);
    }
    if (exchange.isShooter() && currentPhase == GamePhase::Placing)
        exchange.opponentFiresFirst();
    events.readyDeclared(Side::Opponents, randomized);
}

void MatchEngine::yieldOpeningTurn()
{
    exchange.yieldOpeningTurn();
    status(TextId::BeginAsTargetAfterAll);
}

// A letter or digit out of range names a cell off the grid, which holds no ship.
void MatchEngine::incomingShot(char columnLetter, char rowDigit)
{
    Board& own = fleet.board();
    const Shot shot = exchange.receive({ columnLetter - 'A', rowDigit - '0' }, own, cover);
    if (shot.outcome == Shot::Miss)
        sendToPeerGuarded(protocol::formMiss());
    else if (shot.outcome == Shot::Hit)
        sendToPeerGuarded(protocol::formHit(shot.length - '0'));
    else
        sendToPeerGuarded(protocol::formSunk(shot.length - '0'));
    events.shotAnswered(shot);
    if (!own.holdsCode(CellShip))
        decide(false);
}

// The reply to this side's shot; after the third of a turn the turn passes.
void MatchEngine::reply(Shot::Outcome outcome, char length)
{
    const bool turnOver = exchange.replied(outcome, length);
    showReply();
    if (turnOver) {
        status(TextId::ReceivingShots);
        sendToPeerGuarded(protocol::ExchangeMachineMessage);
    } else {
        status(TextId::FiringShot, std::to_string(exchange.shotsThisTurn() + 1));
    }
}

// The log line and the event of the last reply marked.
void MatchEngine::showReply()
{
    const Shot& shot = exchange.results().back();
    if (shot.outcome != Shot::Miss) {
        const bool one = shot.length == '1';
        const TextId line = shot.outcome == Shot::Hit
            ? (one ? TextId::HitShipOfOne : TextId::HitShip)
            : (one ? TextId::SunkShipOfOne : TextId::SunkShip);
        events.logLine({ line, one ? std::string() : lengthShown(shot.length) });
    }
    events.shotAnswered(shot);
}

void MatchEngine::turnReceived()
{
    exchange.takeTurn();
    status(TextId::FiringFirstShot);
}

void MatchEngine::connectionOpened(bool listened)
{
    isConnected = true;
    peerHeard = false;
    listening = listened;
    reader.reset();
    earlyReady.reset();
    currentPhase = GamePhase::Idle;
    startNewMatch();
}

void MatchEngine::connectionClosed()
{
    showHeldChat(); // the opponent's last words
    isConnected = false;
    earlyReady.reset();
    reader.reset();
    setPhase(GamePhase::Idle);
}

void MatchEngine::resetScore() { wins = {}; }
