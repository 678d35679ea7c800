#include "pixelprobe.h"

#include "ui/surface.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr QRgb Paper = qRgb(212, 208, 200);
constexpr QRgb Ink = qRgb(10, 120, 30);
constexpr QRgb Fill = qRgb(240, 40, 40);
constexpr QRgb White = qRgb(255, 255, 255);

struct Probe {
    int x, y;
    QRgb colour;
};

// Every test runs at device pixel ratio 1 and 2: a logical pixel must then cover its 2x2
// device pixels evenly, and nothing may spill into the neighbouring ones.
class SurfaceRules : public testing::TestWithParam<qreal> {
protected:
    void expectPixels(std::initializer_list<Probe> probes) const
    {
        ASSERT_EQ(surface.image().size(), QSize(60, 40) * GetParam());
        for (const Probe& p : probes)
            EXPECT_EQ(logicalPixel(surface.image(), p.x, p.y), p.colour) << p.x << ", " << p.y;
    }

    Surface surface { QSize(60, 40), GetParam(), Paper };
};

// A rectangle is outlined with the pen and filled with the brush, its right and bottom edges
// excluded, the corners in either order; with a null pen the fill is one pixel narrower and
// lower, and no line is drawn. A line excludes its end point, which the next one starts on.
TEST_P(SurfaceRules, RectanglesAndLines)
{
    surface.selectPen(Surface::Pen::solid(Ink));
    surface.selectBrush(Fill);
    surface.rectangle(10, 5, 16, 9);
    surface.rectangle(46, 30, 40, 25);
    surface.moveTo(5, 20);
    surface.lineTo(15, 20); // right
    surface.lineTo(15, 10); // up
    surface.lineTo(8, 10); // left
    surface.lineTo(8, 14); // down
    surface.selectPen(Surface::Pen::none());
    surface.rectangle(20, 25, 26, 29);
    surface.moveTo(0, 0);
    surface.lineTo(30, 5);
    expectPixels({ { 10, 5, Ink }, { 15, 5, Ink }, { 10, 8, Ink }, { 15, 8, Ink }, { 13, 5, Ink },
        { 15, 6, Ink }, { 11, 6, Fill }, { 14, 7, Fill }, { 16, 6, Paper }, { 12, 9, Paper },
        { 9, 6, Paper }, { 12, 4, Paper }, { 40, 25, Ink }, { 45, 29, Ink }, { 42, 27, Fill },
        { 46, 29, Paper }, { 44, 30, Paper }, // the lines:
        { 4, 20, Paper }, { 5, 20, Ink }, { 15, 20, Ink }, { 16, 20, Paper }, { 15, 11, Ink },
        { 15, 10, Ink }, { 8, 10, Ink }, { 7, 10, Paper }, { 8, 13, Ink },
        { 8, 14, Paper }, // null pen:
        { 20, 25, Fill }, { 24, 27, Fill }, { 25, 26, Paper }, { 22, 28, Paper }, { 19, 25, Paper },
        { 20, 24, Paper }, { 0, 0, Paper }, { 6, 1, Paper }, { 18, 3, Paper } });
    EXPECT_EQ(surface.rectangleCount(), 3);
}

// The character's ink lies in its cell, whose top-left corner is the point. In transparent
// mode the rest of the cell keeps what was there; in opaque mode it is filled.
TEST_P(SurfaceRules, TextCellStartsAtThePoint)
{
    surface.fill(Fill);
    surface.setBackgroundMode(Surface::BackgroundMode::Transparent);
    surface.setTextColour(Ink);
    surface.textOut(20, 10, QLatin1Char('H'));
    const QFontMetrics metrics(surface.font());
    const QRect cell(20, 10, metrics.horizontalAdvance(QLatin1Char('H')), metrics.height());
    int ink[2] = { 0, 0 }; // outside and inside the cell
    int top = 40;
    int bottom = -1;
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 40; ++y) {
            const bool inked
                = (surface.image().pixel(QPoint(x, y) * GetParam()) | 0xff000000u) != Fill;
            ink[cell.contains(x, y)] += inked;
            if (inked) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    EXPECT_EQ(ink[0], 0);
    EXPECT_GT(ink[1], 5);
    // A capital stands on the baseline, as tall as the font's capitals.
    const int baseline = cell.top() + metrics.ascent();
    EXPECT_LE(bottom, baseline);
    EXPECT_GE(bottom, baseline - 1);
    EXPECT_NEAR(top, baseline - metrics.capHeight(), 1);

    surface.setBackgroundMode(Surface::BackgroundMode::Opaque);
    surface.textOut(40, 10, QLatin1Char('.'));
    expectPixels({ { 20, 10, Fill }, { 40, 10, White } });
    // A space's whole cell, and nothing beyond it.
    surface.textOut(2, 20, QLatin1Char(' '));
    const QPoint last(1 + metrics.horizontalAdvance(QLatin1Char(' ')), 19 + metrics.height());
    expectPixels({ { 2, 20, White }, { last.x(), last.y(), White }, { 1, 20, Fill },
        { 2, 19, Fill }, { last.x() + 1, last.y(), Fill }, { last.x(), last.y() + 1, Fill } });
}

// What was drawn is what must be presented, clipped to the surface: drawing past its edges
// is harmless. A fresh or reset surface must be presented whole.
TEST_P(SurfaceRules, ChangedAreaCoversWhatWasDrawn)
{
    EXPECT_EQ(surface.takeChangedArea(), QRect(0, 0, 60, 40)) << "a fresh surface, all of it";
    surface.rectangle(10, 5, 16, 9);
    surface.moveTo(30, 30);
    surface.lineTo(40, 30);
    EXPECT_EQ(surface.takeChangedArea(), QRect(QPoint(10, 5), QPoint(39, 30)));
    EXPECT_TRUE(surface.takeChangedArea().isEmpty());
    surface.rectangle(-10, -10, 100, 100);
    surface.textOut(58, 38, QLatin1Char('W'));
    surface.textOut(-50, -50, QLatin1Char('W'));
    EXPECT_EQ(surface.takeChangedArea(), QRect(0, 0, 60, 40));
    expectPixels({ { 0, 0, White } });
    // Started afresh: all of it again, in the background colour.
    surface.reset(GetParam());
    EXPECT_EQ(surface.takeChangedArea(), QRect(0, 0, 60, 40));
    expectPixels({ { 0, 0, Paper } });
}

INSTANTIATE_TEST_SUITE_P(Ratio, SurfaceRules, testing::Values(1.0, 2.0));

} // namespace
