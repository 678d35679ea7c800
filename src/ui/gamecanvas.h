#pragma once

#include "frameclock.h"
#include "surface.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include "core/board.h"
#include "match/matchstate.h"

#include <array>
#include <deque>
#include <optional>
#include <vector>

class MatchEngine;

// The main window's client area behind its controls: the two grids, their highlighted cells
// and animations. Everything is drawn into a persistent image in the window's logical pixel
// coordinates, at the screen's device pixel ratio, and the paint event only copies the image.
// What the window asks for as the game goes on is not drawn on the spot: it notes what must
// be drawn, and the next frame of the frame clock draws it, as the engine's state then
// stands, and asks for the screen to be updated. However many requests come between two
// frames (a peer may send thousands of messages a second), a frame draws each grid at most
// once, and frames come no faster than the clock's pace.
//
// The canvas turns the player's pointer and keys into cells: the grid under the pointer and
// each grid's highlighted cell are its own. A click sets or takes away a cell of the own grid
// while the fleet is built, or fires at the enemy grid's cell; the engine decides what comes
// of it. The keys play on the grid in play: the arrows move its highlighted cell, Space or
// Enter sets a cell or fires, Delete or Backspace takes a cell away. The canvas takes the
// keyboard focus by Tab or a click, and then shows a dotted frame around the grid in play
// (around both grids when neither is).
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

    // The grids as the engine's state now stands, at the next frame: the left grid (unless
    // an animation holds it), and the enemy grid in play.
    void paintGrids();
    // The phase changed: in play the enemy grid is drawn over the cover panel, which alone
    // shows once a fleet is declared or the play is over; the grids are drawn again unless
    // the match has ended.
    void phaseChanged(GamePhase from, GamePhase to);
    void drawCoverPanel(); // over the enemy grid's area, in the cover colour
    // The left grid as it is shown pulses grey and back while the caption flashes.
    void flashHit();
    // The left grid fades out, then the other board fades in.
    void fadeBetween(const Board& leaving, const Board& arriving);
    // Once a match is over, shows on the enemy grid where the opponent's ships were that no
    // shot found; the enemy grid is drawn so until the next match begins.
    void revealFleet(const Board& fleet);

    enum class Grid { None, Own, Enemy };
    // The grid under the pointer, and each grid's highlighted cell. Only one grid shows its
    // highlight at a time: in play the enemy grid, else the own grid.
    Grid pointedGrid() const { return pointed; }
    GridCell cursor(Grid grid) const { return grid == Grid::Enemy ? rightCursor : leftCursor; }
    // The grid the keyboard plays on: the own grid while the fleet is built, the enemy grid
    // in play, none otherwise.
    Grid keyboardGrid() const;

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
        const Board* board = nullptr; // one of animatedBoards; nullptr: a caption flip
        int fade = 0;
    };
    // What the next frame draws over one grid's area: the whole area first, if asked for,
    // then single cells, each the last time it was asked for and in that order (neighbours
    // share their border line), each as its board then stands.
    enum class Whole {
        Nothing,
        Grid, // the board with its highlighted cell
        CoverPanel,
    };
    struct Cell {
        GridCell cell;
        bool highlighted = false;
    };
    struct Pending {
        Whole whole = Whole::Nothing;
        std::vector<Cell> cells;
        bool empty() const { return whole == Whole::Nothing && cells.empty(); }
    };

    void askWhole(Pending& area, Whole whole);
    void askCell(Grid grid, GridCell cell, bool highlighted);
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
    // Points at a cell of a grid, as the pointer or the keyboard does: it becomes the grid's
    // highlighted cell, except on the enemy grid out of play.
    void pointAt(Grid grid, GridCell cell);
    void moveKeyboardCursor(int columns, int rows);
    bool ownCursorShown() const;
    void press(bool set);
    QRect focusFrame() const; // around the grid in play
    void updateFocusFrame();

    MatchEngine& engine;
    QColor cover;
    Surface surface;
    SteadyFrameClock steadyClock;
    FrameClock* clock = &steadyClock;
    Pending left; // the own fleet or its cover
    Pending right; // the enemy grid, or the cover panel in its place
    Grid pointed = Grid::None;
    GridCell leftCursor;
    GridCell rightCursor;
    // The cover panel lies over the enemy grid's area, not yet drawn over by the grid.
    bool coverPanelShown = false;
    std::deque<Step> steps; // of the animation playing, the next first
    // The boards the animation shows, as they stood when it began: the game may change or
    // start them afresh meanwhile, as a match won with the fleet hidden shows it and begins
    // the next at once.
    std::array<Board, 2> animatedBoards;
    bool playing = false; // an animation holds the left grid until its last tick
    bool captionFlipped = false; // an odd number of flips so far: the caption is not its own
    QRect framed; // where the focus frame was last asked to be shown
    std::optional<Board> revealed; // the opponent's fleet, shown while its match is over
};
