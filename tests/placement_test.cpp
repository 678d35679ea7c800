#include "enginepair.h"

#include "net/gametexts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A text as the window shows it in Portuguese.
std::string said(const Text& text) { return gameText(text).toStdString(); }

using Cells = std::vector<std::pair<int, int>>;

Cells shipCells(const Board& board)
{
    Cells cells;
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 10; ++row) {
            if (board.getCell(column, row) == CellShip)
                cells.emplace_back(column, row);
        }
    }
    return cells;
}

std::pair<int, int> firstEmpty(const Board& board)
{
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 10; ++row) {
            if (board.getCell(column, row) == CellEmpty)
                return { column, row };
        }
    }
    return { -1, -1 };
}

class Placement : public testing::Test {
protected:
    void SetUp() override { side.engine.connectionOpened(false); }

    MatchState state() const { return side.engine.matchState(); }

    EngineSide side;
};

TEST_F(Placement, EachCellPromptsForTheNextAndALegalFleetIsDeclared)
{
    for (std::size_t i = 0; i + 1 < handFleet.size(); ++i) {
        clickOwnCell(side.engine, handFleet[i].first, handFleet[i].second);
        EXPECT_EQ(said(side.events.status), "Coloque o cano " + std::to_string(i + 2));
        EXPECT_EQ(state().cellsPlaced, i + 1);
    }
    clickOwnCell(side.engine, handFleet.back().first, handFleet.back().second);
    EXPECT_EQ(side.link.sent, std::vector<std::string> { "$READY$" });
    EXPECT_EQ(state().phase, GamePhase::Ready);
    EXPECT_EQ(state().cellsPlaced, 25);
}

TEST_F(Placement, AnIllegalTwentyFifthCellIsTakenBack)
{
    // The T of five laid straight instead.
    Cells fleet = handFleet;
    fleet.erase(fleet.begin(), fleet.begin() + 5);
    for (int row = 0; row < 5; ++row)
        fleet.emplace_back(2, row);
    std::rotate(fleet.begin(), fleet.end() - 5, fleet.end());
    placeFleetByHand(side.engine, fleet);
    EXPECT_TRUE(side.link.sent.empty());
    EXPECT_EQ(said(side.events.status), "Corrija o jogo...");
    ASSERT_EQ(side.events.fleetChanges.back().kind, FleetChange::Refused); // a warning beep
    EXPECT_EQ(side.events.fleetChanges.back().fault, FleetFault::FiveNotATee);
    EXPECT_EQ(state().cellsPlaced, 24);
    EXPECT_EQ(state().phase, GamePhase::Placing);
    const auto [lastColumn, lastRow] = fleet.back();
    EXPECT_EQ(side.engine.ownBoard().getCell(lastColumn, lastRow), CellEmpty);
    EXPECT_EQ(shipCells(side.engine.ownBoard()).size(), 24u);
}

TEST_F(Placement, ATeeAlongTheLastColumnIsAccepted)
{
    // The bar along column 9, the stem pointing left.
    const Cells fleet { { 9, 0 }, { 9, 1 }, { 9, 2 }, { 8, 1 }, { 7, 1 }, { 0, 0 }, { 2, 0 },
        { 0, 2 }, { 1, 2 }, { 2, 2 }, { 3, 2 }, { 0, 4 }, { 1, 4 }, { 2, 4 }, { 5, 4 }, { 6, 4 },
        { 7, 4 }, { 0, 6 }, { 1, 6 }, { 4, 6 }, { 5, 6 }, { 8, 6 }, { 9, 6 }, { 0, 9 }, { 5, 9 } };
    placeFleetByHand(side.engine, fleet);
    EXPECT_EQ(side.link.sent, std::vector<std::string> { "$READY$" });
}

TEST_F(Placement, ClicksThatChangeNothingAreSilent)
{
    clickOwnCell(side.engine, 4, 4, true); // nothing placed yet: only a warning beep
    EXPECT_EQ(side.events.fleetChanges,
        (std::vector { FleetChange { FleetChange::NothingToClear, { 4, 4 }, 0 } }));
    clickOwnCell(side.engine, 4, 4);
    const auto status = said(side.events.status);
    side.events.transcript.clear();
    clickOwnCell(side.engine, 4, 4); // already a ship cell
    clickOwnCell(side.engine, 5, 5, true); // an empty cell
    // And cells off the grid (the window never gives them) neither.
    side.engine.setCell({ 10, 3 });
    side.engine.clearCell({ -1, 0 });
    EXPECT_EQ(side.events.transcript, std::vector<std::string> {});
    EXPECT_EQ(state().cellsPlaced, 1);
    EXPECT_EQ(said(side.events.status), status);
}

