#include "fleetsampler.h"

#include "board.h"
#include "fleetgenerator.h"
#include "seachart.h"

#include <algorithm>
#include <bit>
#include <map>
#include <set>
#include <utility>

namespace {

using Bits = FleetSampler::Bits;

constexpr int Stride = 12;
constexpr int RowBits = (1 << Board::Size) - 1;

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
constexpr Bits Grid = makeGrid();

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

int popcount(Bits cells)
{
    return std::popcount(static_cast<std::uint64_t>(cells))
        + std::popcount(static_cast<std::uint64_t>(cells >> 64));
}

int lowestBit(Bits cells)
{
    const auto low = static_cast<std::uint64_t>(cells);
    return low ? std::countr_zero(low)
               : 64 + std::countr_zero(static_cast<std::uint64_t>(cells >> 64));
}

int rowsOf(Bits cells, int column)
{
    return static_cast<int>(cells >> (column * Stride)) & RowBits;
}

// The anchors A for which A + offset lies in `cells`. Out-of-grid targets land on spare
// bits or outside the 128 bits, which are never set.
Bits anchorsInto(Bits cells, int offset)
{
    return offset >= 0 ? cells >> offset : cells << -offset;
}

// The cells and every cell touching them, at a side or a corner.
Bits dilate(Bits cells)
{
    const Bits rows = cells | (cells << 1) | (cells >> 1);
    return (rows | (rows << Stride) | (rows >> Stride)) & Grid;
}

// Total weight of a set of anchors: the generator's odds for the anchor cell, or one each.
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

// The anchor whose weight interval holds `target` (0 <= target < anchorWeight(anchors)).
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

// A draw in [0, 1) from the raw output of the source.
double unitDraw(RandomSource& random) { return static_cast<double>(random()) / 4294967296.0; }

int toBitOffset(int column, int row) { return column * Stride + row; }

// Every fixed shape of `size` cells joined through sides, anchored on one of its cells no more
// than two rows from any other.
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
        offsets.push_back(toBitOffset(cell->column, cell->row));
    return offsets;
}

} // namespace

FleetSampler::FleetSampler(Shapes shapeSet, Prior chosenPrior)
    : prior(shapeSet == Shapes::Generated ? chosenPrior : Prior::Even)
{
    const bool weighted = prior == Prior::Generator;
    for (int length = 1; length <= LongestShip; ++length) {
        if (shapeSet == Shapes::AnyLegal && length >= 2 && length <= 4) {
            for (const auto& cells : polyominoes(length)) {
                Shape shape;
                for (auto [column, row] : cells)
                    shape.offsets.push_back(toBitOffset(column, row));
                shapes[length].push_back(std::move(shape));
            }
            continue;
        }
        // The generator's own templates, each weighted by how many of the 16 raw values of
        // its choice draw select it (a single cell makes no choice draw).
        std::map<const ShipTemplate*, int> ways;
        for (int raw = 0; raw < 16; ++raw) {
            const int choice = raw > 9 ? raw - 9 : raw;
            ++ways[&shipTemplateFor(length, length == 1 ? 0 : choice)];
        }
        for (auto [shipTemplate, count] : ways)
            shapes[length].push_back({ offsetsOf(*shipTemplate), weighted ? count : 1 });
    }
}

