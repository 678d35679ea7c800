#include "pixelprobe.h"

#include "ui/surface.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

constexpr QRgb Paper = qRgb(212, 208, 200);
constexpr QRgb Ink = qRgb(10, 120, 30);
constexpr QRgb Fill = qRgb(240, 40, 40);

// Every test runs at device pixel ratio 1 and 2: a logical pixel must then cover its 2x2
// device pixels evenly, and nothing may spill into the neighbouring ones.
class SurfaceRules : public testing::TestWithParam<qreal> {
protected:
    QRgb at(int x, int y) const { return logicalPixel(surface.image(), x, y); }

    Surface surface { QSize(60, 40), GetParam(), Paper };
};

TEST_P(SurfaceRules, ImageMatchesTheRatio)
{
    EXPECT_EQ(surface.image().size(), QSize(60, 40) * GetParam());
    EXPECT_EQ(surface.image().devicePixelRatio(), GetParam());
    EXPECT_EQ(at(0, 0), Paper);
    EXPECT_EQ(at(59, 39), Paper);
}

TEST_P(SurfaceRules, RectangleExcludesItsRightAndBottomEdges)
{
    surface.selectPen(Surface::Pen::solid(Ink));
    surface.selectBrush(Fill);
    surface.rectangle(10, 5, 16, 9);
    // Outline on the pixels 10..15 x 5..8, filled inside.
    for (int x = 10; x <= 15; ++x) {
        EXPECT_EQ(at(x, 5), Ink) << x;
        EXPECT_EQ(at(x, 8), Ink) << x;
    }
    for (int y = 5; y <= 8; ++y) {
        EXPECT_EQ(at(10, y), Ink) << y;
        EXPECT_EQ(at(15, y), Ink) << y;
    }
    EXPECT_EQ(at(11, 6), Fill);
    EXPECT_EQ(at(14, 7), Fill);
    EXPECT_EQ(at(16, 6), Paper);
    EXPECT_EQ(at(12, 9), Paper);
    EXPECT_EQ(at(9, 6), Paper);
    EXPECT_EQ(at(12, 4), Paper);
    EXPECT_EQ(surface.rectangleCount(), 1);
}

TEST_P(SurfaceRules, NullPenFillsOnePixelNarrowerAndLower)
{
    surface.selectPen(Surface::Pen::none());
    surface.selectBrush(Fill);
    surface.rectangle(10, 5, 16, 9);
    EXPECT_EQ(at(10, 5), Fill);
    EXPECT_EQ(at(14, 7), Fill);
    EXPECT_EQ(at(15, 6), Paper);
    EXPECT_EQ(at(12, 8), Paper);
    EXPECT_EQ(at(9, 5), Paper);
    EXPECT_EQ(at(10, 4), Paper);
}

TEST_P(SurfaceRules, ReversedRectangleIsTheSame)
{
    surface.selectPen(Surface::Pen::solid(Ink));
    surface.selectBrush(Fill);
    surface.rectangle(16, 9, 10, 5);
    EXPECT_EQ(at(10, 5), Ink);
    EXPECT_EQ(at(15, 8), Ink);
    EXPECT_EQ(at(12, 6), Fill);
    EXPECT_EQ(at(16, 9), Paper);
}

TEST_P(SurfaceRules, LineExcludesItsEndPoint)
{
    surface.selectPen(Surface::Pen::solid(Ink));
    surface.moveTo(5, 20);
    surface.lineTo(15, 20); // right
    surface.lineTo(15, 10); // up
    surface.lineTo(8, 10); // left
    surface.lineTo(8, 14); // down
    EXPECT_EQ(at(4, 20), Paper);
    EXPECT_EQ(at(5, 20), Ink);
    EXPECT_EQ(at(14, 20), Ink);
    EXPECT_EQ(at(15, 20), Ink); // the start of the second line
    EXPECT_EQ(at(15, 11), Ink);
    EXPECT_EQ(at(15, 10), Ink); // the start of the third line
    EXPECT_EQ(at(9, 10), Ink);
    EXPECT_EQ(at(8, 10), Ink);
    EXPECT_EQ(at(8, 13), Ink);
    EXPECT_EQ(at(8, 14), Paper); // the last end point
    EXPECT_EQ(at(16, 20), Paper);
    EXPECT_EQ(at(7, 10), Paper);
}

