#include "pixelprobe.h"

#include "core/board.h"
#include "ui/boardpainter.h"
#include "ui/surface.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr QRgb Paper = qRgb(212, 208, 200);

// The colour table, written out: each cell code's base colour and the fixed colours.
constexpr QRgb EmptyBase = qRgb(20, 20, 100);
constexpr QRgb ShipBase = qRgb(200, 50, 50);
constexpr QRgb HitBase = qRgb(255, 200, 20);
constexpr QRgb Outline = qRgb(100, 100, 255);
constexpr QRgb Cursor = qRgb(200, 200, 0);
constexpr QRgb Label = qRgb(255, 100, 100);
constexpr QRgb LabelShadow = qRgb(150, 150, 150);

// A base colour as a cell at (column, row) shows it: brightened by column + 5 * row, each
// channel stopping at 255.
QRgb shaded(QRgb base, int column, int row)
{
    const int shade = column + 5 * row;
    return qRgb(std::min(qRed(base) + shade, 255), std::min(qGreen(base) + shade, 255),
        std::min(qBlue(base) + shade, 255));
}

// Frame line k, from dark next to the grid to light outside.
constexpr QRgb frame(int k) { return qRgb(20 + 20 * k, 20 + 20 * k, 20 + 20 * k); }

TEST(CellColour, ShadeWrapAndFade)
{
    // Codes outside the table are white; red stops at 255; a shade of 140, that is -116,
    // wraps each channel on its own rather than going black; 255 fades a ship to the grey of
    // (200 + 50 + 50) / 3; the shade comes before the fade.
    const struct {
        std::uint8_t code;
        std::int8_t shade;
        std::uint8_t fade;
        QRgb expected;
    } cases[] = { { CellEmpty, 0, 0, qRgb(20, 20, 100) }, { CellShip, 0, 0, qRgb(200, 50, 50) },
        { CellWater, 0, 0, qRgb(50, 50, 255) }, { CellHit, 0, 0, qRgb(255, 200, 20) },
        { BoardPainter::FrameCode, 0, 0, qRgb(20, 20, 20) }, { CellCover, 0, 0, qRgb(30, 100, 30) },
        { CellShip, 54, 0, qRgb(254, 104, 104) }, { CellHit, 54, 0, qRgb(255, 254, 74) },
        { 9, 0, 0, qRgb(255, 255, 255) }, { 255, 0, 0, qRgb(255, 255, 255) },
        { 9, -1, 0, qRgb(254, 254, 254) },
        { BoardPainter::FrameCode, -116, 0, qRgb(160, 160, 160) },
        { CellWater, -60, 0, qRgb(246, 246, 195) }, { CellShip, 127, 0, qRgb(255, 177, 177) },
        { CellShip, 0, 100, qRgb(161, 69, 69) }, { CellEmpty, 0, 100, qRgb(30, 30, 79) },
        { CellShip, 0, 250, qRgb(102, 99, 99) }, { CellShip, 0, 255, qRgb(100, 100, 100) },
        { CellEmpty, 0, 255, qRgb(46, 46, 46) }, { CellShip, 54, 100, qRgb(215, 123, 123) } };
    for (const auto& c : cases)
        EXPECT_EQ(BoardPainter::cellColour(c.code, c.shade, c.fade), c.expected)
            << "code " << int(c.code) << " shade " << int(c.shade) << " fade " << int(c.fade);
}

// A board at the own grid's origin, drawn at device pixel ratio 1 and 2.
class BoardDrawing : public testing::TestWithParam<qreal> {
protected:
    struct Probe {
        int x, y;
        QRgb colour;
    };
    void expectPixels(std::initializer_list<Probe> probes) const
    {
        for (const Probe& p : probes)
            EXPECT_EQ(logicalPixel(surface.image(), p.x, p.y), p.colour) << p.x << ", " << p.y;
    }
    // The logical area of an image drawn at the surface's ratio.
    QImage area(const QImage& drawn, QRect logical) const
    {
        const int ratio = static_cast<int>(GetParam());
        return drawn.copy(QRect(logical.topLeft() * ratio, logical.size() * ratio));
    }

