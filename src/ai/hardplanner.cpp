#include "hardplanner.h"

#include "normalplanner.h"
#include "seachart.h"

#include "core/board.h"

#include <vector>

HardPlanner::HardPlanner()
    : HardPlanner(Options {})
{
}

HardPlanner::HardPlanner(const Options& chosen)
    : options(chosen)
    , generated(FleetSampler::Shapes::Generated,
          chosen.generatorWeights ? FleetSampler::Prior::Generator : FleetSampler::Prior::Even)
{
}

std::optional<GridCell> HardPlanner::chooseShot(const FiringView& view, RandomSource& random)
{
    decision = {};
    const SeaChart chart(view);
    if (chart.openCount() == 0)
        return std::nullopt;
    const auto guard = std::chrono::steady_clock::now() + options.guard;

    // A fleet declared as generated is first read as one; should the replies rule that out
    // (a peer that does not play by its word), any legal fleet is assumed.
    std::vector<FleetSampler*> models;
    if (view.generatedFleet)
        models.push_back(&generated);
    models.push_back(&anyLegal);
    for (FleetSampler* model : models) {
        if (!model->observe(chart))
            continue;
        FleetSampler::Estimate estimate;
        model->sample(options.draws, guard, random, estimate);
        decision.draws += estimate.draws;
        decision.validDraws += estimate.validDraws;
        if (estimate.validDraws == 0)
            continue;
        return pick(chart, estimate, random);
    }
    decision.fellBack = true;
    return NormalPlanner::choose(chart, random);
}

// The likeliest open cell, ties broken at random.
GridCell HardPlanner::pick(
    const SeaChart& chart, const FleetSampler::Estimate& estimate, RandomSource& random)
{
    std::vector<GridCell> best;
    double bestWeight = -1;
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            if (!chart.isOpen(column, row))
                continue;
            const double weight = estimate.shipWeight[column * Board::Size + row];
            if (weight > bestWeight) {
                bestWeight = weight;
                best.clear();
            }
            if (weight == bestWeight)
                best.push_back({ column, row });
        }
    }
    return best[static_cast<std::size_t>(uniformBelow(random, static_cast<int>(best.size())))];
}
