#include "shotplanner.h"

#include "easyplanner.h"
#include "hardplanner.h"
#include "normalplanner.h"

#include <limits>

std::unique_ptr<ShotPlanner> makeShotPlanner(PlannerLevel level)
{
    switch (level) {
    case PlannerLevel::Easy:
        return std::make_unique<EasyPlanner>();
    case PlannerLevel::Normal:
        return std::make_unique<NormalPlanner>();
    case PlannerLevel::Hard:
        break;
    }
    return std::make_unique<HardPlanner>();
}

std::optional<PlannerLevel> plannerLevelFromName(std::string_view name)
{
    for (PlannerLevel level : { PlannerLevel::Easy, PlannerLevel::Normal, PlannerLevel::Hard }) {
        if (name == plannerLevelName(level))
            return level;
    }
    return std::nullopt;
}

std::string_view plannerLevelName(PlannerLevel level)
{
    switch (level) {
    case PlannerLevel::Easy:
        return "easy";
    case PlannerLevel::Normal:
        return "normal";
    case PlannerLevel::Hard:
        break;
    }
    return "hard";
}

// Rejection of the top partial range keeps every value equally likely.
int uniformBelow(RandomSource& random, int count)
{
    if (count <= 1)
        return 0;
    const auto range = static_cast<std::uint64_t>(std::numeric_limits<std::uint32_t>::max()) + 1;
    const std::uint64_t limit = range - range % static_cast<std::uint64_t>(count);
    for (;;) {
        const std::uint64_t draw = random();
        if (draw < limit)
            return static_cast<int>(draw % static_cast<std::uint64_t>(count));
    }
}
