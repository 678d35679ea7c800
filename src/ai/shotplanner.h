#pragma once

#include "core/board.h"
#include "core/fleetgenerator.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

inline constexpr int LongestShip = 5;

// One answered shot at the opponent's grid, as its reply described it.
struct ShotReport {
    enum Kind : std::uint8_t { Miss, Hit, Sunk };
    GridCell cell;
    Kind kind = Miss;
    int length = 0; // the ship's length named by a hit or a sinking (1..5); 0 for a miss or a
                    // reply whose length was no digit of a fleet ship
};

// What a shooter knows of the opponent's grid when it chooses its next shot.
struct FiringView {
    // CellEmpty: not shot; CellShip: a hit; CellWater: a miss or water known around a sunk ship.
    const Board& enemy;
    std::span<const ShotReport> shots; // this match's answered shots, in order
    bool generatedFleet = false; // the opponent declared a fleet made by the game's generator
};

// Chooses where a computer player fires. Planners never fire at a cell that is not CellEmpty
// on the enemy grid, so they never repeat a shot or shoot into known water.
class ShotPlanner {
public:
    virtual ~ShotPlanner() = default;

    // A cell that the view shows as CellEmpty; nothing when no such cell is left.
    virtual std::optional<GridCell> chooseShot(const FiringView& view, RandomSource& random) = 0;
};

enum class PlannerLevel { Easy, Normal, Hard };

std::unique_ptr<ShotPlanner> makeShotPlanner(PlannerLevel level);
std::optional<PlannerLevel> plannerLevelFromName(std::string_view name); // "easy", "normal", "hard"
std::string_view plannerLevelName(PlannerLevel level);

// A draw in 0..count-1 from the raw output of the source, the same on every standard library.
int uniformBelow(RandomSource& random, int count);
