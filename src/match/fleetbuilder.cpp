#include "fleetbuilder.h"

FleetBuilder::Step FleetBuilder::set(GridCell cell)
{
    if (!Board::onGrid(cell) || own.getCell(cell) != CellEmpty)
        return Step::Ignored;
    own.setCell(cell, CellShip);
    ++placed;
    if (placed < FleetCellCount)
        return Step::Set;
    lastFault = checkFleet(own);
    if (lastFault == FleetFault::None)
        return Step::Complete;
    --placed;
    own.setCell(cell, CellEmpty);
    return Step::Refused;
}

FleetBuilder::Step FleetBuilder::clear(GridCell cell)
{
    if (placed == 0)
        return Step::NothingToClear;
    if (own.getCell(cell) != CellShip)
        return Step::Ignored;
    --placed;
    own.setCell(cell, CellEmpty);
    // A fleet placed whole and changed by hand is no longer one to accept as it is.
    whole = false;
    return Step::Cleared;
}

void FleetBuilder::generate(RandomSource& random)
{
    generateFleet(own, random);
    placed = FleetCellCount;
    whole = true;
    fromGenerator = true;
}

void FleetBuilder::repeat(const Board& fleet, bool generated)
{
    own = fleet;
    placed = FleetCellCount;
    whole = true;
    fromGenerator = generated;
}
