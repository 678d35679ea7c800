#include "boardpainter.h"

#include "gridgeometry.h"
#include "surface.h"

#include "core/board.h"

#include <QChar>

#include <algorithm>
#include <array>

namespace {

constexpr int Pitch = GridGeometry::Pitch;
constexpr int CellSpan = GridGeometry::CellSpan;

constexpr std::array<QRgb, 7> palette {
    qRgb(20, 20, 100), // CellEmpty
    qRgb(200, 50, 50), // CellShip
    qRgb(50, 50, 255), // CellWater
    qRgb(255, 200, 20), // CellHit
    qRgb(20, 20, 20), // the shadow frame
    qRgb(30, 100, 30), // CellCover
    qRgb(150, 150, 160), // an opponent's ship revealed at the end
};

int shaded(int channel, int shade)
{
    if (shade > 0)
        return std::min(channel + shade, 255);
    return (channel + shade) & 0xff; // darker shades wrap around instead of stopping at black
}

int faded(int channel, int grey, int fade)
{
    const int pull = fade * (channel - grey) / 255; // truncated toward zero
    return std::clamp(channel - pull, 0, 255);
}

} // namespace

QRgb BoardPainter::cellColour(std::uint8_t code, std::int8_t shade, std::uint8_t fade)
{
    const QRgb base = code < palette.size() ? palette[code] : qRgb(255, 255, 255);
    const int red = shaded(qRed(base), shade);
    const int green = shaded(qGreen(base), shade);
    const int blue = shaded(qBlue(base), shade);
    if (fade == 0)
        return qRgb(red, green, blue);
    const int grey = (red + green + blue) / 3;
    return qRgb(faded(red, grey, fade), faded(green, grey, fade), faded(blue, grey, fade));
}

void BoardPainter::drawCell(
    int column, int row, std::uint8_t code, Surface& surface, std::uint8_t fade) const
{
    // Each row is five steps brighter than the one above, each column one step brighter
    // than the one to its left: a light gradient from top-left to bottom-right.
    const auto shade = static_cast<std::int8_t>(column + 5 * row);
    const QRgb previous = surface.selectBrush(cellColour(code, shade, fade));
    const QPoint corner = grid.cellCorner(column, row);
    surface.rectangle(corner.x(), corner.y(), corner.x() + CellSpan, corner.y() + CellSpan);
    surface.selectBrush(previous);
}

void BoardPainter::drawBoard(Surface& surface) const
{
    const int ox = grid.origin.x();
    const int oy = grid.origin.y();
    const Surface::Pen previousPen = surface.selectPen(Surface::Pen::solid(outlineColour));
    const auto previousMode = surface.setBackgroundMode(Surface::BackgroundMode::Transparent);
    const QRgb previousText = surface.setTextColour(qRgb(0, 0, 0));

    // Each label has a shadow copy 5 pixels right and below, drawn first.
    auto label = [&surface](int x, int y, char character) {
        surface.setTextColour(labelShadowColour);
        surface.textOut(x + 5, y + 5, QChar::fromLatin1(character));
        surface.setTextColour(labelColour);
        surface.textOut(x, y, QChar::fromLatin1(character));
    };
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            if (column == 0)
                label(ox - 15, oy + Pitch * row + 8, static_cast<char>('A' + row));
            if (row == 0)
                label(ox + Pitch * column + 8, oy + 258, static_cast<char>('0' + column));
            drawCell(column, row, board.getCell(column, row), surface, 0);
        }
    }

    // The shadow frame: ten lines from dark next to the grid to light outside, each one
    // pixel further right and lower than the one before. Shades of 140 and more are
    // negative as signed bytes and wrap, which keeps the steps even.
    for (int k = 0; k < 10; ++k) {
        const auto shade = static_cast<std::int8_t>(20 * k);
        const Surface::Pen framePen
            = surface.selectPen(Surface::Pen::solid(cellColour(FrameCode, shade, 0)));
        surface.moveTo(ox + k + 1, oy + 251 + k);
        surface.lineTo(ox + 251 + k, oy + 251 + k);
        surface.lineTo(ox + 251 + k, oy + k + 1);
        surface.selectPen(framePen);
    }

    surface.selectPen(previousPen);
    surface.setBackgroundMode(previousMode);
    surface.setTextColour(previousText);
}

void BoardPainter::redrawCell(Surface& surface, GridCell cell, bool highlighted) const
{
    const Surface::Pen previous
        = surface.selectPen(Surface::Pen::solid(highlighted ? cursorColour : outlineColour));
    drawCell(cell.column, cell.row, board.getCell(cell), surface, highlighted ? cursorFade : 0);
    surface.selectPen(previous);
}

void BoardPainter::eraseCursor(Surface& surface, GridCell cursor) const
{
    redrawCell(surface, cursor, false);
}

void BoardPainter::drawCursor(Surface& surface, GridCell cursor) const
{
    redrawCell(surface, cursor, true);
}

void BoardPainter::drawBoardFaded(Surface& surface, std::uint8_t fade) const
{
    const Surface::Pen previous = surface.selectPen(Surface::Pen::solid(outlineColour));
    for (int column = 0; column < Board::Size; ++column)
        for (int row = 0; row < Board::Size; ++row)
            drawCell(column, row, board.getCell(column, row), surface, fade);
    surface.selectPen(previous);
}

void BoardPainter::drawRevealed(Surface& surface, const Board& fleet) const
{
    const Surface::Pen previous = surface.selectPen(Surface::Pen::solid(outlineColour));
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            const std::uint8_t code = fleet.getCell(column, row);
            if ((code == CellShip || code == CellHit) && board.getCell(column, row) == CellEmpty)
                drawCell(column, row, RevealedCode, surface, 0);
        }
    }
    surface.selectPen(previous);
}

void BoardPainter::drawCoverPanel(Surface& surface, QRgb colour) const
{
    const Surface::Pen previousPen = surface.selectPen(Surface::Pen::none());
    const QRgb previousBrush = surface.selectBrush(colour);
    const QRect area = grid.fullArea();
    surface.rectangle(area.left(), area.top(), area.right(), area.bottom());
    surface.selectPen(previousPen);
    surface.selectBrush(previousBrush);
}
