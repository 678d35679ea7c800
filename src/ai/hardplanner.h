#pragma once

#include "fleetsampler.h"
#include "shotplanner.h"

#include <chrono>

class SeaChart;

// Fires where a ship is most likely. It draws whole fleets that agree with everything seen
// so far (see FleetSampler) and fires at the open cell that the most weight of them puts a
// ship on. Against a fleet declared as generated, fleets are weighed by the odds of the
// game's generator, whose draws favour the middle rows and columns. The work per shot is a
// number of drawn fleets, not a time, so that a seed plays the same game on a fast machine
// and on a loaded one (the clock only guards against a machine that has all but stopped).
class HardPlanner : public ShotPlanner {
public:
    struct Options {
        // Fleets drawn per shot: about 2 ms of work, 10 at the most, three times that under
        // the sanitizers.
        int draws = 1500;
        // A guard, not a budget: a hundred times the slowest shot, it ends a shot's draws only
        // on a machine that has all but stopped or in a position far slower than any a game
        // reaches, never in a normal game. If it ever acts, that game may differ from another
        // of the same seed.
        std::chrono::milliseconds guard { 2000 };
        bool generatorWeights = true; // weigh generated fleets by the generator's odds
    };

    // How the last shot was chosen.
    struct Decision {
        int draws = 0;
        int validDraws = 0;
        bool fellBack = false; // no fleet agreed with the replies: hunt and target instead
    };

    HardPlanner();
    explicit HardPlanner(const Options& options);

    std::optional<GridCell> chooseShot(const FiringView& view, RandomSource& random) override;

    const Decision& lastDecision() const { return decision; }

private:
    static GridCell pick(
        const SeaChart& chart, const FleetSampler::Estimate& estimate, RandomSource& random);

    Options options;
    FleetSampler generated;
    FleetSampler anyLegal { FleetSampler::Shapes::AnyLegal, FleetSampler::Prior::Even };
    Decision decision;
};
