// The player's pointer and keyboard over the two grids.

#include "matchengine.h"
#include "windowrequests.h"

#include <algorithm>

// Records which grid the pointer is over and keeps that grid's cursor on the cell under
// it, redrawing only the cell left and the cell entered. The enemy grid's cursor moves
// only during play.
void MatchEngine::onMouseMove(int x, int y)
{
    auto cellUnder = [x, y](const Board& board, int& column, int& row) {
        const int left = board.originX;
        const int top = board.originY;
        if (x <= left || x >= left + 250 || y <= top || y >= top + 250)
            return false;
        column = (x - left) / 25;
        row = (y - top) / 25;
        return true;
    };
    auto moveCursor = [this](Board& board, int column, int row) {
        if (board.cursorColumn == column && board.cursorRow == row)
            return;
        window.eraseCursor(board);
        board.setCursor(column, row);
        window.drawCursor(board);
    };

    state.mouseRegion = MouseRegion::None;
    int column = 0;
    int row = 0;
    if (cellUnder(*displayed, column, row)) {
        state.mouseRegion = MouseRegion::OwnGrid;
        moveCursor(*displayed, column, row);
    }
    if (cellUnder(enemy, column, row)) {
        state.mouseRegion = MouseRegion::EnemyGrid;
        if (state.phase == GamePhase::Playing)
            moveCursor(enemy, column, row);
    }
}

void MatchEngine::onLeftButtonDown()
{
    if (state.mouseRegion == MouseRegion::OwnGrid) {
        if (state.phase == GamePhase::Placing)
            placeCell();
        return;
    }
    fireShot();
}

void MatchEngine::onRightButtonDown()
{
    if (state.mouseRegion == MouseRegion::OwnGrid && state.phase == GamePhase::Placing)
        removeCell();
}

void MatchEngine::pointAtCell(const Board& board, int column, int row)
{
    onMouseMove(board.originX + 25 * column + 12, board.originY + 25 * row + 12);
}

void MatchEngine::aimAt(int column, int row) { pointAtCell(enemy, column, row); }

MouseRegion MatchEngine::keyboardGrid() const
{
    switch (state.phase) {
    case GamePhase::Placing:
        return MouseRegion::OwnGrid;
    case GamePhase::Playing:
        return MouseRegion::EnemyGrid;
    default:
        return MouseRegion::None;
    }
}

// The keyboard points as the mouse does, at the middle of a cell of the grid in play,
// starting from the cell last pointed at there.
void MatchEngine::moveKeyboardCursor(int columns, int rows)
{
    const MouseRegion grid = keyboardGrid();
    if (grid == MouseRegion::None)
        return;
    const Board& board = grid == MouseRegion::OwnGrid ? *displayed : enemy;
    pointAtCell(board, std::clamp(board.cursorColumn + columns, 0, Board::Size - 1),
        std::clamp(board.cursorRow + rows, 0, Board::Size - 1));
}

void MatchEngine::onKeyboardCell(bool set)
{
    if (keyboardGrid() == MouseRegion::None)
        return;
    moveKeyboardCursor(0, 0);
    if (set)
        onLeftButtonDown();
    else
        onRightButtonDown();
}
