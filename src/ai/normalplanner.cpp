#include "normalplanner.h"

#include "seachart.h"

#include "core/board.h"

#include <vector>

std::optional<GridCell> NormalPlanner::chooseShot(const FiringView& view, RandomSource& random)
{
    return choose(SeaChart(view), random);
}

std::optional<GridCell> NormalPlanner::choose(const SeaChart& chart, RandomSource& random)
{
    static constexpr int sides[4][2] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
    std::vector<GridCell> beside;
    std::vector<GridCell> inLine;
    for (const SeaChart::HitGroup& group : chart.hitGroups()) {
        if (group.sunk)
            continue;
        for (const GridCell& hit : group.cells) {
            for (const auto& side : sides) {
                const GridCell next { hit.column + side[0], hit.row + side[1] };
                if (!chart.isOpen(next.column, next.row))
                    continue;
                beside.push_back(next);
                if (chart.isHit(hit.column - side[0], hit.row - side[1]))
                    inLine.push_back(next);
            }
        }
    }
    if (!inLine.empty())
        return inLine[uniformBelow(random, static_cast<int>(inLine.size()))];
    if (!beside.empty())
        return beside[uniformBelow(random, static_cast<int>(beside.size()))];

    std::vector<GridCell> open;
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            if (chart.isOpen(column, row))
                open.push_back({ column, row });
        }
    }
    if (open.empty())
        return std::nullopt;
    return open[uniformBelow(random, static_cast<int>(open.size()))];
}
