// The automatic player at the controls of one engine, its opponent's messages typed in by the
// test.

#include "enginepair.h"

#include "match/autoplayer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <vector>

namespace {

// Fires at the given cells in order.
class ScriptedPlanner : public ShotPlanner {
public:
    explicit ScriptedPlanner(std::vector<GridCell> planned)
        : cells(std::move(planned))
    {
    }
    std::optional<GridCell> chooseShot(const FiringView&, RandomSource&) override
    {
        if (next == cells.size())
            return std::nullopt;
        return cells[next++];
    }

private:
    std::vector<GridCell> cells;
    std::size_t next = 0;
};

// It declares a generated fleet, fires when it is its turn and only then, and hands its
// planner each reply as it came: the kind, and the length when it names a fleet ship.
TEST(AutoPlayer, DeclaresFiresAndReadsTheReplies)
{
    const struct {
        GridCell cell;
        std::string_view reply;
        ShotReport::Kind kind;
        int length;
    } shots[] = {
        { { 0, 0 }, "TREQ:5", ShotReport::Hit, 5 },
        { { 3, 3 }, "TAFQ:5", ShotReport::Sunk, 5 },
        { { 9, 9 }, "TREQ:*", ShotReport::Miss, 0 },
        { { 6, 0 }, "TAFQ:1", ShotReport::Sunk, 1 },
        { { 0, 6 }, "TREQ:6", ShotReport::Hit, 0 },
        { { 9, 0 }, "TREQ:0", ShotReport::Hit, 0 },
    };
    std::vector<GridCell> cells;
    for (const auto& shot : shots)
        cells.push_back(shot.cell);
    EngineSide side;
    AutoPlayer player(side.engine, std::make_unique<ScriptedPlanner>(cells));
    EXPECT_EQ(player.play(), AutoPlayer::Move::None) << "not connected";
    side.engine.connectionOpened(true);
    EXPECT_EQ(player.play(), AutoPlayer::Move::DeclareFleet);
    EXPECT_EQ(side.link.sent.back(), "$READY$ &RANDOMIZED");
    EXPECT_EQ(player.nextMove(), AutoPlayer::Move::None) << "the opponent is not ready";
    side.engine.onPeerData("$READY$");

    for (std::size_t i = 0; i < std::size(shots); ++i) {
        if (i == 3)
            side.engine.onPeerData("$XCHG_MACHINE$");
        ASSERT_EQ(player.play(), AutoPlayer::Move::Fire) << i;
        EXPECT_EQ(player.nextMove(), AutoPlayer::Move::None) << "a shot is unanswered";
        side.engine.onPeerData(shots[i].reply);
    }
    EXPECT_EQ(player.nextMove(), AutoPlayer::Move::None) << "the turn has passed";

    const std::vector<ShotReport> reports = player.shotReports();
    ASSERT_EQ(reports.size(), std::size(shots));
    for (std::size_t i = 0; i < std::size(shots); ++i) {
        EXPECT_EQ(reports[i].cell, shots[i].cell) << i;
        EXPECT_EQ(reports[i].kind, shots[i].kind) << shots[i].reply;
        EXPECT_EQ(reports[i].length, shots[i].length) << shots[i].reply;
    }
}

} // namespace
