#include "autoplayer.h"

#include "matchengine.h"

AutoPlayer::AutoPlayer(MatchEngine& matchEngine, std::unique_ptr<ShotPlanner> shotPlanner)
    : engine(matchEngine)
    , planner(std::move(shotPlanner))
{
}

AutoPlayer::Move AutoPlayer::nextMove() const
{
    if (engine.phase() == GamePhase::Placing)
        return Move::DeclareFleet;
    if (engine.mayFire())
        return Move::Fire;
    return Move::None;
}

bool AutoPlayer::waitsForOpponent() const
{
    const bool afterAMatch = engine.myWins() + engine.peerWins() > 0;
    return nextMove() == Move::DeclareFleet && afterAMatch && engine.matchState().isShooter;
}

AutoPlayer::Move AutoPlayer::play()
{
    switch (nextMove()) {
    case Move::DeclareFleet:
        engine.randomizeFleet();
        engine.acceptFleet();
        return Move::DeclareFleet;
    case Move::Fire:
        return fire() ? Move::Fire : Move::NoCellLeft;
    case Move::None:
    case Move::NoCellLeft:
        break;
    }
    return Move::None;
}

std::vector<ShotReport> AutoPlayer::shotReports() const
{
    std::vector<ShotReport> reports;
    reports.reserve(engine.shotResults().size());
    for (const Shot& result : engine.shotResults()) {
        ShotReport report;
        report.cell = result.cell;
        report.kind = result.outcome == Shot::Miss ? ShotReport::Miss
            : result.outcome == Shot::Hit          ? ShotReport::Hit
                                                   : ShotReport::Sunk;
        // The length travels as a digit; anything else names no ship of the fleet.
        if (report.kind != ShotReport::Miss && result.length >= '1'
            && result.length <= '0' + LongestShip)
            report.length = result.length - '0';
        reports.push_back(report);
    }
    return reports;
}

// Fires at the planner's cell, as a person's click does. The engine refuses a cell already
// shot, which a planner never chooses.
bool AutoPlayer::fire()
{
    const std::vector<ShotReport> reports = shotReports();
    const FiringView view { engine.enemyBoard(), reports, engine.peerFleetRandomized() };
    const std::optional<GridCell> cell = planner->chooseShot(view, engine.random());
    return cell && engine.fireAt(*cell) == FireResult::Fired;
}
