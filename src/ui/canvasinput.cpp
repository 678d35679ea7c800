// The canvas's input: the player's pointer and keys become cells of the grids, which go to
// the match engine; the focus frame shows when the keys come here.

#include "gamecanvas.h"

#include "gridgeometry.h"

#include "match/matchengine.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

GameCanvas::Grid GameCanvas::keyboardGrid() const
{
    switch (engine.phase()) {
    case GamePhase::Placing:
        return Grid::Own;
    case GamePhase::Playing:
        return Grid::Enemy;
    default:
        return Grid::None;
    }
}

QRect GameCanvas::focusFrame() const
{
    switch (keyboardGrid()) {
    case Grid::Own:
        return ownGrid.focusFrame();
    case Grid::Enemy:
        return enemyGrid.focusFrame();
    default:
        return ownGrid.focusFrame().united(enemyGrid.focusFrame());
    }
}

// The frame follows the focus and the grid in play.
void GameCanvas::updateFocusFrame()
{
    const QRect now = hasFocus() ? focusFrame() : QRect();
    if (now == framed)
        return;
    update(framed);
    update(now);
    framed = now;
}

// Only the cell left and the cell entered are drawn again. The enemy grid's highlighted cell
// moves only in play; in play the own grid's follows the pointer unseen, and shows where it
// was left once the next match begins.
void GameCanvas::pointAt(Grid grid, GridCell cell)
{
    pointed = grid;
    if (grid == Grid::Enemy && engine.phase() != GamePhase::Playing)
        return;
    GridCell& cursor = grid == Grid::Own ? leftCursor : rightCursor;
    if (cursor == cell)
        return;
    if (grid == Grid::Own && !ownCursorShown()) {
        cursor = cell;
        return;
    }
    askCell(grid, cursor, false);
    cursor = cell;
    askCell(grid, cursor, true);
}

void GameCanvas::moveKeyboardCursor(int columns, int rows)
{
    const Grid grid = keyboardGrid();
    if (grid == Grid::None)
        return;
    const GridCell from = cursor(grid);
    pointAt(grid,
        { std::clamp(from.column + columns, 0, Board::Size - 1),
            std::clamp(from.row + rows, 0, Board::Size - 1) });
}

// A left click or Space sets a cell of the own grid while the fleet is built, or fires at
// the enemy grid; a right click or Delete takes a cell of the own grid away.
void GameCanvas::press(bool set)
{
    if (pointed == Grid::Own && engine.phase() == GamePhase::Placing) {
        if (set)
            engine.setCell(leftCursor);
        else
            engine.clearCell(leftCursor);
    } else if (pointed == Grid::Enemy && set) {
        engine.fireAt(rightCursor);
    }
}

void GameCanvas::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveKeyboardCursor(-1, 0);
        break;
    case Qt::Key_Right:
        moveKeyboardCursor(1, 0);
        break;
    case Qt::Key_Up:
        moveKeyboardCursor(0, -1);
        break;
    case Qt::Key_Down:
        moveKeyboardCursor(0, 1);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (keyboardGrid() != Grid::None) {
            moveKeyboardCursor(0, 0);
            press(event->key() != Qt::Key_Delete && event->key() != Qt::Key_Backspace);
        }
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void GameCanvas::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    updateFocusFrame();
}

void GameCanvas::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    updateFocusFrame();
}

void GameCanvas::mouseMoveEvent(QMouseEvent* event)
{
    // A logical pixel covers the positions from its own coordinate up to the next one.
    const QPointF position = event->position();
    const QPoint point(
        static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y())));
    pointed = Grid::None;
    if (const std::optional<GridCell> cell = ownGrid.cellAt(point))
        pointAt(Grid::Own, *cell);
    else if (const std::optional<GridCell> enemyCell = enemyGrid.cellAt(point))
        pointAt(Grid::Enemy, *enemyCell);
}

// A press also points, in case no move reached the cell pressed.
void GameCanvas::mousePressEvent(QMouseEvent* event)
{
    mouseMoveEvent(event);
    if (event->button() == Qt::LeftButton)
        press(true);
    else if (event->button() == Qt::RightButton)
        press(false);
}

// A right click takes a cell of the fleet being built away; anywhere else it opens the
// window's menu.
void GameCanvas::contextMenuEvent(QContextMenuEvent* event)
{
    if (pointed == Grid::Own && engine.phase() == GamePhase::Placing)
        event->accept();
    else
        event->ignore();
}
