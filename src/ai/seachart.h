#pragma once

#include "shotplanner.h"

#include <array>
#include <cstdint>
#include <vector>

// What a shooter has learnt of the opponent's grid: the cells still open, the water, and
// the hits, each with the length of its ship as the reply named it. Hits that touch (even at
// a corner) belong to one ship, since ships never touch; a ship that sank is known whole.
class SeaChart {
public:
    // The hits of one ship.
    struct HitGroup {
        std::vector<GridCell> cells;
        int length = 0; // of the whole ship
        bool sunk = false; // then the cells are the whole ship
    };

    explicit SeaChart(const FiringView& view);

    bool isOpen(int column, int row) const { return cellAt(column, row) == Open; }
    bool isHit(int column, int row) const { return cellAt(column, row) == Hit; }
    int openCount() const { return open; }

    // The hit groups: the sunk ships first, then the hits of ships still afloat.
    const std::vector<HitGroup>& hitGroups() const { return groups; }

    // False when the replies contradict the fleet rules (a length that is no fleet ship, a sunk
    // ship of the wrong size, more ships of a length than the fleet has...): an opponent that
    // does not play by the rules. Planners then fall back to rules that assume less.
    bool consistent() const { return isConsistent; }

private:
    enum Mark : std::uint8_t { Open, Water, Hit };
    Mark cellAt(int column, int row) const;
    void findGroups(const std::array<int, 100>& lengths, const std::array<bool, 100>& sunkAt);
    void checkConsistency();

    std::array<Mark, 100> marks {};
    std::vector<HitGroup> groups;
    int open = 0;
    bool isConsistent = true;
};
