#pragma once

#include "frameclock.h"
#include "surface.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class Board;
class MatchEngine;

// The main window's client area behind its controls: the two grids, their cursors and
// animations. Everything is drawn into a persistent image in the window's logical pixel
// coordinates, at the screen's device pixel ratio, and shown at once: each drawing request
// repaints the area it changed before it returns, and the paint event only copies the image.
// Mouse moves and clicks go to the match engine, which decides what they mean.
class GameCanvas : public QWidget {
    Q_OBJECT

public:
    static constexpr int Width = 579;
    static constexpr int Height = 489;

    GameCanvas(MatchEngine& engine, QWidget* parent); // engine not owned

    void setCoverColour(QColor colour);
    QColor coverColour() const { return cover; }
    // Paces the animations and flips the caption; nullptr puts back the real 16 ms clock.
    void setFrameClock(FrameClock* clock); // not owned

    // The drawing window requests of the match engine.
    void drawBoard(const Board& board);
    void eraseCursor(const Board& board);
    void drawCursor(const Board& board);
    void paintGrids(); // the left grid, and the enemy grid while playing, with their cursors
    void flashHit(const Board& shown);
    void fadeOut(const Board& leaving);
    void fadeIn(const Board& arriving);
    void drawCoverPanel(); // over the enemy grid's area, in the cover colour

    const QImage& image() const { return surface.image(); }
    const Surface& drawingSurface() const { return surface; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void drawGrids();
    void present();
    void fadeFrame(const Board& board, int fade);
    void rebuild(qreal devicePixelRatio);

    MatchEngine& engine;
    QColor cover;
    Surface surface;
    SteadyFrameClock steadyClock;
    FrameClock* clock = &steadyClock;
    // The cover panel lies over the enemy grid's area, not yet drawn over by the grid.
    bool coverPanelShown = false;
};
