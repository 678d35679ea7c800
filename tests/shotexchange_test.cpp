// The fleet being built and the exchange of shots, each on its own.

#include "enginepair.h"

#include "match/fleetbuilder.h"
#include "match/shotexchange.h"

#include <gtest/gtest.h>

namespace {

TEST(FleetBuilder, CountsCellsJudgesTheTwentyFifthAndKnowsAGeneratedFleet)
{
    using Step = FleetBuilder::Step;
    FleetBuilder fleet;
    EXPECT_EQ(fleet.clear({ 0, 0 }), Step::NothingToClear);
    for (std::size_t i = 0; i + 1 < handFleet.size(); ++i)
        EXPECT_EQ(fleet.set({ handFleet[i].first, handFleet[i].second }), Step::Set);
    EXPECT_EQ(fleet.set({ 1, 1 }), Step::Ignored) << "a cell set already";
    EXPECT_EQ(fleet.set({ 10, 0 }), Step::Ignored) << "off the grid";
    EXPECT_EQ(fleet.clear({ 0, 0 }), Step::Ignored) << "no ship there";
    // The last single beside the T's bar: two ships touch, and the cell goes again.
    EXPECT_EQ(fleet.set({ 0, 0 }), Step::Refused);
    EXPECT_EQ(fleet.fault(), FleetFault::ShipsTouch);
    EXPECT_EQ(fleet.board().getCell(0, 0), CellEmpty);
    EXPECT_EQ(fleet.cellsPlaced(), 24);
    EXPECT_EQ(fleet.set({ handFleet.back().first, handFleet.back().second }), Step::Complete);
    EXPECT_TRUE(fleet.complete());
    EXPECT_FALSE(fleet.generated());

    RandomSource random(3);
    fleet.generate(random);
    EXPECT_TRUE(fleet.complete() && fleet.generated());
    const auto cells = fleet.board().cells;
    EXPECT_EQ(std::count(cells.begin(), cells.end(), CellShip), 25);
    const auto ship = std::find(cells.begin(), cells.end(), CellShip) - cells.begin();
    EXPECT_EQ(
        fleet.clear({ static_cast<int>(ship / 10), static_cast<int>(ship % 10) }), Step::Cleared);
    EXPECT_FALSE(fleet.generated()) << "changed by hand";
}

TEST(ShotExchange, MarksRepliesCountsTurnsAndAnswersShots)
{
    ShotExchange exchange;
    EXPECT_TRUE(exchange.isShooter() && exchange.openingVolley());
    exchange.fire({ 4, 4 });
    EXPECT_TRUE(exchange.shotPending());
    EXPECT_FALSE(exchange.replied(Shot::Miss, '\0'));
    EXPECT_FALSE(exchange.openingVolley());
    EXPECT_EQ(exchange.enemy().getCell(4, 4), CellWater);
    exchange.fire({ 0, 0 });
    EXPECT_FALSE(exchange.replied(Shot::Hit, '2'));
    exchange.fire({ 0, 1 });
    EXPECT_TRUE(exchange.replied(Shot::Sunk, '2')) << "the third shot passes the turn";
    EXPECT_FALSE(exchange.isShooter() || exchange.shotPending());
    EXPECT_EQ(exchange.enemyHits(), 2);
    EXPECT_EQ(exchange.enemy().getCell(1, 1), CellWater) << "water around the ship sunk";
    EXPECT_EQ(exchange.results().back(), (Shot { Side::Mine, { 0, 1 }, Shot::Sunk, '2' }));

    Board own;
    Board cover;
    own.setCell(2, 2, CellShip);
    own.setCell(2, 3, CellShip);
    EXPECT_EQ(exchange.receive({ 2, 2 }, own, cover),
        (Shot { Side::Opponents, { 2, 2 }, Shot::Hit, '2' }));
    EXPECT_EQ(cover.getCell(2, 2), CellHit);
    EXPECT_EQ(exchange.receive({ 2, 3 }, own, cover).outcome, Shot::Sunk);
    EXPECT_EQ(exchange.receive({ 10, 2 }, own, cover).outcome, Shot::Miss) << "off the grid";
    EXPECT_FALSE(exchange.mayAnswer()) << "three shots a turn";
    exchange.takeTurn();
    EXPECT_TRUE(exchange.isShooter());
    EXPECT_EQ(exchange.shotsThisTurn(), 0);
    for (int column = 5; column < 8; ++column) {
        exchange.fire({ column, 9 });
        exchange.replied(Shot::Miss, '\0');
    }
    EXPECT_TRUE(exchange.mayAnswer()) << "the opponent's turn is counted afresh";

    // Both fire first: one side yields with its shot unanswered, and may take the turn back.
    ShotExchange crossed;
    crossed.fire({ 5, 5 });
    crossed.yieldOpeningTurn();
    EXPECT_TRUE(crossed.yieldedWithShot());
    EXPECT_FALSE(crossed.isShooter() || crossed.shotPending());
    crossed.takeBackOpeningTurn();
    EXPECT_TRUE(crossed.isShooter() && crossed.shotPending() && !crossed.yieldedWithShot());
}

} // namespace
