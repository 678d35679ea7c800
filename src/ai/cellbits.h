#pragma once

// The grid as a set of cells in 128 bits, for the fleet sampler: cell (column, row) is bit
// column * Stride + row. The two spare bits per column keep a shift by a row or two from
// wrapping into the next column, so a ship's cells are its anchor's bit plus fixed offsets.

#include "core/board.h"
#include "core/fleetgenerator.h"

#include <array>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

namespace cellbits {

__extension__ typedef unsigned __int128 Bits;

inline constexpr int Stride = 12;
inline constexpr int RowBits = (1 << Board::Size) - 1;

constexpr int bitIndex(int column, int row) { return column * Stride + row; }
constexpr Bits bitAt(int index) { return Bits(1) << index; }

constexpr Bits makeGrid()
{
    Bits grid = 0;
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row)
            grid |= bitAt(bitIndex(column, row));
    }
    return grid;
}
inline constexpr Bits Grid = makeGrid();

inline int popcount(Bits cells)
{
    return std::popcount(static_cast<std::uint64_t>(cells))
        + std::popcount(static_cast<std::uint64_t>(cells >> 64));
}

inline int lowestBit(Bits cells)
{
    const auto low = static_cast<std::uint64_t>(cells);
    return low ? std::countr_zero(low)
               : 64 + std::countr_zero(static_cast<std::uint64_t>(cells >> 64));
}

inline int rowsOf(Bits cells, int column)
{
    return static_cast<int>(cells >> (column * Stride)) & RowBits;
}

// The anchors A for which A + offset lies in `cells`. Out-of-grid targets land on spare
// bits or outside the 128 bits, which are never set.
inline Bits anchorsInto(Bits cells, int offset)
{
    return offset >= 0 ? cells >> offset : cells << -offset;
}

// The cells and every cell touching them, at a side or a corner.
inline Bits dilate(Bits cells)
{
    const Bits rows = cells | (cells << 1) | (cells >> 1);
    return (rows | (rows << Stride) | (rows >> Stride)) & Grid;
}

// Total weight of a set of anchors: the generator's odds for the anchor cell, or one each.
int anchorWeight(Bits anchors, bool weighted);
// The generator's odds of one anchor cell, or one.
int oddsAt(int index, bool weighted);
// The anchor whose weight interval holds `target` (0 <= target < anchorWeight(anchors)).
int pickAnchor(Bits anchors, int target, bool weighted);

// Every fixed shape of `size` cells joined through sides, as (column, row) offsets from an
// anchor on one of its cells no more than two rows from any other.
std::vector<std::vector<std::pair<int, int>>> polyominoes(int size);
// A generator template's cells as bit offsets from its anchor.
std::vector<int> offsetsOf(const ShipTemplate& shipTemplate);

} // namespace cellbits
