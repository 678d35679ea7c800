#include "fleetgenerator.h"

#include "board.h"

namespace {

constexpr std::int8_t End = 'E';

constexpr ShipTemplate single { { { 0, 0 }, { End, 0 } } };
constexpr ShipTemplate pairAcross { { { -1, 0 }, { 0, 0 }, { End, 0 } } };
constexpr ShipTemplate pairUpright { { { 0, -1 }, { 0, 0 }, { End, 0 } } };
constexpr ShipTemplate threeAcross { { { -1, 0 }, { 0, 0 }, { 1, 0 }, { End, 0 } } };
constexpr ShipTemplate threeUpright { { { 0, -1 }, { 0, 0 }, { 0, 1 }, { End, 0 } } };
constexpr ShipTemplate fourAcross { { { -2, 0 }, { -1, 0 }, { 0, 0 }, { 1, 0 }, { End, 0 } } };
constexpr ShipTemplate fourUpright { { { 0, -2 }, { 0, -1 }, { 0, 0 }, { 0, 1 }, { End, 0 } } };
// The T's anchor is its junction, the middle of the bar.
constexpr ShipTemplate tees[4] = {
    { { { -1, 0 }, { 0, 0 }, { 1, 0 }, { 0, 1 }, { 0, 2 }, { End, 0 } } }, // stem down
    { { { 0, -1 }, { 0, 0 }, { 0, 1 }, { -1, 0 }, { -2, 0 }, { End, 0 } } }, // stem left
    { { { -1, 0 }, { 0, 0 }, { 1, 0 }, { 0, -1 }, { 0, -2 }, { End, 0 } } }, // stem up
    { { { 0, -1 }, { 0, 0 }, { 0, 1 }, { 1, 0 }, { 2, 0 }, { End, 0 } } }, // stem right
};

// Attempts for one ship before the fleet starts again from a cleared board. A ship that
// fits at all finds its place within a few hundred attempts; only a board with no free
// 3x3 block left runs out.
constexpr int maxAttemptsPerShip = 1000;

bool placeShip(int length, Board& board, RandomSource& random)
{
    for (int attempt = 0; attempt < maxAttemptsPerShip; ++attempt) {
        const int column = randomCoordinate(random);
        const int row = randomCoordinate(random);
        const int choice = length > 1 ? randomCoordinate(random) : 0;
        if (tryPlaceShip(shipTemplateFor(length, choice), column, row, board))
            return true;
    }
    return false;
}

} // namespace

int randomCoordinate(RandomSource& random)
{
    int value = static_cast<int>(random() & 15u);
    if (value > 9)
        value -= 9;
    return value;
}

bool isClearAround(int column, int row, const Board& board)
{
    for (int dc = -1; dc <= 1; ++dc) {
        for (int dr = -1; dr <= 1; ++dr) {
            const int c = column + dc;
            const int r = row + dr;
            if (Board::onGrid(c, r) && board.getCell(c, r) != CellEmpty)
                return false;
        }
    }
    return true;
}

bool tryPlaceShip(const ShipTemplate& shipTemplate, int anchorColumn, int anchorRow, Board& board)
{
    for (const auto* cell = shipTemplate.offsets; cell->column != End; ++cell) {
        const int c = anchorColumn + cell->column;
        const int r = anchorRow + cell->row;
        if (!Board::onGrid(c, r) || !isClearAround(c, r, board))
            return false;
    }
    for (const auto* cell = shipTemplate.offsets; cell->column != End; ++cell)
        board.setCell(anchorColumn + cell->column, anchorRow + cell->row, CellShip);
    return true;
}

const ShipTemplate& shipTemplateFor(int length, int choice)
{
    const bool odd = choice % 2 != 0;
    switch (length) {
    case 2:
        return odd ? pairAcross : pairUpright;
    case 3:
        return odd ? threeUpright : threeAcross;
    case 4:
        return odd ? fourUpright : fourAcross;
    case 5:
        return tees[choice & 3];
    default:
        return single;
    }
}

void generateFleet(Board& board, RandomSource& random)
{
    for (;;) {
        board.clear();
        bool complete = true;
        for (int length : FleetLengths) {
            if (!placeShip(length, board, random)) {
                complete = false;
                break;
            }
        }
        if (complete)
            return;
    }
}