    Board board;
    Surface surface { QSize(579, 489), GetParam(), Paper };
};

// The own board, and the enemy board under its cover panel.
TEST_P(BoardDrawing, BoardsAndCoverPanel)
{
    board.setCell(0, 0, CellShip);
    board.setCell(9, 9, CellHit);
    BoardPainter(board, ownGrid).drawBoard(surface);
    const Board enemy;
    const QRgb cover = qRgb(192, 192, 192);
    BoardPainter(enemy, enemyGrid).drawBoard(surface);
    BoardPainter(enemy, enemyGrid).drawCoverPanel(surface, cover);

    // Cell (0, 0) covers x 25..50, y 10..35 and cell (9, 9) x 250..275, y 235..260; the
    // neighbours share their border lines.
    const QRgb line = Outline;
    expectPixels({ { 25, 10, line }, { 50, 10, line }, { 25, 35, line }, { 50, 35, line },
        { 37, 10, line }, { 25, 22, line }, { 250, 235, line }, { 275, 235, line },
        { 250, 260, line }, { 275, 260, line }, { 24, 9, Paper }, { 25, 9, Paper } });
    expectPixels({ { 26, 11, ShipBase }, { 49, 34, ShipBase }, { 51, 11, shaded(EmptyBase, 1, 0) },
        { 26, 36, shaded(EmptyBase, 0, 1) }, { 76, 11, qRgb(22, 22, 102) },
        { 26, 61, qRgb(30, 30, 110) }, { 251, 236, qRgb(255, 254, 74) },
        { 274, 259, shaded(HitBase, 9, 9) }, { 249, 236, shaded(EmptyBase, 8, 9) } });

    // Frame line 0 runs from (26, 261) to (276, 261) and up to (276, 11), line 9 from
    // (35, 270) to (285, 270) and up to (285, 20), end points excluded; those between are a
    // step lighter and a pixel further out each.
    expectPixels({ { 26, 261, frame(0) }, { 25, 261, Paper }, { 276, 12, frame(0) },
        { 276, 11, Paper }, { 35, 270, frame(9) }, { 285, 21, frame(9) }, { 285, 20, Paper },
        { 286, 150, Paper }, { 150, 271, Paper } });
    for (int k = 0; k < 10; ++k)
        expectPixels({ { 276 + k, 261 + k, frame(k) }, { 200, 261 + k, frame(k) },
            { 276 + k, 100, frame(k) } });

    // Each label in its character cell with its shadow 5 pixels right and below.
    const QFontMetrics metrics(surface.font());
    const QSize size(metrics.horizontalAdvance(QLatin1Char('M')), metrics.height());
    auto holds
        = [&](QRect area, QRgb colour) { return holdsColour(surface.image(), area, colour); };
    for (int i = 0; i < 10; ++i) {
        for (const QPoint at : { QPoint(10, 18 + 25 * i), QPoint(33 + 25 * i, 268) }) {
            EXPECT_TRUE(holds(QRect(at, size), Label)) << i;
            EXPECT_TRUE(holds(QRect(at + QPoint(5, 5), size), LabelShadow)) << i;
        }
    }
    EXPECT_FALSE(holds(QRect(0, 0, 579, 9), Label));

    // The panel from (295, 7) to (572, 290), borderless, so its last column is 570 and its
    // last row 288; it takes in every label of the enemy grid.
    expectPixels({ { 295, 7, cover }, { 570, 7, cover }, { 295, 288, cover }, { 570, 288, cover },
        { 570, 100, cover }, { 430, 150, cover }, { 294, 100, Paper }, { 571, 100, Paper },
        { 400, 6, Paper }, { 400, 289, Paper } });
    for (const QRgb colour : { Label, LabelShadow })
        EXPECT_FALSE(holds(QRect(287, 0, 292, 489), colour));
}

