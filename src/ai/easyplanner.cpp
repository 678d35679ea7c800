#include "easyplanner.h"

#include "core/board.h"

#include <vector>

std::optional<GridCell> EasyPlanner::chooseShot(const FiringView& view, RandomSource& random)
{
    std::vector<GridCell> open;
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            if (view.enemy.getCell(column, row) == CellEmpty)
                open.push_back({ column, row });
        }
    }
    if (open.empty())
        return std::nullopt;
    return open[uniformBelow(random, static_cast<int>(open.size()))];
}
