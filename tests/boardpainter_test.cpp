#include "pixelprobe.h"

#include "core/board.h"
#include "ui/boardpainter.h"
#include "ui/surface.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr QRgb Paper = qRgb(212, 208, 200);

struct ColourCase {
    std::uint8_t code;
    int shade;
    std::uint8_t fade;
    QRgb expected;
};

TEST(CellColour, ShadeWrapAndFade)
{
    const ColourCase cases[] = {
        { CellEmpty, 0, 0, qRgb(20, 20, 100) }, { CellShip, 0, 0, qRgb(200, 50, 50) },
        { CellWater, 0, 0, qRgb(50, 50, 255) }, { CellHit, 0, 0, qRgb(255, 200, 20) },
        { BoardPainter::FrameCode, 0, 0, qRgb(20, 20, 20) }, { CellCover, 0, 0, qRgb(30, 100, 30) },
        { CellShip, 54, 0, qRgb(254, 104, 104) }, // cell (9, 9) of a ship
        { CellHit, 54, 0, qRgb(255, 254, 74) }, // red stops at 255
        { 9, 0, 0, qRgb(255, 255, 255) }, // unknown codes are white
        { 6, 0, 0, qRgb(255, 255, 255) }, { 255, 0, 0, qRgb(255, 255, 255) },
        { 9, -1, 0, qRgb(254, 254, 254) },
        { BoardPainter::FrameCode, 140, 0, qRgb(160, 160, 160) }, // -116 wraps, not black
        { BoardPainter::FrameCode, 160, 0, qRgb(180, 180, 180) },
        { BoardPainter::FrameCode, 180, 0, qRgb(200, 200, 200) },
        { CellWater, -60, 0, qRgb(246, 246, 195) }, // each channel wraps on its own
        { CellShip, 127, 0, qRgb(255, 177, 177) }, { CellShip, 0, 100, qRgb(161, 69, 69) },
        { CellEmpty, 0, 100, qRgb(30, 30, 79) }, { CellShip, 0, 250, qRgb(102, 99, 99) },
        { CellShip, 0, 255, qRgb(100, 100, 100) }, // the grey of (200 + 50 + 50) / 3
        { CellEmpty, 0, 255, qRgb(46, 46, 46) },
        { CellShip, 54, 100, qRgb(215, 123, 123) }, // shade first, then fade
    };
    for (const ColourCase& c : cases) {
        const QRgb colour
            = BoardPainter::cellColour(c.code, static_cast<std::int8_t>(c.shade), c.fade);
        EXPECT_EQ(QColor(colour), QColor(c.expected))
            << "code " << int(c.code) << " shade " << c.shade << " fade " << int(c.fade);
    }
}

TEST(CellColour, FrameRunsEvenlyFromDarkToLight)
{
    for (int k = 0; k < 10; ++k) {
        const int grey = 20 + 20 * k;
        EXPECT_EQ(
            BoardPainter::cellColour(BoardPainter::FrameCode, static_cast<std::int8_t>(20 * k), 0),
            qRgb(grey, grey, grey))
            << k;
    }
}

// A board at the own grid's origin, drawn at device pixel ratio 1 and 2.
class BoardDrawing : public testing::TestWithParam<qreal> {
protected:
    QRgb at(int x, int y) const { return logicalPixel(surface.image(), x, y); }
    static QRgb cell(std::uint8_t code, int column, int row, std::uint8_t fade = 0)
    {
        return BoardPainter::cellColour(code, static_cast<std::int8_t>(column + 5 * row), fade);
    }
    static QRgb frame(int k) { return qRgb(20 + 20 * k, 20 + 20 * k, 20 + 20 * k); }

    Board board { 25, 10 };
    Surface surface { QSize(579, 489), GetParam(), Paper };
};

TEST_P(BoardDrawing, CellsShareTheirBorderLines)
{
    board.setCell(0, 0, CellShip);
    board.setCell(9, 9, CellHit);
    BoardPainter(board).drawBoard(surface);

    // Cell (0, 0) covers x 25..50, y 10..35.
    for (int i = 25; i <= 50; ++i) {
        EXPECT_EQ(at(i, 10), BoardPainter::outlineColour) << i;
        EXPECT_EQ(at(i, 35), BoardPainter::outlineColour) << i;
    }
    for (int i = 10; i <= 35; ++i) {
        EXPECT_EQ(at(25, i), BoardPainter::outlineColour) << i;
        EXPECT_EQ(at(50, i), BoardPainter::outlineColour) << i;
    }
    EXPECT_EQ(at(26, 11), cell(CellShip, 0, 0));
    EXPECT_EQ(at(49, 34), cell(CellShip, 0, 0));
    EXPECT_EQ(at(51, 11), cell(CellEmpty, 1, 0)); // the neighbour starts right after
    EXPECT_EQ(at(26, 36), cell(CellEmpty, 0, 1));
    EXPECT_EQ(at(24, 9), Paper);
    EXPECT_EQ(at(25, 9), Paper);

    // Cell (9, 9) covers x 250..275, y 235..260.
    EXPECT_EQ(at(250, 235), BoardPainter::outlineColour);
    EXPECT_EQ(at(275, 235), BoardPainter::outlineColour);
    EXPECT_EQ(at(250, 260), BoardPainter::outlineColour);
    EXPECT_EQ(at(275, 260), BoardPainter::outlineColour);
    EXPECT_EQ(at(251, 236), cell(CellHit, 9, 9));
    EXPECT_EQ(at(274, 259), cell(CellHit, 9, 9));
    EXPECT_EQ(at(249, 236), cell(CellEmpty, 8, 9));

    // Every cell in its own colour, with the row-and-column gradient.
    for (int column = 0; column < 10; ++column)
        for (int row = 0; row < 10; ++row)
            EXPECT_EQ(at(25 + 25 * column + 12, 10 + 25 * row + 12),
                cell(board.getCell(column, row), column, row))
                << column << ", " << row;
}

