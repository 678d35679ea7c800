#pragma once

#include "shotplanner.h"

class SeaChart;

// Hunt and target. While no ship is hit and afloat it fires at random into the open cells;
// after a hit that did not sink, the open cells beside the ship's hits come first, and of
// those the ones that carry on a line of two hits. Water around sunk ships is never shot,
// since the enemy grid already shows it.
class NormalPlanner : public ShotPlanner {
public:
    std::optional<GridCell> chooseShot(const FiringView& view, RandomSource& random) override;

    // The same choice for a chart already made (the hard level falls back on it).
    static std::optional<GridCell> choose(const SeaChart& chart, RandomSource& random);
};