TEST_F(Placement, RemovingACellOfAGeneratedFleetAndSettingItAgain)
{
    side.engine.randomizeFleet();
    EXPECT_EQ(state().cellsPlaced, 25);
    EXPECT_TRUE(side.engine.wholeFleetReady()); // "Aceitar"
    EXPECT_EQ(said(side.events.status), "Criar tabuleiro.") << "the status is left as it was";
    const auto [column, row] = shipCells(side.engine.ownBoard()).front();
    clickOwnCell(side.engine, column, row, true);
    EXPECT_EQ(said(side.events.status), "Coloque o cano 25");
    EXPECT_EQ(state().cellsPlaced, 24);
    EXPECT_FALSE(side.engine.wholeFleetReady());
    side.engine.acceptFleet(); // no longer the generator's fleet to accept
    EXPECT_TRUE(side.link.sent.empty());
    clickOwnCell(side.engine, column, row);
    EXPECT_EQ(side.link.sent, std::vector<std::string> { "$READY$" });
}

TEST_F(Placement, ATwentySixthCellIsTakenBack)
{
    side.engine.randomizeFleet();
    const auto [column, row] = firstEmpty(side.engine.ownBoard());
    clickOwnCell(side.engine, column, row);
    EXPECT_EQ(said(side.events.status), "Corrija o jogo...");
    EXPECT_EQ(state().cellsPlaced, 25);
    EXPECT_TRUE(side.engine.wholeFleetReady());
    EXPECT_EQ(side.engine.ownBoard().getCell(column, row), CellEmpty);
    side.engine.acceptFleet();
    EXPECT_EQ(side.link.sent, std::vector<std::string> { "$READY$ &RANDOMIZED" });
}

TEST_F(Placement, RandomizeReplacesCellsPlacedByHand)
{
    for (int i = 0; i < 7; ++i)
        clickOwnCell(side.engine, handFleet[i].first, handFleet[i].second);
    side.engine.randomizeFleet();
    EXPECT_EQ(shipCells(side.engine.ownBoard()).size(), 25u);
    EXPECT_EQ(state().cellsPlaced, 25);
    // A second press gives another fleet.
    const Board first = side.engine.ownBoard();
    side.engine.randomizeFleet();
    EXPECT_NE(side.engine.ownBoard().cells, first.cells);
}

TEST_F(Placement, GeneratorButtonsActOnlyWhilePlacing)
{
    side.engine.acceptFleet(); // nothing generated yet
    EXPECT_TRUE(side.link.sent.empty());
    side.engine.randomizeFleet();
    side.engine.acceptFleet();
    EXPECT_EQ(state().phase, GamePhase::Ready);
    EXPECT_FALSE(side.engine.wholeFleetReady()); // the generator is done with
    const Board declared = side.engine.ownBoard();
    side.engine.randomizeFleet();
    side.engine.acceptFleet();
    EXPECT_EQ(side.engine.ownBoard().cells, declared.cells);
    EXPECT_EQ(side.link.sent.size(), 1u);
    // Placing clicks are over too.
    clickOwnCell(side.engine, firstEmpty(declared).first, firstEmpty(declared).second);
    EXPECT_EQ(side.engine.ownBoard().cells, declared.cells);
}

} // namespace

TEST_F(Placement, TheFleetLastDeclaredCanBePlacedAgainAndTellsHowItWasMade)
{
    side.engine.repeatLastFleet(); // no fleet declared yet
    EXPECT_FALSE(side.engine.mayRepeatFleet());
    EXPECT_EQ(state().cellsPlaced, 0);
    for (const auto& [column, row] : handFleet)
        clickOwnCell(side.engine, column, row);
    const Board byHand = side.engine.ownBoard();
    EXPECT_FALSE(side.engine.mayRepeatFleet()) << "declared: not placing any more";

    // The next connection: three cells by hand, then the last fleet over them.
    side.engine.connectionClosed();
    side.engine.connectionOpened(false);
    for (int i = 0; i < 3; ++i)
        clickOwnCell(side.engine, 9, 2 * i);
    ASSERT_TRUE(side.engine.mayRepeatFleet());
    side.engine.repeatLastFleet();
    EXPECT_EQ(side.engine.ownBoard().cells, byHand.cells);
    EXPECT_EQ(side.events.fleetChanges.back(), (FleetChange { FleetChange::Repeated, {}, 25 }));
    EXPECT_EQ(state().cellsPlaced, 25);
    EXPECT_TRUE(side.engine.wholeFleetReady());
    side.engine.acceptFleet();
    EXPECT_EQ(side.link.sent.back(), "$READY$") << "placed by hand in the first place";

    side.engine.connectionClosed();
    side.engine.connectionOpened(false);
    side.engine.randomizeFleet();
    const Board generated = side.engine.ownBoard();
    side.engine.acceptFleet();
    side.engine.connectionClosed();
    side.engine.connectionOpened(false);
    side.engine.repeatLastFleet();
    EXPECT_EQ(side.engine.ownBoard().cells, generated.cells);
    // Changed by hand, it is no longer accepted as it is.
    const auto [column, row] = shipCells(generated).front();
    clickOwnCell(side.engine, column, row, true);
    EXPECT_FALSE(side.engine.wholeFleetReady());
    const std::size_t sent = side.link.sent.size();
    side.engine.acceptFleet();
    EXPECT_EQ(side.link.sent.size(), sent);
    side.engine.repeatLastFleet();
    side.engine.acceptFleet();
    EXPECT_EQ(side.link.sent.back(), "$READY$ &RANDOMIZED");
    EXPECT_EQ(side.engine.ownBoard().cells, generated.cells);
}