TEST_P(BoardDrawing, ShadowFrameLines)
{
    BoardPainter(board).drawBoard(surface);
    // Line 0: (26, 261) to (276, 261), then up to (276, 11), the end point excluded.
    EXPECT_EQ(at(26, 261), frame(0));
    EXPECT_EQ(at(150, 261), frame(0));
    EXPECT_EQ(at(275, 261), frame(0));
    EXPECT_EQ(at(276, 261), frame(0));
    EXPECT_EQ(at(276, 100), frame(0));
    EXPECT_EQ(at(276, 12), frame(0));
    EXPECT_EQ(at(276, 11), Paper);
    EXPECT_EQ(at(25, 261), Paper);
    // Line 9: (35, 270) to (285, 270), then up to (285, 20).
    EXPECT_EQ(at(35, 270), frame(9));
    EXPECT_EQ(at(285, 270), frame(9));
    EXPECT_EQ(at(285, 21), frame(9));
    EXPECT_EQ(at(285, 20), Paper);
    EXPECT_NE(at(34, 270), frame(9));
    EXPECT_EQ(at(286, 150), Paper);
    EXPECT_EQ(at(150, 271), Paper);
    // The lines between, each a step lighter, one pixel further out.
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(at(276 + k, 261 + k), frame(k)) << k;
        EXPECT_EQ(at(200, 261 + k), frame(k)) << k;
        EXPECT_EQ(at(276 + k, 100), frame(k)) << k;
        EXPECT_EQ(at(276 + k, 12 + k), frame(k)) << k;
        EXPECT_EQ(at(276 + k, 11 + k), Paper) << k;
    }
}

// Each label lies in its character cell, coloured, with its grey shadow 5 pixels right and
// below.
TEST_P(BoardDrawing, LabelsAndShadows)
{
    BoardPainter(board).drawBoard(surface);
    const QFontMetrics metrics(surface.font());
    const int width = metrics.horizontalAdvance(QLatin1Char('M'));
    const int height = metrics.height();
    auto cellAt = [&](int x, int y) { return QRect(x, y, width, height); };
    const QImage& image = surface.image();
    for (int row = 0; row < 10; ++row) {
        EXPECT_TRUE(holdsColour(image, cellAt(10, 18 + 25 * row), BoardPainter::labelColour))
            << "row " << row;
        EXPECT_TRUE(holdsColour(image, cellAt(15, 23 + 25 * row), BoardPainter::labelShadowColour))
            << "row " << row;
    }
    for (int column = 0; column < 10; ++column) {
        EXPECT_TRUE(holdsColour(image, cellAt(33 + 25 * column, 268), BoardPainter::labelColour))
            << "column " << column;
        EXPECT_TRUE(
            holdsColour(image, cellAt(38 + 25 * column, 273), BoardPainter::labelShadowColour))
            << "column " << column;
    }
    // Nothing of the labels above the grid or right of the frame.
    EXPECT_FALSE(holdsColour(image, QRect(0, 0, 579, 9), BoardPainter::labelColour));
    EXPECT_FALSE(holdsColour(image, QRect(287, 0, 292, 489), BoardPainter::labelColour));
}

// The letters differ from row to row, and the digits from column to column.
TEST_P(BoardDrawing, LabelsAreDistinct)
{
    BoardPainter(board).drawBoard(surface);
    const QFontMetrics metrics(surface.font());
    const int width = metrics.horizontalAdvance(QLatin1Char('M'));
    const int height = metrics.height();
    const int ratio = static_cast<int>(GetParam());
    auto glyph = [&](int x, int y) {
        return surface.image().copy(x * ratio, y * ratio, width * ratio, height * ratio);
    };
    for (int i = 1; i < 10; ++i) {
        EXPECT_NE(glyph(10, 18), glyph(10, 18 + 25 * i)) << i;
        EXPECT_NE(glyph(33, 268), glyph(33 + 25 * i, 268)) << i;
    }
}

