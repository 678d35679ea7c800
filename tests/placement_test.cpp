#include "enginepair.h"

#include "match/controlids.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

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

    const MatchState& state() const { return side.engine.matchState(); }

    Side side;
};

TEST_F(Placement, EachCellPromptsForTheNextAndALegalFleetIsDeclared)
{
    for (std::size_t i = 0; i + 1 < handFleet.size(); ++i) {
        clickOwnCell(side.engine, handFleet[i].first, handFleet[i].second);
        EXPECT_EQ(side.window.statusText, "Coloque o cano " + std::to_string(i + 2));
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
    EXPECT_EQ(side.window.statusText, "Corrija o jogo...");
    EXPECT_EQ(side.window.beeps, std::vector { BeepKind::Exclamation });
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
    clickOwnCell(side.engine, 4, 4, true); // nothing placed yet: only a beep
    EXPECT_EQ(side.window.beeps, std::vector { BeepKind::Exclamation });
    clickOwnCell(side.engine, 4, 4);
    const auto status = side.window.statusText;
    side.window.transcript.clear();
    clickOwnCell(side.engine, 4, 4); // already a ship cell
    clickOwnCell(side.engine, 5, 5, true); // an empty cell
    EXPECT_EQ(side.window.transcript,
        (std::vector<std::string> { "erase cursor own", "draw cursor own" }))
        << "only the cursor moves, to the empty cell";
    EXPECT_EQ(side.window.beeps.size(), 1u);
    EXPECT_EQ(state().cellsPlaced, 1);
    // And a click outside both grids does nothing either.
    side.engine.onMouseMove(300, 100);
    side.engine.onLeftButtonDown();
    side.engine.onRightButtonDown();
    EXPECT_EQ(state().cellsPlaced, 1);
    EXPECT_EQ(side.window.statusText, status);
}

TEST_F(Placement, RemovingACellOfAGeneratedFleetAndSettingItAgain)
{
    side.engine.onRandomize();
    EXPECT_EQ(state().cellsPlaced, 25);
    EXPECT_TRUE(side.window.enabled(IDC_ACCEPT));
    EXPECT_EQ(side.window.statusText, "Criar tabuleiro.") << "the status is left as it was";
    const auto [column, row] = shipCells(side.engine.ownBoard()).front();
    clickOwnCell(side.engine, column, row, true);
    EXPECT_EQ(side.window.statusText, "Coloque o cano 25");
    EXPECT_EQ(state().cellsPlaced, 24);
    EXPECT_FALSE(side.window.enabled(IDC_ACCEPT));
    side.engine.onAcceptFleet(); // no longer the generator's fleet to accept
    EXPECT_TRUE(side.link.sent.empty());
    clickOwnCell(side.engine, column, row);
    EXPECT_EQ(side.link.sent, std::vector<std::string> { "$READY$" });
}

TEST_F(Placement, ATwentySixthCellIsTakenBack)
{
    side.engine.onRandomize();
    const auto [column, row] = firstEmpty(side.engine.ownBoard());
    clickOwnCell(side.engine, column, row);
    EXPECT_EQ(side.window.statusText, "Corrija o jogo...");
    EXPECT_EQ(state().cellsPlaced, 25);
    EXPECT_TRUE(side.window.enabled(IDC_ACCEPT));
    EXPECT_EQ(side.engine.ownBoard().getCell(column, row), CellEmpty);
    side.engine.onAcceptFleet();
    EXPECT_EQ(side.link.sent, std::vector<std::string> { "$READY$ &RANDOMIZED" });
}

TEST_F(Placement, RandomizeReplacesCellsPlacedByHand)
{
    for (int i = 0; i < 7; ++i)
        clickOwnCell(side.engine, handFleet[i].first, handFleet[i].second);
    side.engine.onRandomize();
    EXPECT_EQ(shipCells(side.engine.ownBoard()).size(), 25u);
    EXPECT_EQ(state().cellsPlaced, 25);
    // A second press gives another fleet.
    const Board first = side.engine.ownBoard();
    side.engine.onRandomize();
    EXPECT_NE(side.engine.ownBoard().cells, first.cells);
}

TEST_F(Placement, GeneratorButtonsActOnlyWhilePlacing)
{
    side.engine.onAcceptFleet(); // nothing generated yet
    EXPECT_TRUE(side.link.sent.empty());
    side.engine.onRandomize();
    side.engine.onAcceptFleet();
    EXPECT_EQ(state().phase, GamePhase::Ready);
    EXPECT_FALSE(side.window.enabled(IDC_RANDOMIZE));
    EXPECT_FALSE(side.window.enabled(IDC_GENERATOR_GROUP));
    const Board declared = side.engine.ownBoard();
    side.engine.onRandomize();
    side.engine.onAcceptFleet();
    EXPECT_EQ(side.engine.ownBoard().cells, declared.cells);
    EXPECT_EQ(side.link.sent.size(), 1u);
    // Placing clicks are over too.
    clickOwnCell(side.engine, firstEmpty(declared).first, firstEmpty(declared).second);
    EXPECT_EQ(side.engine.ownBoard().cells, declared.cells);
}

} // namespace
