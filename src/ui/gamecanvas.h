#pragma once

#include "frameclock.h"
#include "surface.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include "core/board.h"

#include <deque>
#include <optional>
#include <vector>

class MatchEngine;

// The main window's client area behind its controls: the two grids, their cursors and
// animations. Everything is drawn into a persistent image in the window's logical pixel
// coordinates, at the screen's device pixel ratio, and the paint event only copies the image.
// A drawing request is not carried out on the spot: it notes what must be drawn, and the next
// frame of the frame clock draws it, as the engine's state then stands, and asks for the
// screen to be updated. However many requests come between two frames (a peer may send
// thousands of messages a second), a frame draws each grid at most once, and frames come no
// faster than the clock's pace. Mouse moves and clicks go to the match engine, which decides
// what they mean, and so do the keys that play on the grid in play: the arrows move its
// highlighted cell, Space or Enter sets a cell or fires, Delete or Backspace takes a cell
// away. The canvas takes the keyboard focus by Tab or a click, and then shows a dotted frame
// around the grid in play (around both grids when neither is).
//
// The animations (the hit flash, the hide/show fades) draw one frame per tick of the frame
// clock. Meanwhile clicks and messages are handled as ever and take effect at once, but the
// left grid belongs to the animation: what they change there shows when it ends, and the
// grid is then drawn as it stands. A flash that comes while one plays starts it again; a
// hide/show transition takes the place of whatever was playing.
class GameCanvas : public QWidget {
    Q_OBJECT

public:
    static constexpr int Width = 579;
    static constexpr int Height = 489;

    GameCanvas(MatchEngine& engine, QWidget* parent); // engine not owned
    GameCanvas(const GameCanvas&) = delete;
    GameCanvas& operator=(const GameCanvas&) = delete;

    void setCoverColour(QColor colour);
    QColor coverColour() const { return cover; }
    // Paces the frames and flips the caption; nullptr puts back the real 16 ms clock.
    void setFrameClock(FrameClock* clock); // not owned
    bool animating() const { return !steps.empty() || playing; }

    // The drawing window requests of the match engine, drawn at the next frame.
    void drawBoard(const Board& board);
    void eraseCursor(const Board& board);
    void drawCursor(const Board& board);
    void paintGrids(); // the left grid, and the enemy grid while playing, with their cursors
    void flashHit(const Board& shown);
    void fadeOut(const Board& leaving);
    void fadeIn(const Board& arriving);
    void drawCoverPanel(); // over the enemy grid's area, in the cover colour
    // Once a match is over, shows on the enemy grid where the opponent's ships were that no
    // shot found; the enemy grid is drawn so until the next match begins.
    void revealFleet(const Board& fleet);

    // Draws now what waits for the next frame, and asks for the screen to be updated.
    void drawPending();
    // The picture as the next frame will have it: what waits for the frame is drawn first.
    const QImage& image()
    {
        drawPending();
        return surface.image();
    }
    const Surface& drawingSurface()
    {
        drawPending();
        return surface;
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // One step of an animation: a frame of a board at a fade, or a flip of the caption.
    struct Step {
        const Board* board = nullptr; // nullptr: a caption flip
        int fade = 0;
    };
    // What the next frame draws over one grid's area: the whole area first, if asked for,
    // then single cells, each the last time it was asked for and in that order (neighbours
    // share their border line), each as its board then stands.
    enum class Whole {
        Nothing,
        Board, // the board without its cursor
        Grid, // the board with its cursor
        CoverPanel,
    };
    struct Cell {
        const Board* board = nullptr;
        int column = 0;
        int row = 0;
        bool highlighted = false;
    };
    struct Pending {
        Whole whole = Whole::Nothing;
        const Board* board = nullptr; // of Whole::Board on the left grid
        std::vector<Cell> cells;
        bool empty() const { return whole == Whole::Nothing && cells.empty(); }
    };

    bool onLeftGrid(const Board& board) const;
    void askWhole(Pending& area, Whole whole, const Board* board = nullptr);
    void askCell(const Board& board, bool highlighted);
    void requestFrame();
    void frame();
    std::optional<int> animationStep();
    void drawAsked();
    void drawLeftGrid();
    void drawEnemyGrid();
    void present();
    void startAnimation();
    void stopAnimation();
    void flipCaption();
    void rebuild(qreal devicePixelRatio);
    QRect focusFrame() const; // around the grid in play
    void updateFocusFrame();

    MatchEngine& engine;
    QColor cover;
    Surface surface;
    SteadyFrameClock steadyClock;
    FrameClock* clock = &steadyClock;
    Pending left; // the own fleet or its cover
    Pending right; // the enemy grid, or the cover panel in its place
    // The cover panel lies over the enemy grid's area, not yet drawn over by the grid.
    bool coverPanelShown = false;
    std::deque<Step> steps; // of the animation playing, the next first
    bool playing = false; // an animation holds the left grid until its last tick
    bool captionFlipped = false; // an odd number of flips so far: the caption is not its own
    QRect framed; // where the focus frame was last asked to be shown
    std::optional<Board> revealed; // the opponent's fleet, shown while its match is over
};