TEST_P(BoardDrawing, CursorDrawnThenErasedLeavesTheCellAsDrawn)
{
    board.setCell(3, 4, CellShip);
    board.setCursor(3, 4);
    const BoardPainter painter(board);
    painter.drawBoard(surface);
    const QImage drawn = surface.image().copy();

    painter.drawCursor(surface);
    EXPECT_EQ(at(100, 110), BoardPainter::cursorColour); // corner (25 + 75, 10 + 100)
    EXPECT_EQ(at(125, 135), BoardPainter::cursorColour);
    EXPECT_EQ(at(110, 120), cell(CellShip, 3, 4, BoardPainter::cursorFade));
    EXPECT_NE(surface.image(), drawn);

    painter.eraseCursor(surface);
    EXPECT_EQ(surface.image(), drawn);
}

TEST_P(BoardDrawing, FadedFrameRedrawsOnlyTheCells)
{
    board.setCell(0, 0, CellShip);
    board.setCell(5, 5, CellWater);
    const BoardPainter painter(board);
    painter.drawBoard(surface);
    const QImage drawn = surface.image().copy();

    painter.drawBoardFaded(surface, 120);
    for (int column = 0; column < 10; ++column)
        for (int row = 0; row < 10; ++row)
            EXPECT_EQ(at(25 + 25 * column + 5, 10 + 25 * row + 20),
                cell(board.getCell(column, row), column, row, 120));
    EXPECT_EQ(at(50, 35), BoardPainter::outlineColour);
    // Labels and frame stay as they were.
    const int ratio = static_cast<int>(GetParam());
    for (int y = 0; y < 489 * ratio; ++y)
        for (int x = 0; x < 579 * ratio; ++x) {
            const bool inGrid
                = x >= 25 * ratio && x < 276 * ratio && y >= 10 * ratio && y < 261 * ratio;
            if (!inGrid && surface.image().pixel(x, y) != drawn.pixel(x, y)) {
                ADD_FAILURE() << "device pixel (" << x << ", " << y << ") changed";
                return;
            }
        }
}

TEST_P(BoardDrawing, CoverPanelOverTheEnemyGrid)
{
    const Board enemy(310, 10);
    const QRgb coverColour = qRgb(192, 192, 192);
    const BoardPainter painter(enemy);
    painter.drawBoard(surface);
    painter.drawCoverPanel(surface, coverColour);
    // From (295, 7) to (572, 290): with no outline the last column is 570 and the last row
    // 288.
    EXPECT_EQ(at(295, 7), coverColour);
    EXPECT_EQ(at(570, 7), coverColour);
    EXPECT_EQ(at(295, 288), coverColour);
    EXPECT_EQ(at(570, 288), coverColour);
    EXPECT_EQ(at(430, 150), coverColour);
    EXPECT_EQ(at(570, 100), coverColour); // over the outermost frame line
    EXPECT_EQ(at(294, 100), Paper);
    EXPECT_EQ(at(571, 100), Paper);
    EXPECT_EQ(at(400, 6), Paper);
    EXPECT_EQ(at(400, 289), Paper);
    // It takes in every label, shadow included.
    EXPECT_FALSE(holdsColour(surface.image(), QRect(280, 0, 299, 489), BoardPainter::labelColour));
    EXPECT_FALSE(
        holdsColour(surface.image(), QRect(280, 0, 299, 489), BoardPainter::labelShadowColour));
}

// Every routine puts back the pen, brush, mode and text colour it found.
TEST_P(BoardDrawing, SettingsAreRestored)
{
    const Surface::Pen pen = Surface::Pen::solid(qRgb(1, 2, 3));
    const QRgb brush = qRgb(4, 5, 6);
    const QRgb text = qRgb(7, 8, 9);
    surface.selectPen(pen);
    surface.selectBrush(brush);
    surface.setTextColour(text);
    const BoardPainter painter(board);
    painter.drawBoard(surface);
    painter.drawCursor(surface);
    painter.eraseCursor(surface);
    painter.drawBoardFaded(surface, 50);
    painter.drawCoverPanel(surface, qRgb(10, 10, 10));
    painter.drawCell(2, 2, CellShip, surface, 0);
    EXPECT_EQ(surface.selectPen(Surface::Pen::none()), pen);
    EXPECT_EQ(surface.selectBrush(0), brush);
    EXPECT_EQ(surface.setTextColour(0), text);
    EXPECT_EQ(surface.setBackgroundMode(Surface::BackgroundMode::Opaque),
        Surface::BackgroundMode::Opaque);
}

TEST_P(BoardDrawing, CellUsesTheCurrentPen)
{
    surface.selectPen(Surface::Pen::solid(qRgb(0, 255, 0)));
    BoardPainter(board).drawCell(2, 3, CellWater, surface, 0);
    EXPECT_EQ(at(75, 85), qRgb(0, 255, 0));
    EXPECT_EQ(at(100, 110), qRgb(0, 255, 0));
    EXPECT_EQ(at(101, 111), Paper);
    EXPECT_EQ(at(80, 90), cell(CellWater, 2, 3));
    EXPECT_EQ(surface.rectangleCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Ratio, BoardDrawing, testing::Values(1.0, 2.0));

} // namespace
