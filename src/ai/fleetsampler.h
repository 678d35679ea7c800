#pragma once

#include "cellbits.h"
#include "shotplanner.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

class SeaChart;

// Draws whole fleets that agree with everything a shooter has seen: the misses and the
// water, the hits and the ship length each reply named, the ships known sunk, the rule that
// ships never touch, the T of five and the ships still afloat. Each fleet comes with an
// importance weight, so the weighted share of fleets that put a ship on a cell estimates
// how likely a ship is there.
//
// A fleet is drawn ship by ship in the generator's order, each ship among the places that
// still agree with the observations, covering a hit of its length or keeping clear of it. The
// weight corrects for the narrowed choice, so the estimate is that of the prior conditioned
// on the observations.
class FleetSampler {
public:
    enum class Shapes {
        Generated, // straight ships of 2 to 4 and the T of 5, as the generator makes them
        AnyLegal, // every shape a fleet built by hand may have: bent threes, any four
    };
    enum class Prior {
        Generator, // fleets as likely as the game's generator makes them (Generated shapes only)
        Even, // ship by ship, every place free of the ships before equally likely
    };

    // A set of cells, as column * 12 + row bits (see cellbits.h).
    using Bits = cellbits::Bits;

    struct Estimate {
        std::array<double, 100> shipWeight {}; // index column * 10 + row; open cells only
        double totalWeight = 0;
        int draws = 0;
        int validDraws = 0; // draws that did not come to a dead end
    };

    FleetSampler(Shapes shapes, Prior prior);

    // Takes in what the chart shows. False when no fleet of these shapes can agree with it.
    bool observe(const SeaChart& chart);

    // Draws `draws` fleets and adds them to the estimate. The guard only stops a sampling
    // that has run far beyond any normal one: the draws are the budget, not the clock.
    void sample(int draws, std::chrono::steady_clock::time_point guard, RandomSource& random,
        Estimate& estimate) const;

    // One fleet: the weight (0 for a dead end) and its ship cells as column * 10 + row bits.
    struct Fleet {
        double weight = 0;
        std::array<bool, 100> ship {};
    };
    Fleet drawFleet(RandomSource& random) const;

private:
    struct Shape {
        std::vector<int> offsets; // bit offsets from the anchor
        int weight = 1; // relative weight of the shape among those of its length
    };
    struct Requirement {
        Bits cells = 0;
        bool sunk = false;
    };

    double draw(RandomSource& random, Bits& fleet) const;

    Prior prior;
    std::array<std::vector<Shape>, LongestShip + 1> shapes;

    // The observations.
    Bits open = 0;
    Bits hits = 0;
    Bits sunkCells = 0;
    std::array<Bits, LongestShip + 1> allowed {}; // cells a ship of each length may hold
    std::array<std::vector<Requirement>, LongestShip + 1> requirements;
    // Two groups of hits of this length might lie in one ship, so a ship may cover both.
    std::array<bool, LongestShip + 1> mergeable {};
    bool observed = false;
};
