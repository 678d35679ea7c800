#include "cellbits.h"

#include <algorithm>
#include <set>

namespace cellbits {

namespace {

    // How many of the 16 raw values behind one generator coordinate give each coordinate: the
    // generator folds 10..15 onto 1..6.
    constexpr std::array<int, 10> coordinateOdds { 1, 2, 2, 2, 2, 2, 2, 1, 1, 1 };

    constexpr std::array<int, 1 << Board::Size> makeRowOdds()
    {
        std::array<int, 1 << Board::Size> sums {};
        for (int rows = 0; rows < (1 << Board::Size); ++rows) {
            for (int row = 0; row < Board::Size; ++row) {
                if (rows & (1 << row))
                    sums[rows] += coordinateOdds[row];
            }
        }
        return sums;
    }
    constexpr auto rowOdds = makeRowOdds();

} // namespace

int anchorWeight(Bits anchors, bool weighted)
{
    if (!weighted)
        return popcount(anchors);
    int total = 0;
    for (int column = 0; column < Board::Size; ++column)
        total += coordinateOdds[column] * rowOdds[rowsOf(anchors, column)];
    return total;
}

int oddsAt(int index, bool weighted)
{
    return weighted ? coordinateOdds[index / Stride] * coordinateOdds[index % Stride] : 1;
}

int pickAnchor(Bits anchors, int target, bool weighted)
{
    int last = 0;
    for (int column = 0; column < Board::Size; ++column) {
        const int rows = rowsOf(anchors, column);
        if (rows == 0)
            continue;
        const int columnWeight
            = weighted ? coordinateOdds[column] * rowOdds[rows] : std::popcount(unsigned(rows));
        if (target >= columnWeight) {
            target -= columnWeight;
            last = bitIndex(column, 31 - std::countl_zero(unsigned(rows)));
            continue;
        }
        for (int row = 0; row < Board::Size; ++row) {
            if (!(rows & (1 << row)))
                continue;
            last = bitIndex(column, row);
            const int odds = oddsAt(last, weighted);
            if (target < odds)
                return last;
            target -= odds;
        }
    }
    return last;
}

std::vector<std::vector<std::pair<int, int>>> polyominoes(int size)
{
    using Cells = std::vector<std::pair<int, int>>;
    auto normalise = [](Cells cells) {
        int minColumn = cells[0].first;
        int minRow = cells[0].second;
        for (auto [column, row] : cells) {
            minColumn = std::min(minColumn, column);
            minRow = std::min(minRow, row);
        }
        for (auto& [column, row] : cells) {
            column -= minColumn;
            row -= minRow;
        }
        std::sort(cells.begin(), cells.end());
        return cells;
    };
    std::set<Cells> current { Cells { { 0, 0 } } };
    for (int grown = 1; grown < size; ++grown) {
        std::set<Cells> next;
        for (const Cells& shape : current) {
            for (auto [column, row] : shape) {
                for (auto [dc, dr] : { std::pair { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } }) {
                    const std::pair cell { column + dc, row + dr };
                    if (std::find(shape.begin(), shape.end(), cell) != shape.end())
                        continue;
                    Cells bigger = shape;
                    bigger.push_back(cell);
                    next.insert(normalise(bigger));
                }
            }
        }
        current = std::move(next);
    }
    std::vector<Cells> shapes;
    for (Cells shape : current) {
        int height = 0;
        for (auto [column, row] : shape)
            height = std::max(height, row + 1);
        // The anchor is a cell of the shape, so every place has an anchor on the grid.
        const int anchorRow = std::min(2, height - 1);
        const auto anchor = std::find_if(shape.begin(), shape.end(),
            [anchorRow](auto cell) { return cell.second == anchorRow; });
        const int anchorColumn = anchor->first;
        for (auto& [column, row] : shape) {
            column -= anchorColumn;
            row -= anchorRow;
        }
        shapes.push_back(std::move(shape));
    }
    return shapes;
}

std::vector<int> offsetsOf(const ShipTemplate& shipTemplate)
{
    std::vector<int> offsets;
    for (const auto* cell = shipTemplate.offsets; cell->column != 'E'; ++cell)
        offsets.push_back(bitIndex(cell->column, cell->row));
    return offsets;
}

} // namespace cellbits