// The cursor is outlined and faded over its cell, and erasing it gives back the cell as
// drawn. Every routine puts back the pen, brush and text colour it found.
TEST_P(BoardDrawing, CursorErasedAndSettingsRestored)
{
    board.setCell(3, 4, CellShip);
    const GridCell highlighted { 3, 4 };
    const BoardPainter painter(board, ownGrid);
    surface.selectPen(Surface::Pen::solid(qRgb(1, 2, 3)));
    surface.selectBrush(qRgb(4, 5, 6));
    surface.setTextColour(qRgb(7, 8, 9));
    painter.drawBoard(surface);
    const QImage drawn = surface.image().copy();

    // The ship cell (3, 4) is (223, 73, 73), whose grey is 123: the cursor pulls it 100/255 of
    // the way there, truncating each step toward zero.
    painter.drawCursor(surface, highlighted);
    expectPixels({ { 100, 110, Cursor }, { 125, 135, Cursor }, { 110, 120, qRgb(184, 92, 92) } });
    painter.eraseCursor(surface, highlighted);
    EXPECT_EQ(surface.image(), drawn);
    // A frame of an animation: every cell 120/255 of the way to its grey, the outlines as
    // ever; fully faded, every cell its grey.
    painter.drawBoardFaded(surface, 120);
    const QRect labels(0, 0, 25, 489);
    expectPixels(
        { { 110, 120, qRgb(176, 96, 96) }, { 26, 11, qRgb(32, 32, 75) }, { 100, 110, Outline } });
    EXPECT_EQ(area(surface.image(), labels), area(drawn, labels)) << "labels untouched";
    painter.drawBoardFaded(surface, 255);
    expectPixels({ { 110, 120, qRgb(123, 123, 123) }, { 26, 11, qRgb(46, 46, 46) },
        { 274, 259, qRgb(100, 100, 100) } });
    painter.drawCoverPanel(surface, qRgb(10, 10, 10));
    EXPECT_EQ(surface.selectPen(Surface::Pen::none()), Surface::Pen::solid(qRgb(1, 2, 3)));
    EXPECT_EQ(surface.selectBrush(0), qRgb(4, 5, 6));
    EXPECT_EQ(surface.setTextColour(0), qRgb(7, 8, 9));
}

// Each row is lettered and each column numbered where a player reads it, with its shadow,
// and the frame over the digits: the drawing matches one made character by character.
TEST_P(BoardDrawing, LettersTheRowsAndNumbersTheColumns)
{
    BoardPainter(board, ownGrid).drawBoard(surface);
    Surface expected { QSize(579, 489), GetParam(), Paper };
    expected.setBackgroundMode(Surface::BackgroundMode::Transparent);
    auto label = [&expected](int x, int y, char character) {
        expected.setTextColour(LabelShadow);
        expected.textOut(x + 5, y + 5, QLatin1Char(character));
        expected.setTextColour(Label);
        expected.textOut(x, y, QLatin1Char(character));
    };
    for (int i = 0; i < 10; ++i) {
        label(10, 18 + 25 * i, static_cast<char>('A' + i));
        label(33 + 25 * i, 268, static_cast<char>('0' + i));
    }
    for (int k = 0; k < 10; ++k) {
        expected.selectPen(Surface::Pen::solid(frame(k)));
        expected.moveTo(26 + k, 261 + k);
        expected.lineTo(276 + k, 261 + k);
        expected.lineTo(276 + k, 11 + k);
    }
    for (const QRect& outside : { QRect(0, 0, 25, 300), QRect(0, 261, 300, 40) })
        EXPECT_EQ(area(surface.image(), outside), area(expected.image(), outside)) << outside.y();
}

INSTANTIATE_TEST_SUITE_P(Ratio, BoardDrawing, testing::Values(1.0, 2.0));

} // namespace