bool FleetSampler::observe(const SeaChart& chart)
{
    observed = false;
    open = hits = sunkCells = 0;
    for (auto& list : requirements)
        list.clear();
    mergeable.fill(false);
    if (!chart.consistent())
        return false;

    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            if (chart.isOpen(column, row))
                open |= bitAt(bitIndex(column, row));
            if (chart.isHit(column, row))
                hits |= bitAt(bitIndex(column, row));
        }
    }
    const Bits water = Grid & ~open & ~hits;
    std::array<Bits, LongestShip + 1> hitsOfLength {};
    for (const SeaChart::HitGroup& group : chart.hitGroups()) {
        Requirement requirement;
        requirement.sunk = group.sunk;
        for (const GridCell& cell : group.cells)
            requirement.cells |= bitAt(bitIndex(cell.column, cell.row));
        hitsOfLength[group.length] |= requirement.cells;
        if (group.sunk)
            sunkCells |= requirement.cells;
        requirements[group.length].push_back(requirement);
    }

    for (int length = 1; length <= LongestShip; ++length) {
        allowed[length] = Grid & ~water & ~dilate(hits & ~hitsOfLength[length]);
        // Two groups of hits fit one ship only if a joined run of `length` cells can span
        // both, which needs at least width + height - 1 cells.
        const auto& list = requirements[length];
        for (std::size_t a = 0; a < list.size(); ++a) {
            for (std::size_t b = a + 1; b < list.size(); ++b) {
                if (list[a].sunk || list[b].sunk)
                    continue;
                const Bits both = list[a].cells | list[b].cells;
                int minColumn = Board::Size, maxColumn = -1, minRow = Board::Size, maxRow = -1;
                for (int column = 0; column < Board::Size; ++column) {
                    const int rows = rowsOf(both, column);
                    if (!rows)
                        continue;
                    minColumn = std::min(minColumn, column);
                    maxColumn = column;
                    minRow = std::min(minRow, std::countr_zero(unsigned(rows)));
                    maxRow = std::max(maxRow, 31 - std::countl_zero(unsigned(rows)));
                }
                if ((maxColumn - minColumn + 1) + (maxRow - minRow + 1) - 1 <= length)
                    mergeable[length] = true;
            }
        }
        // A sunk ship must be one of the shapes this sampler draws.
        for (const Requirement& requirement : list) {
            if (!requirement.sunk)
                continue;
            bool matched = false;
            for (const Shape& shape : shapes[length]) {
                // Try every cell of the shape as the group's lowest cell.
                for (int first : shape.offsets) {
                    const int start = lowestBit(requirement.cells) - first;
                    Bits placed = 0;
                    bool fits = true;
                    for (int offset : shape.offsets) {
                        const int index = start + offset;
                        fits = fits && index >= 0 && index < 128 && (Grid & bitAt(index));
                        if (fits)
                            placed |= bitAt(index);
                    }
                    if (fits && placed == requirement.cells)
                        matched = true;
                }
            }
            if (!matched)
                return false;
        }
    }
    observed = true;
    return true;
}

FleetSampler::Fleet FleetSampler::drawFleet(RandomSource& random) const
{
    Fleet fleet;
    Bits cells = 0;
    fleet.weight = draw(random, cells);
    if (fleet.weight <= 0)
        return fleet;
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row)
            fleet.ship[column * Board::Size + row] = (cells & bitAt(bitIndex(column, row))) != 0;
    }
    return fleet;
}

void FleetSampler::sample(int draws, std::chrono::steady_clock::time_point deadline,
    RandomSource& random, Estimate& estimate) const
{
    if (!observed)
        return;
    for (int made = 0; made < draws; ++made) {
        if ((made & 31) == 31 && std::chrono::steady_clock::now() >= deadline)
            break;
        Bits fleet = 0;
        const double weight = draw(random, fleet);
        ++estimate.draws;
        if (weight <= 0)
            continue;
        ++estimate.validDraws;
        estimate.totalWeight += weight;
        for (Bits shown = fleet & open; shown; shown &= shown - 1) {
            const int index = lowestBit(shown);
            estimate.shipWeight[(index / Stride) * Board::Size + index % Stride] += weight;
        }
    }
}

