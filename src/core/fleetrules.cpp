#include "fleetrules.h"

#include "board.h"

#include <array>
#include <utility>

namespace {

bool isShip(const Board& board, int column, int row)
{
    const std::uint8_t code = board.getCell(column, row);
    return code != CellEmpty && code != CellWater;
}

// The side-connected groups of a board, numbered in reading order of their first cells.
class ShipGroups {
public:
    explicit ShipGroups(const Board& board)
    {
        groupOf.fill(-1);
        for (int row = 0; row < Board::Size; ++row) {
            for (int column = 0; column < Board::Size; ++column) {
                if (isShip(board, column, row) && at({ column, row }) < 0)
                    walk(board, { column, row });
            }
        }
    }

    int count() const { return groups; }
    int size(int group) const { return sizes[group]; }
    GridCell first(int group) const { return firsts[group]; }
    // The group of a cell, -1 for sea and off the grid.
    int at(GridCell cell) const
    {
        return Board::onGrid(cell) ? groupOf[cell.row * Board::Size + cell.column] : -1;
    }
    std::vector<GridCell> cells(int group) const
    {
        std::vector<GridCell> found;
        for (int index = 0; index < Board::CellCount; ++index) {
            if (groupOf[index] == group)
                found.push_back({ index % Board::Size, index / Board::Size });
        }
        return found;
    }

    // How many groups there are of each size a ship may have.
    std::array<int, LargestFleetShip + 1> sizeCounts() const
    {
        std::array<int, LargestFleetShip + 1> found {};
        for (int group = 0; group < groups; ++group) {
            if (sizes[group] <= LargestFleetShip)
                ++found[sizes[group]];
        }
        return found;
    }
    // The first group longer than a ship may be, the first five that is not a T; -1 for none.
    int firstTooLong() const
    {
        for (int group = 0; group < groups; ++group) {
            if (sizes[group] > LargestFleetShip)
                return group;
        }
        return -1;
    }
    int firstCrookedFive() const
    {
        for (int group = 0; group < groups; ++group) {
            if (sizes[group] == LargestFleetShip && !isTee(group))
                return group;
        }
        return -1;
    }

    // A five is a T when one of its cells has three neighbours in it, and the cell two
    // steps away opposite the missing side is in it too: four cells and that one are five.
    bool isTee(int group) const
    {
        static constexpr GridCell steps[4] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
        if (sizes[group] != LargestFleetShip)
            return false;
        for (const GridCell cell : cells(group)) {
            int beside = 0;
            GridCell open {};
            for (const GridCell step : steps) {
                if (at({ cell.column + step.column, cell.row + step.row }) == group)
                    ++beside;
                else
                    open = step;
            }
            if (beside == 3
                && at({ cell.column - 2 * open.column, cell.row - 2 * open.row }) == group)
                return true;
        }
        return false;
    }

private:
    void walk(const Board& board, GridCell start)
    {
        const int group = groups++;
        firsts[group] = start;
        std::array<GridCell, Board::CellCount> pending {};
        int waiting = 0;
        pending[waiting++] = start;
        groupOf[start.row * Board::Size + start.column] = static_cast<std::int8_t>(group);
        while (waiting > 0) {
            const GridCell cell = pending[--waiting];
            ++sizes[group];
            for (const GridCell next : { GridCell { cell.column - 1, cell.row },
                     GridCell { cell.column + 1, cell.row }, GridCell { cell.column, cell.row - 1 },
                     GridCell { cell.column, cell.row + 1 } }) {
                if (Board::onGrid(next) && isShip(board, next.column, next.row) && at(next) < 0) {
                    groupOf[next.row * Board::Size + next.column] = static_cast<std::int8_t>(group);
                    pending[waiting++] = next;
                }
            }
        }
    }

