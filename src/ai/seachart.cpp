#include "seachart.h"

#include "core/board.h"

namespace {

int indexOf(int column, int row) { return column * Board::Size + row; }

} // namespace

SeaChart::SeaChart(const FiringView& view)
{
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            const std::uint8_t code = view.enemy.getCell(column, row);
            Mark mark = code == CellEmpty ? Open : code == CellShip ? Hit : Water;
            marks[indexOf(column, row)] = mark;
            if (mark == Open)
                ++open;
        }
    }
    std::array<int, 100> lengths {};
    std::array<bool, 100> sunkAt {};
    for (const ShotReport& shot : view.shots) {
        if (!Board::onGrid(shot.cell.column, shot.cell.row) || shot.kind == ShotReport::Miss)
            continue;
        const int index = indexOf(shot.cell.column, shot.cell.row);
        lengths[index] = shot.length;
        sunkAt[index] = shot.kind == ShotReport::Sunk;
    }
    findGroups(lengths, sunkAt);
    checkConsistency();
}

SeaChart::Mark SeaChart::cellAt(int column, int row) const
{
    return Board::onGrid(column, row) ? marks[indexOf(column, row)] : Water;
}

// A sunk ship is the group of hits joined through sides to the cell that sank it. The other
// hits are grouped through sides and corners: two hits that close belong to one ship.
void SeaChart::findGroups(const std::array<int, 100>& lengths, const std::array<bool, 100>& sunkAt)
{
    std::array<bool, 100> grouped {};
    auto flood = [&](int start, bool throughCorners, HitGroup& group) {
        std::vector<int> pending { start };
        grouped[start] = true;
        while (!pending.empty()) {
            const int index = pending.back();
            pending.pop_back();
            const int column = index / Board::Size;
            const int row = index % Board::Size;
            group.cells.push_back({ column, row });
            const int label = lengths[index];
            if (group.length == 0)
                group.length = label;
            else if (label != group.length)
                isConsistent = false;
            for (int dc = -1; dc <= 1; ++dc) {
                for (int dr = -1; dr <= 1; ++dr) {
                    if (!throughCorners && dc != 0 && dr != 0)
                        continue;
                    const int c = column + dc;
                    const int r = row + dr;
                    if (cellAt(c, r) != Hit || grouped[indexOf(c, r)])
                        continue;
                    grouped[indexOf(c, r)] = true;
                    pending.push_back(indexOf(c, r));
                }
            }
        }
    };

    for (int index = 0; index < 100; ++index) {
        if (marks[index] != Hit || !sunkAt[index] || grouped[index])
            continue;
        HitGroup group;
        group.sunk = true;
        flood(index, false, group);
        if (group.length != lengths[index])
            isConsistent = false;
        groups.push_back(std::move(group));
    }
    for (int index = 0; index < 100; ++index) {
        if (marks[index] != Hit || grouped[index])
            continue;
        HitGroup group;
        flood(index, true, group);
        groups.push_back(std::move(group));
    }
}

void SeaChart::checkConsistency()
{
    std::array<int, LongestShip + 1> fleetCount {};
    for (int length : FleetLengths)
        ++fleetCount[length];
    std::array<int, LongestShip + 1> sunkCount {};
    std::array<int, LongestShip + 1> afloatCount {};
    for (const HitGroup& group : groups) {
        const int size = static_cast<int>(group.cells.size());
        if (group.length < 1 || group.length > LongestShip) {
            isConsistent = false;
            continue;
        }
        if (group.sunk) {
            ++sunkCount[group.length];
            if (size != group.length)
                isConsistent = false;
            // Water surrounds a sunk ship: no other hit may touch it.
            for (const GridCell& cell : group.cells) {
                for (int dc = -1; dc <= 1; ++dc) {
                    for (int dr = -1; dr <= 1; ++dr) {
                        const int c = cell.column + dc;
                        const int r = cell.row + dr;
                        if (!isHit(c, r))
                            continue;
                        bool own = false;
                        for (const GridCell& other : group.cells)
                            own = own || (other.column == c && other.row == r);
                        if (!own)
                            isConsistent = false;
                    }
                }
            }
        } else {
            ++afloatCount[group.length];
            if (size >= group.length)
                isConsistent = false;
        }
    }
    for (int length = 1; length <= LongestShip; ++length) {
        const int atLeast = sunkCount[length] + (afloatCount[length] > 0 ? 1 : 0);
        if (atLeast > fleetCount[length])
            isConsistent = false;
    }
}
