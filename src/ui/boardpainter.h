#pragma once

#include <QRgb>

#include <cstdint>

#include "gridgeometry.h"

class Board;
class Surface;

// The drawing operations of one board: its 10x10 cells where its grid lies in the window, each
// filled in a colour from its code and position and outlined in blue, the rows lettered and
// the columns numbered (each label with a grey drop shadow), a graded shadow frame along the
// bottom and right, the cursor highlight, the faded cells of the animations and the cover
// panel. Nothing is kept between calls: every routine puts back the pen, brush, mode and
// text colour it changed, so the routines nest.
class BoardPainter {
public:
    BoardPainter(const Board& drawn, const GridGeometry& where)
        : board(drawn)
        , grid(where)
    {
    } // not owned

    // Code 4 is never stored in a board; it colours the shadow frame. Code 6 neither: it
    // colours an opponent's ship cell that was never hit, shown once the match is over.
    static constexpr std::uint8_t FrameCode = 4;
    static constexpr std::uint8_t RevealedCode = 6;
    static constexpr QRgb outlineColour = qRgb(100, 100, 255);
    static constexpr QRgb cursorColour = qRgb(200, 200, 0);
    static constexpr QRgb labelColour = qRgb(255, 100, 100);
    static constexpr QRgb labelShadowColour = qRgb(150, 150, 150);
    static constexpr std::uint8_t cursorFade = 100;

    // The colour of a code, brightened by shade (a negative shade wraps each channel modulo
    // 256 rather than stopping at 0) and then pulled fade/255 of the way towards its grey.
    static QRgb cellColour(std::uint8_t code, std::int8_t shade, std::uint8_t fade);

    // Fills and outlines one cell with the surface's current pen.
    void drawCell(
        int column, int row, std::uint8_t code, Surface& surface, std::uint8_t fade) const;
    // Labels, the 100 cells at full colour and the shadow frame.
    void drawBoard(Surface& surface) const;
    void eraseCursor(Surface& surface, GridCell cursor) const;
    void drawCursor(Surface& surface, GridCell cursor) const;
    // One cell as the board now holds it, with or without the cursor's highlight.
    void redrawCell(Surface& surface, GridCell cell, bool highlighted) const;
    // The 100 cells at one fade, outlined as usual: one frame of an animation.
    void drawBoardFaded(Surface& surface, std::uint8_t fade) const;
    // The ship cells of the fleet that this board (the enemy grid) knows nothing of yet, in
    // the revealed colour; the hits and water already known stay as they are.
    void drawRevealed(Surface& surface, const Board& fleet) const;
    // A borderless panel over the labels, the grid and the frame.
    void drawCoverPanel(Surface& surface, QRgb colour) const;

private:
    const Board& board;
    GridGeometry grid;
};
