// The canvas's input: the player's mouse and keys go to the match engine, and the focus
// frame shows when the keys come here.

#include "gamecanvas.h"

#include "match/matchengine.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

QRect GameCanvas::focusFrame() const
{
    const Board& own = engine.displayedBoard();
    const Board& enemy = engine.enemyBoard();
    const auto around = [](const Board& board) {
        return QRect(QPoint(board.originX - 17, board.originY - 6),
            QPoint(board.originX + 264, board.originY + 281));
    };
    switch (engine.keyboardGrid()) {
    case MouseRegion::OwnGrid:
        return around(own);
    case MouseRegion::EnemyGrid:
        return around(enemy);
    default:
        return around(own).united(around(enemy));
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

void GameCanvas::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        engine.moveKeyboardCursor(-1, 0);
        break;
    case Qt::Key_Right:
        engine.moveKeyboardCursor(1, 0);
        break;
    case Qt::Key_Up:
        engine.moveKeyboardCursor(0, -1);
        break;
    case Qt::Key_Down:
        engine.moveKeyboardCursor(0, 1);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        engine.onKeyboardCell(true);
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        engine.onKeyboardCell(false);
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
    const QPointF point = event->position();
    engine.onMouseMove(
        static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y())));
}

// A press also points, in case no move reached the cell pressed.
void GameCanvas::mousePressEvent(QMouseEvent* event)
{
    mouseMoveEvent(event);
    if (event->button() == Qt::LeftButton)
        engine.onLeftButtonDown();
    else if (event->button() == Qt::RightButton)
        engine.onRightButtonDown();
}

// Outside both grids a right click opens the window's menu.
void GameCanvas::contextMenuEvent(QContextMenuEvent* event)
{
    if (engine.matchState().mouseRegion == MouseRegion::None)
        event->ignore();
    else
        event->accept();
}
