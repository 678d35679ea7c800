#include "shotexchange.h"

#include <algorithm>

int ShotExchange::enemyHits() const
{
    return static_cast<int>(std::count(enemyGrid.cells.begin(), enemyGrid.cells.end(), CellShip));
}

void ShotExchange::fire(GridCell cell)
{
    lastShot = cell;
    pending = true;
}

bool ShotExchange::replied(Shot::Outcome outcome, char length)
{
    mark(outcome, length);
    pending = false;
    if (++turnShots < 3)
        return false;
    shooter = false;
    turnShots = 0;
    answeredThisTurn = 0;
    return true;
}

void ShotExchange::yieldedShotReplied(Shot::Outcome outcome, char length)
{
    mark(outcome, length);
    yieldedPending = false;
}

void ShotExchange::mark(Shot::Outcome outcome, char length)
{
    opening = false;
    answered.push_back({ Side::Mine, lastShot, outcome, outcome == Shot::Miss ? '\0' : length });
    if (outcome == Shot::Miss) {
        enemyGrid.setCell(lastShot, CellWater);
    } else {
        enemyGrid.setCell(lastShot, CellShip);
        if (outcome == Shot::Sunk)
            enemyGrid.measureShip(lastShot.column, lastShot.row, MarkWater);
    }
}

// A cell off the grid holds no ship, and nothing is marked there.
Shot ShotExchange::receive(GridCell cell, Board& own, Board& cover)
{
    ++answeredThisTurn;
    const std::uint8_t code = own.getCell(cell);
    const bool hit = code == CellShip || code == CellHit;
    own.setCell(cell, hit ? CellHit : CellWater);
    cover.setCell(cell, hit ? CellHit : CellWater);
    if (!hit)
        return { Side::Opponents, cell, Shot::Miss };
    const int length = own.measureShip(cell.column, cell.row, CountCells);
    const int unhit = own.measureShip(cell.column, cell.row, CountIntact);
    return { Side::Opponents, cell, unhit > 0 ? Shot::Hit : Shot::Sunk,
        static_cast<char>('0' + length) };
}

void ShotExchange::takeTurn()
{
    opening = false;
    yieldedPending = false;
    shooter = true;
    turnShots = 0;
    pending = false;
}

void ShotExchange::yieldOpeningTurn()
{
    yieldedPending = pending;
    shooter = false;
    pending = false;
    turnShots = 0;
    answeredThisTurn = 0;
    opening = false;
}

void ShotExchange::takeBackOpeningTurn()
{
    yieldedPending = false;
    shooter = true;
    pending = true;
    answeredThisTurn = 0;
}