    std::array<std::int8_t, Board::CellCount> groupOf {}; // by row * 10 + column
    std::array<int, Board::CellCount> sizes {};
    std::array<GridCell, Board::CellCount> firsts {};
    int groups = 0;
};

// Where ship cells meet at a corner: 2x2 blocks holding ship cells on one diagonal only, in
// reading order, each as its two ship cells, the upper first.
std::vector<std::pair<GridCell, GridCell>> cornerContacts(const ShipGroups& groups)
{
    std::vector<std::pair<GridCell, GridCell>> contacts;
    for (int top = 0; top < Board::Size - 1; ++top) {
        for (int left = 0; left < Board::Size - 1; ++left) {
            const bool upperLeft = groups.at({ left, top }) >= 0;
            const bool upperRight = groups.at({ left + 1, top }) >= 0;
            const bool lowerLeft = groups.at({ left, top + 1 }) >= 0;
            const bool lowerRight = groups.at({ left + 1, top + 1 }) >= 0;
            if (upperLeft && lowerRight && !upperRight && !lowerLeft)
                contacts.push_back({ { left, top }, { left + 1, top + 1 } });
            if (upperRight && lowerLeft && !upperLeft && !lowerRight)
                contacts.push_back({ { left + 1, top }, { left, top + 1 } });
        }
    }
    return contacts;
}

} // namespace

FleetFault checkFleet(const Board& board)
{
    const ShipGroups groups(board);
    if (groups.firstTooLong() >= 0)
        return FleetFault::ShipTooLong;
    if (groups.sizeCounts() != FleetShipsOfSize)
        return FleetFault::WrongShips;
    if (!cornerContacts(groups).empty())
        return FleetFault::ShipsTouch;
    return groups.firstCrookedFive() >= 0 ? FleetFault::FiveNotATee : FleetFault::None;
}

bool validateFleet(const Board& board) { return checkFleet(board) == FleetFault::None; }

FleetCount countShips(const Board& board)
{
    const ShipGroups groups(board);
    std::array<bool, Board::CellCount> touching {};
    for (const auto& [upper, lower] : cornerContacts(groups))
        touching[groups.at(upper)] = touching[groups.at(lower)] = true;
    FleetCount count;
    for (int group = 0; group < groups.count(); ++group) {
        const int size = groups.size(group);
        if (touching[group] || size > LargestFleetShip)
            continue;
        if (size < LargestFleetShip || groups.isTee(group))
            ++count.ships[size];
    }
    return count;
}

FleetProblem findProblem(const Board& board, bool complete)
{
    const ShipGroups groups(board);
    if (const int group = groups.firstTooLong(); group >= 0)
        return { FleetFault::ShipTooLong, groups.cells(group), groups.size(group) };
    const std::array<int, LargestFleetShip + 1> found = groups.sizeCounts();

    if (const auto contacts = cornerContacts(groups); !contacts.empty())
        return { FleetFault::ShipsTouch, { contacts.front().first, contacts.front().second } };

    const auto firstCellsOfSize = [&groups](int size) {
        std::vector<GridCell> firsts;
        for (int group = 0; group < groups.count(); ++group) {
            if (groups.size(group) == size)
                firsts.push_back(groups.first(group));
        }
        return firsts;
    };
    if (complete) {
        for (const bool tooMany : { true, false }) {
            for (int size = LargestFleetShip; size >= 1; --size) {
                const int wanted = FleetShipsOfSize[size];
                if (tooMany ? found[size] > wanted : found[size] < wanted)
                    return { FleetFault::WrongShips, firstCellsOfSize(size), size };
            }
        }
    } else if (found[LargestFleetShip] > FleetShipsOfSize[LargestFleetShip]) {
        return { FleetFault::WrongShips, firstCellsOfSize(LargestFleetShip), LargestFleetShip };
    }

    if (const int group = groups.firstCrookedFive(); group >= 0)
        return { FleetFault::FiveNotATee, groups.cells(group), LargestFleetShip };
    return {};
}
