#include "fleetsampler.h"

#include "cellbits.h"
#include "seachart.h"

#include "core/board.h"
#include "core/fleetgenerator.h"

#include <algorithm>
#include <map>
#include <utility>

using namespace cellbits;

namespace {

// A draw in [0, 1) from the raw output of the source.
double unitDraw(RandomSource& random) { return static_cast<double>(random()) / 4294967296.0; }

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
                    shape.offsets.push_back(bitIndex(column, row));
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

void FleetSampler::sample(int draws, std::chrono::steady_clock::time_point guard,
    RandomSource& random, Estimate& estimate) const
{
    if (!observed)
        return;
    for (int made = 0; made < draws; ++made) {
        if ((made & 31) == 31 && std::chrono::steady_clock::now() >= guard)
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