TEST_P(SurfaceRules, SlantedLineReachesButExcludesItsEnd)
{
    surface.selectPen(Surface::Pen::solid(Ink));
    surface.moveTo(0, 0);
    surface.lineTo(6, 3);
    EXPECT_EQ(at(0, 0), Ink);
    EXPECT_EQ(at(6, 3), Paper);
    int drawn = 0;
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 5; ++y)
            drawn += at(x, y) == Ink;
    EXPECT_EQ(drawn, 6); // one pixel per column, the last one excluded
}

TEST_P(SurfaceRules, NullPenDrawsNoLine)
{
    surface.selectPen(Surface::Pen::none());
    surface.moveTo(5, 5);
    surface.lineTo(30, 5);
    EXPECT_EQ(at(5, 5), Paper);
    EXPECT_EQ(at(10, 5), Paper);
}

TEST_P(SurfaceRules, SelectingReturnsWhatWasSelected)
{
    const Surface::Pen first = surface.selectPen(Surface::Pen::solid(Ink));
    EXPECT_EQ(surface.selectPen(first), Surface::Pen::solid(Ink));
    const QRgb brush = surface.selectBrush(Fill);
    EXPECT_EQ(surface.selectBrush(brush), Fill);
    const auto mode = surface.setBackgroundMode(Surface::BackgroundMode::Transparent);
    EXPECT_EQ(mode, Surface::BackgroundMode::Opaque);
    EXPECT_EQ(surface.setBackgroundMode(mode), Surface::BackgroundMode::Transparent);
    const QRgb text = surface.setTextColour(Ink);
    EXPECT_EQ(surface.setTextColour(text), Ink);
}

// The character's ink lies in its cell, whose top-left corner is the point; in transparent
// mode the rest of the cell keeps what was there.
TEST_P(SurfaceRules, TextCellStartsAtThePoint)
{
    surface.selectPen(Surface::Pen::none());
    surface.selectBrush(Fill);
    surface.rectangle(0, 0, 61, 41);
    surface.setBackgroundMode(Surface::BackgroundMode::Transparent);
    surface.setTextColour(Ink);
    surface.textOut(20, 10, QLatin1Char('H'));

    const QFontMetrics metrics(surface.font());
    const QRect cell(20, 10, metrics.horizontalAdvance(QLatin1Char('H')), metrics.height());
    int ink = 0;
    int outside = 0;
    for (int x = 0; x < 60; ++x) {
        for (int y = 0; y < 40; ++y) {
            const QRgb colour = surface.image().pixel(QPointF(x, y).toPoint() * GetParam());
            if ((colour | 0xff000000u) == Fill)
                continue;
            (cell.contains(x, y) ? ink : outside) += 1;
        }
    }
    EXPECT_GT(ink, 5);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(at(cell.left(), cell.top()), Fill); // the background stays
}

TEST_P(SurfaceRules, OpaqueTextFillsItsCell)
{
    surface.setTextColour(Ink);
    surface.textOut(20, 10, QLatin1Char('.'));
    EXPECT_EQ(at(20, 10), qRgb(255, 255, 255));
}

TEST_P(SurfaceRules, ChangedAreaCoversWhatWasDrawn)
{
    surface.takeChangedArea();
    surface.selectPen(Surface::Pen::solid(Ink));
    surface.rectangle(10, 5, 16, 9);
    surface.moveTo(30, 30);
    surface.lineTo(40, 30);
    EXPECT_EQ(surface.takeChangedArea(), QRect(QPoint(10, 5), QPoint(39, 30)));
    EXPECT_TRUE(surface.takeChangedArea().isEmpty());
}

TEST_P(SurfaceRules, DrawingIsClippedToTheSurface)
{
    surface.selectPen(Surface::Pen::solid(Ink));
    surface.rectangle(-10, -10, 100, 100);
    surface.textOut(58, 38, QLatin1Char('W'));
    surface.textOut(-50, -50, QLatin1Char('W'));
    EXPECT_EQ(at(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(surface.takeChangedArea(), QRect(0, 0, 60, 40));
}

TEST_P(SurfaceRules, ResetStartsAfreshAtTheNewRatio)
{
    surface.selectBrush(Fill);
    surface.rectangle(0, 0, 10, 10);
    surface.reset(2 * GetParam());
    EXPECT_EQ(surface.image().size(), QSize(120, 80) * GetParam());
    EXPECT_EQ(surface.pixel(5, 5), Paper);
}

INSTANTIATE_TEST_SUITE_P(Ratio, SurfaceRules, testing::Values(1.0, 2.0));

} // namespace
