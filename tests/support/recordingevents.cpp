#include "recordingevents.h"

#include "match/matchengine.h"

#include <algorithm>
#include <array>

std::string_view textName(TextId id)
{
    static constexpr std::array<std::string_view, TextCount> names { "BuildFleet", "PlaceCell",
        "CorrectFleet", "WaitingForOpponent", "BeginAsTarget", "OpponentReady",
        "OpponentReadyRandomized", "BeginAsShooter", "BeginAsTargetAfterAll", "AimAtAnEmptyCell",
        "ReceivingShots", "FiringShot", "FiringFirstShot", "HitShipOfOne", "HitShip",
        "SunkShipOfOne", "SunkShip", "MyChat", "PeerChat", "ProbeCameAndWent", "LostText",
        "LostCaption", "WonText", "WonCaption", "SendFailedText", "SendFailedCaption", "Listening",
        "ListeningOnPort", "ListenFailedText", "ListenFailedCaption", "CheckServerSettings",
        "Connecting", "ConnectFailedText", "ConnectFailedCaption", "CheckNetworkSettings",
        "ClosedByUs", "ClosedByPeer", "AnotherPlayerTried", "ThisComputersAddresses",
        "PortOutOfRange", "ConnectionRefused", "HostNotFound", "ConnectionTimedOut", "PortInUse",
        "PermissionDenied", "NetworkUnreachable", "HostUnreachable", "ServerTitle", "ClientTitle",
        "ClosedTitle", "NewMatchTitle", "Hide", "Show", "Listen", "Connect" };
    return names[static_cast<std::size_t>(id)];
}

namespace {

std::string written(const Text& text)
{
    std::string line(textName(text.id));
    for (const std::string* argument : { &text.argument, &text.secondArgument }) {
        if (!argument->empty())
            line += " " + *argument;
    }
    return line;
}

std::string written(GridCell cell)
{
    return "(" + std::to_string(cell.column) + "," + std::to_string(cell.row) + ")";
}

const char* sideName(Side side) { return side == Side::Mine ? "mine" : "opponent's"; }

} // namespace

void RecordingEvents::record(std::string line) { transcript.push_back(std::move(line)); }

int RecordingEvents::hitsTaken() const
{
    return static_cast<int>(std::ranges::count_if(answered, [](const Shot& shot) {
        return shot.shooter == Side::Opponents && shot.outcome != Shot::Miss;
    }));
}

void RecordingEvents::phaseChanged(GamePhase phase)
{
    phases.push_back(phase);
    static constexpr const char* names[] = { "idle", "placing", "ready", "playing" };
    record(std::string("phase ") + names[static_cast<int>(phase)]);
}

void RecordingEvents::fleetChanged(const FleetChange& change)
{
    fleetChanges.push_back(change);
    static constexpr const char* kinds[]
        = { "cell set", "cell cleared", "generated", "refused", "nothing to clear", "repeated" };
    record(std::string("fleet ") + kinds[change.kind] + " " + written(change.cell) + " "
        + std::to_string(change.cellsPlaced)
        + (change.fault != FleetFault::None
                ? " fault " + std::to_string(static_cast<int>(change.fault))
                : std::string()));
}

void RecordingEvents::readyDeclared(Side side, bool randomized)
{
    readies.emplace_back(side, randomized);
    record(std::string("ready ") + sideName(side) + (randomized ? " randomized" : ""));
}

void RecordingEvents::shotFired(GridCell cell)
{
    fired.push_back(cell);
    record("fired " + written(cell));
}

void RecordingEvents::shotRefused(GridCell cell)
{
    refused.push_back(cell);
    record("refused " + written(cell));
}

void RecordingEvents::shotAnswered(const Shot& shot)
{
    answered.push_back(shot);
    static constexpr const char* outcomes[] = { "miss", "hit", "sunk" };
    record(std::string("answered ") + sideName(shot.shooter) + " " + written(shot.cell) + " "
        + outcomes[shot.outcome] + (shot.length ? std::string(" ") + shot.length : ""));
}

void RecordingEvents::matchDecided(bool won, int match)
{
    results.push_back(won);
    record(won ? "won" : "lost");
    if (holdResults) {
        unseenResults.push_back(match);
        return;
    }
    if (duringResult)
        duringResult();
    if (engine != nullptr)
        engine->matchResultSeen(match);
}

void RecordingEvents::showResult()
{
    if (unseenResults.empty())
        return;
    const int match = unseenResults.front();
    unseenResults.pop_front();
    record("result seen");
    if (engine != nullptr)
        engine->matchResultSeen(match);
}

void RecordingEvents::scoreChanged(const Score& score)
{
    scores.push_back(score);
    record("score " + std::to_string(score.mine) + " " + std::to_string(score.opponents));
}

void RecordingEvents::fleetShown(bool shown)
{
    fleetShownChanges.push_back(shown);
    record(shown ? "fleet shown" : "fleet hidden");
}

void RecordingEvents::chatLine(Side side, const std::string& text)
{
    log.push_back({ side == Side::Mine ? TextId::MyChat : TextId::PeerChat, text });
    record("log " + written(log.back()));
}

void RecordingEvents::sendFailed(bool chat)
{
    ++(chat ? chatSendFailures : sendFailures);
    record(chat ? "chat send failed" : "send failed");
}

void RecordingEvents::sendResumed()
{
    ++resumed;
    record("send resumed");
}

void RecordingEvents::statusChanged(const Text& text)
{
    status = text;
    statusSet = true;
    record("status " + written(text));
}

void RecordingEvents::logLine(const Text& line)
{
    log.push_back(line);
    record("log " + written(line));
}

void RecordingEvents::connectionChanged(const ConnectionChange& change)
{
    connections.push_back(change);
    static constexpr const char* states[] = { "closed", "listening", "connecting", "open" };
    static constexpr const char* reasons[]
        = { "asked", "peer closed", "listen failed", "connect failed", "probe" };
    record(std::string("connection ") + states[change.state] + " (" + reasons[change.reason]
        + (change.listened ? ", listened" : "") + ")");
}
