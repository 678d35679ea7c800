#include "gamecanvas.h"

#include "match/matchengine.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

GameCanvas::GameCanvas(MatchEngine& matchEngine, QWidget* parent)
    : QWidget(parent)
    , engine(matchEngine)
    , cover(Qt::lightGray)
    , surface(579, 489, QImage::Format_RGB32)
{
    setMouseTracking(true);
    setGeometry(0, 0, 579, 489);
    surface.fill(palette().color(QPalette::Window));
}

void GameCanvas::setCoverColour(QColor colour) { cover = colour; }

void GameCanvas::drawBoard(const Board&) { }
void GameCanvas::eraseCursor(const Board&) { }
void GameCanvas::drawCursor(const Board&) { }
void GameCanvas::paintGrids() { }
void GameCanvas::flashHit(const Board&) { }
void GameCanvas::fadeOut(const Board&) { }
void GameCanvas::fadeIn(const Board&) { }
void GameCanvas::drawCoverPanel() { }

void GameCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, surface);
}

void GameCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    engine.onMouseMove(point.x(), point.y());
}

void GameCanvas::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    engine.onMouseMove(point.x(), point.y());
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
