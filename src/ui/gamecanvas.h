#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

class Board;
class MatchEngine;

// The main window's client area behind its controls: the two grids, their cursors and
// animations. Everything is drawn into a persistent image in the window's logical pixel
// coordinates and shown at once; the paint event only copies the image. Mouse moves and
// clicks go to the match engine, which decides what they mean.
class GameCanvas : public QWidget {
    Q_OBJECT

public:
    GameCanvas(MatchEngine& engine, QWidget* parent); // engine not owned

    void setCoverColour(QColor colour);
    QColor coverColour() const { return cover; }

    // The drawing window requests of the match engine.
    void drawBoard(const Board& board);
    void eraseCursor(const Board& board);
    void drawCursor(const Board& board);
    void paintGrids(); // the left grid, and the enemy grid while playing, with their cursors
    void flashHit(const Board& shown);
    void fadeOut(const Board& leaving);
    void fadeIn(const Board& arriving);
    void drawCoverPanel(); // over the enemy grid's area, in the cover colour

    const QImage& image() const { return surface; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    MatchEngine& engine;
    QColor cover;
    QImage surface;
};