// One fleet, ship by ship in the generator's order. Each ship is drawn among the places left
// free by the ships before it that agree with the observations: no water, no hit of a ship
// of another length, nothing touching a hit it does not cover, and a hit covered only with
// the whole of its group. A ship of a length that still has hits to cover covers one of them
// with the share of such groups among the ships of its length left (always, when no later ship
// could); otherwise it keeps clear of them. Within either choice a place is drawn by its odds
// under the prior. The weight is the product, over the ships, of the prior's odds of the
// chosen place among every place free of the ships before it, divided by the chance of
// drawing it.
double FleetSampler::draw(RandomSource& random, Bits& fleet) const
{
    struct Candidate {
        Bits cells;
        int weight;
    };
    const bool weighted = prior == Prior::Generator;
    std::array<int, LongestShip + 1> left {};
    for (int length : FleetLengths)
        ++left[length];

    Bits halo = 0;
    fleet = 0;
    double weight = 1;
    std::array<Candidate, 1024> covering;
    std::array<Bits, 20> clearAnchors {};
    std::array<int, 20> clearWeight {};
    for (int length : FleetLengths) {
        const int shipsLeft = left[length]--; // this one included
        int sunkOpen = 0;
        int afloatOpen = 0;
        Bits required = 0;
        for (const Requirement& requirement : requirements[length]) {
            if (requirement.cells & fleet)
                continue;
            required |= requirement.cells;
            ++(requirement.sunk ? sunkOpen : afloatOpen);
        }
        const int needed = sunkOpen + (mergeable[length] ? (afloatOpen > 0 ? 1 : 0) : afloatOpen);
        if (needed > shipsLeft)
            return 0;
        const bool mustCover = needed == shipsLeft && needed > 0;

        const Bits free = Grid & ~halo;
        const Bits allowedHere = free & allowed[length];
        const Bits near = required ? dilate(required) : Bits(0);
        int everyWeight = 0; // of every place free of the ships before
        int clearTotal = 0;
        int coverTotal = 0;
        int coverCount = 0;
        const auto& lengthShapes = shapes[length];
        for (std::size_t s = 0; s < lengthShapes.size(); ++s) {
            const Shape& shape = lengthShapes[s];
            Bits anchors = Grid;
            Bits nearAnchors = 0;
            Bits freeAnchors = Grid;
            for (int offset : shape.offsets) {
                anchors &= anchorsInto(allowedHere, offset);
                nearAnchors |= anchorsInto(near, offset);
                freeAnchors &= anchorsInto(free, offset);
            }
            everyWeight += shape.weight * anchorWeight(freeAnchors, weighted);
            clearAnchors[s] = mustCover ? Bits(0) : anchors & ~nearAnchors;
            clearWeight[s] = shape.weight * anchorWeight(clearAnchors[s], weighted);
            clearTotal += clearWeight[s];
            // A place near a hit to cover must cover it: otherwise it would touch that ship.
            for (Bits touch = anchors & nearAnchors; touch; touch &= touch - 1) {
                const int anchor = lowestBit(touch);
                Bits cells = 0;
                for (int offset : shape.offsets)
                    cells |= bitAt(anchor + offset);
                if (dilate(cells) & required & ~cells)
                    continue;
                // A ship with an open cell holds no sunk cell; a ship with none must be
                // a sunk one.
                if ((cells & open) ? (cells & sunkCells) != 0 : (cells & ~sunkCells) != 0)
                    continue;
                if (coverCount == static_cast<int>(covering.size()))
                    break;
                const int odds = shape.weight * oddsAt(anchor, weighted);
                covering[static_cast<std::size_t>(coverCount++)] = { cells, odds };
                coverTotal += odds;
            }
        }
        if (clearTotal + coverTotal == 0)
            return 0;

        // The chance of covering a hit now.
        double coverShare = static_cast<double>(std::min(sunkOpen + afloatOpen, shipsLeft))
            / static_cast<double>(shipsLeft);
        if (mustCover || clearTotal == 0)
            coverShare = 1;
        if (coverTotal == 0)
            coverShare = 0;
        const bool cover = coverShare >= 1 || (coverShare > 0 && unitDraw(random) < coverShare);
        weight *= cover ? coverTotal / coverShare : clearTotal / (1 - coverShare);
        weight /= everyWeight;

        Bits cells = 0;
        if (cover) {
            int target = uniformBelow(random, coverTotal);
            for (int c = 0; c < coverCount && !cells; ++c) {
                if (target < covering[static_cast<std::size_t>(c)].weight)
                    cells = covering[static_cast<std::size_t>(c)].cells;
                else
                    target -= covering[static_cast<std::size_t>(c)].weight;
            }
        } else {
            int target = uniformBelow(random, clearTotal);
            for (std::size_t s = 0; s < lengthShapes.size() && !cells; ++s) {
                if (target >= clearWeight[s]) {
                    target -= clearWeight[s];
                    continue;
                }
                const int anchor
                    = pickAnchor(clearAnchors[s], target / lengthShapes[s].weight, weighted);
                for (int offset : lengthShapes[s].offsets)
                    cells |= bitAt(anchor + offset);
            }
        }
        fleet |= cells;
        halo |= dilate(cells);
    }
    if ((fleet & hits) != hits)
        return 0;
    return weight;
}
