#pragma once

#include "shotplanner.h"

// Fires at random: any cell not yet shot and not known to be water, each as likely.
class EasyPlanner : public ShotPlanner {
public:
    std::optional<GridCell> chooseShot(const FiringView& view, RandomSource& random) override;
};
