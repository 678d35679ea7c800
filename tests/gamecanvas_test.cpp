#include "enginepair.h"
#include "pixelprobe.h"

#include "match/controlids.h"
#include "ui/boardpainter.h"
#include "ui/gamecanvas.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// Counts frames and caption flips instead of waiting, and lets a test look at each frame.
class CountingClock : public FrameClock {
public:
    static constexpr int Flip = -1;

    void frameShown(int fade) override
    {
        events.push_back(fade);
        if (onFrame)
            onFrame(fade);
    }
    void flipCaption(QWidget& window) override
    {
        events.push_back(Flip);
        flipped.push_back(&window);
    }

    std::vector<int> frames() const
    {
        std::vector<int> fades;
        for (int event : events)
            if (event != Flip)
                fades.push_back(event);
        return fades;
    }

    std::vector<int> events; // fades, and Flip for each caption flip
    std::vector<QWidget*> flipped;
    std::function<void(int)> onFrame;
};

// Records the window requests and carries out the drawing ones on a canvas, as the game
// window does: the generator panel is painted beneath the controls it shows and over what
// they leave when hidden.
class CanvasWindow : public RecordingWindow {
public:
    void drawBoard(const Board& board) override
    {
        RecordingWindow::drawBoard(board);
        canvas->drawBoard(board);
    }
    void eraseCursor(const Board& board) override
    {
        RecordingWindow::eraseCursor(board);
        canvas->eraseCursor(board);
    }
    void drawCursor(const Board& board) override
    {
        RecordingWindow::drawCursor(board);
        canvas->drawCursor(board);
    }
    void repaint() override
    {
        RecordingWindow::repaint();
        canvas->paintGrids();
    }
    void flashHit(const Board& shown) override
    {
        RecordingWindow::flashHit(shown);
        canvas->flashHit(shown);
    }
    void fadeOut(const Board& leaving) override
    {
        RecordingWindow::fadeOut(leaving);
        canvas->fadeOut(leaving);
    }
    void fadeIn(const Board& arriving) override
    {
        RecordingWindow::fadeIn(arriving);
        canvas->fadeIn(arriving);
    }
    void showGenerator(bool show) override
    {
        RecordingWindow::showGenerator(show);
        if (!show || engine->matchState().phase == GamePhase::Playing)
            canvas->drawCoverPanel();
    }

    GameCanvas* canvas = nullptr;
    const MatchEngine* engine = nullptr;
};

// One player: an engine whose window draws on a real canvas, shown on the offscreen screen.
struct CanvasSide {
    CanvasSide()
    {
        window.canvas = &canvas;
        window.engine = &engine;
        canvas.setFrameClock(&clock);
        canvas.setCoverColour(CoverColour);
        canvas.show();
    }

    static constexpr QRgb CoverColour = qRgb(192, 192, 192);

    CanvasWindow window;
    MemoryLink link;
    MatchEngine engine { window, link };
    GameCanvas canvas { engine, nullptr };
    CountingClock clock;
};

// Delivers what each side sent until neither has anything more to say.
void pump(CanvasSide& a, CanvasSide& b)
{
    bool moved = true;
    while (moved) {
        moved = false;
        for (auto [from, to] : { std::pair { &a, &b }, std::pair { &b, &a } }) {
            while (!from->link.queued.empty()) {
                const std::string bytes = std::move(from->link.queued.front());
                from->link.queued.pop_front();
                to->engine.onPeerData(bytes);
                moved = true;
            }
        }
    }
}

QPoint ownCellCentre(int column, int row) { return { 25 + 25 * column + 12, 10 + 25 * row + 12 }; }
QPoint enemyCellCentre(int column, int row)
{
    return { 310 + 25 * column + 12, 10 + 25 * row + 12 };
}

QRgb cellColour(std::uint8_t code, int column, int row, std::uint8_t fade = 0)
{
    return BoardPainter::cellColour(code, static_cast<std::int8_t>(column + 5 * row), fade);
}

class Canvas : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowExposed(&side.canvas)); }

    QRgb at(int x, int y) const { return logicalPixel(side.canvas.image(), x, y); }
    QRgb background() const
    {
        return side.canvas.palette().color(QPalette::Window).rgb() | 0xff000000u;
    }
    long rectangles() const { return side.canvas.drawingSurface().rectangleCount(); }
    void moveTo(QPoint point) { QTest::mouseMove(&side.canvas, point); }
    const MatchState& state() const { return side.engine.matchState(); }

    CanvasSide side;
};

// Two players, connected, each with a fleet: the first declared first and fires first.
class CanvasMatch : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&first.canvas));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&second.canvas));
        first.engine.connectionOpened(true);
        second.engine.connectionOpened(false);
        placeFleetByHand(first.engine, handFleet);
        pump(first, second);
        placeFleetByHand(second.engine, handFleet);
        pump(first, second);
        ASSERT_EQ(first.engine.matchState().phase, GamePhase::Playing);
        ASSERT_EQ(second.engine.matchState().phase, GamePhase::Playing);
        ASSERT_TRUE(first.engine.matchState().isShooter);
    }

    QRgb at(CanvasSide& side, int x, int y) const
    {
        return logicalPixel(side.canvas.image(), x, y);
    }

    CanvasSide first;
    CanvasSide second;
};

TEST_F(Canvas, ImageFollowsTheScreensPixelRatio)
{
    // The run on a HiDPI screen says which ratio it expects.
    if (const int ratio = qEnvironmentVariableIntValue("QUORVEL_SCREEN_RATIO")) {
        EXPECT_EQ(side.canvas.devicePixelRatioF(), ratio);
    }
    const QImage& image = side.canvas.image();
    EXPECT_EQ(image.devicePixelRatio(), side.canvas.devicePixelRatioF());
    EXPECT_EQ(image.size(), QSize(579, 489) * side.canvas.devicePixelRatioF());
    EXPECT_EQ(side.canvas.size(), QSize(579, 489));

    // In its window it covers the whole client area from the top-left corner.
    QWidget dialog;
    const GameCanvas inside(side.engine, &dialog);
    EXPECT_EQ(inside.geometry(), QRect(0, 0, 579, 489));
}

// From the start the left grid shows the empty own board with its cursor on (0, 0), and
// nothing is drawn in the right grid's area.
TEST_F(Canvas, StartsWithTheLeftGridAndItsCursor)
{
    EXPECT_EQ(at(25, 10), BoardPainter::cursorColour);
    EXPECT_EQ(at(30, 20), cellColour(CellEmpty, 0, 0, BoardPainter::cursorFade));
    EXPECT_EQ(at(60, 20), cellColour(CellEmpty, 1, 0));
    EXPECT_EQ(at(276, 100), qRgb(20, 20, 20));
    EXPECT_EQ(at(310, 10), background());
    EXPECT_EQ(at(430, 150), background());
}

// The paint event shows the image as it stands.
TEST_F(Canvas, PaintEventCopiesTheImage)
{
    const QImage grabbed = side.canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(grabbed.size(), side.canvas.image().size());
    EXPECT_EQ(grabbed, side.canvas.image());
}

// On a screen of another pixel ratio the image is drawn afresh at that ratio, the cover
// panel included.
TEST_F(Canvas, AnotherScreensRatioRedrawsTheImage)
{
    QScreen* other = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->devicePixelRatio() != side.canvas.devicePixelRatioF())
            other = screen;
    if (!other)
        GTEST_SKIP() << "needs two screens of different pixel ratios";

    side.engine.connectionOpened(true);
    QTest::mouseMove(&side.canvas, ownCellCentre(2, 2));
    side.canvas.drawCoverPanel();
    side.canvas.windowHandle()->setScreen(other);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return side.canvas.image().devicePixelRatio() == other->devicePixelRatio(); }));
    EXPECT_EQ(side.canvas.image().size(), QSize(579, 489) * other->devicePixelRatio());
    EXPECT_EQ(at(80, 70), cellColour(CellEmpty, 2, 2, BoardPainter::cursorFade));
    EXPECT_EQ(at(75, 60), BoardPainter::cursorColour);
    EXPECT_EQ(at(30, 15), cellColour(CellEmpty, 0, 0));
    EXPECT_EQ(at(285, 270), qRgb(200, 200, 200));
    EXPECT_EQ(at(295, 7), CanvasSide::CoverColour);
    EXPECT_EQ(at(570, 288), CanvasSide::CoverColour);
}

struct PointCase {
    QPoint point;
    MouseRegion region;
    QPoint ownCursor;
    QPoint enemyCursor;
};

// Which grid and which cell a point falls on; the cursors stay where they were outside.
TEST_F(CanvasMatch, PointsFallOnGridsAndCells)
{
    const PointCase cases[] = {
        { { 100, 100 }, MouseRegion::OwnGrid, { 3, 3 }, { 0, 0 } },
        { { 25, 100 }, MouseRegion::None, { 3, 3 }, { 0, 0 } },
        { { 275, 100 }, MouseRegion::None, { 3, 3 }, { 0, 0 } },
        { { 26, 11 }, MouseRegion::OwnGrid, { 0, 0 }, { 0, 0 } },
        { { 274, 259 }, MouseRegion::OwnGrid, { 9, 9 }, { 0, 0 } },
        { { 450, 150 }, MouseRegion::EnemyGrid, { 9, 9 }, { 5, 5 } },
        { { 311, 11 }, MouseRegion::EnemyGrid, { 9, 9 }, { 0, 0 } },
        { { 559, 259 }, MouseRegion::EnemyGrid, { 9, 9 }, { 9, 9 } },
        { { 300, 100 }, MouseRegion::None, { 9, 9 }, { 9, 9 } },
        { { 310, 100 }, MouseRegion::None, { 9, 9 }, { 9, 9 } },
        { { 560, 100 }, MouseRegion::None, { 9, 9 }, { 9, 9 } },
        { { 400, 10 }, MouseRegion::None, { 9, 9 }, { 9, 9 } },
        { { 400, 260 }, MouseRegion::None, { 9, 9 }, { 9, 9 } },
    };
    for (const PointCase& c : cases) {
        QTest::mouseMove(&first.canvas, c.point);
        const MatchEngine& engine = first.engine;
        EXPECT_EQ(engine.matchState().mouseRegion, c.region) << c.point.x() << ", " << c.point.y();
        EXPECT_EQ(QPoint(engine.ownBoard().cursorColumn, engine.ownBoard().cursorRow), c.ownCursor)
            << c.point.x() << ", " << c.point.y();
        EXPECT_EQ(
            QPoint(engine.enemyBoard().cursorColumn, engine.enemyBoard().cursorRow), c.enemyCursor)
            << c.point.x() << ", " << c.point.y();
    }
    // The highlights are on screen where the cursors are.
    EXPECT_EQ(at(first, 250, 235), BoardPainter::cursorColour);
    EXPECT_EQ(at(first, 535, 235), BoardPainter::cursorColour);
    EXPECT_EQ(at(first, 25, 10), BoardPainter::outlineColour);
}

// Within one cell nothing is redrawn; into the next cell exactly the cell left and the cell
// entered.
TEST_F(Canvas, MovingRedrawsAtMostTwoCells)
{
    moveTo(ownCellCentre(4, 4));
    long before = rectangles();
    moveTo(ownCellCentre(4, 4) + QPoint(5, 5));
    moveTo(ownCellCentre(4, 4) - QPoint(11, 11));
    EXPECT_EQ(rectangles(), before);

    moveTo(ownCellCentre(5, 4));
    EXPECT_EQ(rectangles(), before + 2);
    EXPECT_EQ(at(150, 110), BoardPainter::cursorColour); // the cell entered spans x 150..175
    EXPECT_EQ(at(150, 120), BoardPainter::cursorColour);
    EXPECT_EQ(at(155, 120), cellColour(CellEmpty, 5, 4, BoardPainter::cursorFade));
    EXPECT_EQ(at(130, 120), cellColour(CellEmpty, 4, 4));
    EXPECT_EQ(at(125, 120), BoardPainter::outlineColour);

    // Leaving the grid leaves the highlight on the last cell.
    before = rectangles();
    moveTo(QPoint(290, 300));
    EXPECT_EQ(rectangles(), before);
    EXPECT_EQ(state().mouseRegion, MouseRegion::None);
    EXPECT_EQ(at(155, 120), cellColour(CellEmpty, 5, 4, BoardPainter::cursorFade));
}

// Out of play the enemy grid's cursor stays put and nothing is drawn there, though the
// region is recorded; the own grid's cursor follows the mouse in every phase.
TEST_F(Canvas, EnemyCursorFrozenOutsidePlay)
{
    side.engine.connectionOpened(true);
    ASSERT_EQ(state().phase, GamePhase::Placing);
    const QImage before = side.canvas.image().copy();
    const long drawn = rectangles();
    moveTo(enemyCellCentre(6, 7));
    EXPECT_EQ(state().mouseRegion, MouseRegion::EnemyGrid);
    EXPECT_EQ(side.engine.enemyBoard().cursorColumn, 0);
    EXPECT_EQ(side.engine.enemyBoard().cursorRow, 0);
    EXPECT_EQ(rectangles(), drawn);
    EXPECT_EQ(side.canvas.image(), before);
}

TEST_F(Canvas, OwnCursorFollowsTheMouseWhenIdle)
{
    ASSERT_EQ(state().phase, GamePhase::Idle);
    moveTo(ownCellCentre(7, 2));
    EXPECT_EQ(state().mouseRegion, MouseRegion::OwnGrid);
    EXPECT_EQ(side.engine.ownBoard().cursorColumn, 7);
    EXPECT_EQ(side.engine.ownBoard().cursorRow, 2);
    EXPECT_EQ(at(200, 60), BoardPainter::cursorColour);
}

// Left clicks place ship cells while placing, right clicks take them away; both are drawn
// at once.
TEST_F(Canvas, ClicksPlaceAndRemoveCells)
{
    side.engine.connectionOpened(true);
    QTest::mouseClick(&side.canvas, Qt::LeftButton, {}, ownCellCentre(2, 3));
    EXPECT_EQ(side.engine.ownBoard().getCell(2, 3), CellShip);
    EXPECT_EQ(state().cellsPlaced, 1);
    QTest::mouseClick(&side.canvas, Qt::LeftButton, {}, ownCellCentre(6, 6));
    EXPECT_EQ(side.engine.ownBoard().getCell(6, 6), CellShip);
    EXPECT_EQ(at(80, 90), cellColour(CellShip, 2, 3));
    // The grid is drawn afresh after each placement, the cell under the mouse included.
    EXPECT_EQ(at(180, 170), cellColour(CellShip, 6, 6));

    QTest::mouseClick(&side.canvas, Qt::RightButton, {}, ownCellCentre(2, 3));
    EXPECT_EQ(side.engine.ownBoard().getCell(2, 3), CellEmpty);
    EXPECT_EQ(state().cellsPlaced, 1);
    QTest::mouseMove(&side.canvas, ownCellCentre(0, 0));
    EXPECT_EQ(at(80, 90), cellColour(CellEmpty, 2, 3));

    // Between the grids a click does nothing to either.
    QTest::mouseClick(&side.canvas, Qt::LeftButton, {}, QPoint(290, 100));
    EXPECT_EQ(state().cellsPlaced, 1);
}

// Shots fired by clicks are drawn on the shooter's enemy grid and on the target's own grid.
TEST_F(CanvasMatch, ShotsAreDrawnOnTheEnemyGrid)
{
    // Water at (0, 0) of the opponent's fleet, a ship cell at (1, 1).
    QTest::mouseClick(&first.canvas, Qt::LeftButton, {}, enemyCellCentre(0, 0));
    pump(first, second);
    QTest::mouseClick(&first.canvas, Qt::LeftButton, {}, enemyCellCentre(1, 1));
    pump(first, second);
    ASSERT_EQ(first.engine.enemyBoard().getCell(0, 0), CellWater);
    ASSERT_EQ(first.engine.enemyBoard().getCell(1, 1), CellShip);
    EXPECT_EQ(at(first, 315, 20), cellColour(CellWater, 0, 0));
    EXPECT_EQ(at(first, 340, 45), cellColour(CellShip, 1, 1, BoardPainter::cursorFade));
    EXPECT_EQ(at(first, 335, 35), BoardPainter::cursorColour);

    // The opponent's own grid shows the miss and the hit.
    EXPECT_EQ(at(second, 30, 15), cellColour(CellWater, 0, 0));
    EXPECT_EQ(at(second, 55, 40), cellColour(CellHit, 1, 1));
}

TEST_F(CanvasMatch, NoEnemyGridOutsidePlay)
{
    CanvasSide alone;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&alone.canvas));
    alone.engine.connectionOpened(true);
    alone.canvas.paintGrids();
    const QRgb paper = alone.canvas.palette().color(QPalette::Window).rgb() | 0xff000000u;
    EXPECT_EQ(at(alone, 430, 150), paper);
    EXPECT_EQ(at(alone, 310, 10), paper);
    EXPECT_EQ(at(alone, 30, 15), cellColour(CellEmpty, 0, 0, BoardPainter::cursorFade));

    // In play the enemy grid is drawn, and over the cover panel.
    EXPECT_EQ(at(first, 430, 150), cellColour(CellEmpty, 4, 5));
    EXPECT_EQ(at(first, 310, 10), BoardPainter::cursorColour);
}

// Hiding: 24 frames of the own fleet towards grey, 23 of the cover coming back from grey,
// then the cover at full colour with the highlight on the same cell.
TEST_F(CanvasMatch, HidingFadesOutAndIn)
{
    QTest::mouseMove(&first.canvas, ownCellCentre(1, 1)); // a ship cell
    std::vector<QRgb> seen;
    first.clock.onFrame = [&](int) { seen.push_back(at(first, 60, 50)); };

    first.engine.onHideShow();
    EXPECT_EQ(first.window.captions[IDC_HIDE_SHOW], "Mostrar");
    std::vector<int> expected;
    for (int fade = 0; fade <= 230; fade += 10)
        expected.push_back(fade);
    for (int fade = 240; fade >= 20; fade -= 10)
        expected.push_back(fade);
    EXPECT_EQ(first.clock.events, expected);
    ASSERT_EQ(seen.size(), 47u);
    for (std::size_t i = 0; i < 24; ++i)
        EXPECT_EQ(seen[i], cellColour(CellShip, 1, 1, static_cast<std::uint8_t>(expected[i]))) << i;
    for (std::size_t i = 24; i < 47; ++i)
        EXPECT_EQ(seen[i], cellColour(CellCover, 1, 1, static_cast<std::uint8_t>(expected[i])))
            << i;

    EXPECT_EQ(at(first, 60, 50), cellColour(CellCover, 1, 1, BoardPainter::cursorFade));
    EXPECT_EQ(at(first, 50, 35), BoardPainter::cursorColour);
    EXPECT_EQ(at(first, 30, 15), cellColour(CellCover, 0, 0));
    EXPECT_EQ(&first.engine.displayedBoard(), &first.engine.coverBoard());

    // The cursor moves over the cover and comes back to the own fleet where it was left.
    QTest::mouseMove(&first.canvas, ownCellCentre(6, 8));
    EXPECT_EQ(first.engine.coverBoard().cursorColumn, 6);
    first.clock.onFrame = nullptr;
    first.clock.events.clear();
    first.engine.onHideShow();
    EXPECT_EQ(first.window.captions[IDC_HIDE_SHOW], "Ocultar");
    EXPECT_EQ(first.clock.events, expected);
    EXPECT_EQ(first.engine.ownBoard().cursorColumn, 6);
    EXPECT_EQ(first.engine.ownBoard().cursorRow, 8);
    EXPECT_EQ(at(first, 180, 220), cellColour(CellShip, 6, 8, BoardPainter::cursorFade));
    EXPECT_EQ(at(first, 30, 15), cellColour(CellEmpty, 0, 0));
}

// Before the fleet is declared the toggle only shows it: the caption stays, and the own
// fleet fades out and back in.
TEST_F(Canvas, ShowingWhilePlacingFadesTheOwnFleet)
{
    side.engine.connectionOpened(true);
    std::vector<QRgb> seen;
    side.clock.onFrame = [&](int) { seen.push_back(at(30, 30)); };
    side.engine.onHideShow();
    EXPECT_EQ(side.window.captions[IDC_HIDE_SHOW], "Ocultar");
    EXPECT_EQ(side.clock.frames().size(), 47u);
    ASSERT_EQ(seen.size(), 47u);
    EXPECT_EQ(seen[0], cellColour(CellEmpty, 0, 0));
    EXPECT_EQ(seen[24], cellColour(CellEmpty, 0, 0, 240));
    EXPECT_EQ(at(30, 30), cellColour(CellEmpty, 0, 0, BoardPainter::cursorFade));
}

// Fades 250 down to 5, the caption flipped before frames 10, 20, 30, 40 and 50 and once
// after the last: six flips of the dialog that holds the canvas.
TEST_F(Canvas, FlashHitFramesAndFlips)
{
    QWidget dialog;
    GameCanvas inside(side.engine, &dialog);
    inside.setFrameClock(&side.clock);
    std::vector<QRgb> seen;
    side.clock.onFrame = [&](int) { seen.push_back(logicalPixel(inside.image(), 30, 30)); };
    inside.flashHit(side.engine.ownBoard());

    std::vector<int> expected;
    for (int frame = 1; frame <= 50; ++frame) {
        if (frame % 10 == 0)
            expected.push_back(CountingClock::Flip);
        expected.push_back(255 - 5 * frame);
    }
    expected.push_back(CountingClock::Flip);
    EXPECT_EQ(side.clock.events, expected);
    EXPECT_EQ(side.clock.flipped, std::vector<QWidget*>(6, &dialog));
    ASSERT_EQ(seen.size(), 50u);
    EXPECT_EQ(seen.front(), cellColour(CellEmpty, 0, 0, 250));
    EXPECT_EQ(seen.back(), cellColour(CellEmpty, 0, 0, 5));
    // Left at fade 5 for the caller's repaint.
    EXPECT_EQ(logicalPixel(inside.image(), 30, 30), cellColour(CellEmpty, 0, 0, 5));
}

// A hit on the own fleet flashes the left grid, and the repaint after it brings back full
// colour.
TEST_F(CanvasMatch, HitFlashesTheOwnGrid)
{
    QTest::mouseClick(&first.canvas, Qt::LeftButton, {}, enemyCellCentre(2, 1));
    pump(first, second);
    EXPECT_EQ(second.clock.frames().size(), 50u);
    EXPECT_EQ(
        std::count(second.clock.events.begin(), second.clock.events.end(), CountingClock::Flip), 6);
    EXPECT_TRUE(first.clock.events.empty());
    EXPECT_EQ(at(second, 80, 40), cellColour(CellHit, 2, 1));
    EXPECT_EQ(at(second, 105, 40), cellColour(CellShip, 3, 1));

    // A miss does not flash.
    second.clock.events.clear();
    QTest::mouseClick(&first.canvas, Qt::LeftButton, {}, enemyCellCentre(0, 0));
    pump(first, second);
    EXPECT_TRUE(second.clock.events.empty());
}

// Every drawing request reaches the screen before it returns: each animation frame is
// painted before the next is drawn.
TEST_F(Canvas, EveryFrameIsPaintedAtOnce)
{
    struct PaintCounter : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
        int paints = 0;
    } counter;
    side.canvas.installEventFilter(&counter);

    side.canvas.drawCursor(side.engine.ownBoard());
    EXPECT_EQ(counter.paints, 1);
    int paintsAtFrame = counter.paints;
    bool eachPainted = true;
    side.clock.onFrame = [&](int) {
        eachPainted = eachPainted && counter.paints == paintsAtFrame + 1;
        paintsAtFrame = counter.paints;
    };
    side.canvas.fadeOut(side.engine.ownBoard());
    EXPECT_TRUE(eachPainted);
    EXPECT_EQ(counter.paints, 25);
    side.canvas.removeEventFilter(&counter);
}

TEST_F(Canvas, CoverPanelInTheCoverColour)
{
    side.canvas.setCoverColour(QColor(10, 200, 30));
    side.canvas.drawCoverPanel();
    EXPECT_EQ(at(295, 7), qRgb(10, 200, 30));
    EXPECT_EQ(at(570, 288), qRgb(10, 200, 30));
    EXPECT_EQ(at(294, 7), background());
    EXPECT_EQ(at(571, 288), background());
    EXPECT_EQ(at(295, 289), background());
}

// A right click over a grid belongs to the game; elsewhere it opens the window's menu.
TEST_F(Canvas, RightClickOutsideTheGridsGoesToTheWindow)
{
    const struct {
        QPoint point;
        bool accepted;
    } cases[] = { { ownCellCentre(3, 3), true }, { QPoint(290, 100), false },
        { enemyCellCentre(3, 3), true }, { QPoint(100, 400), false } };
    for (const auto& c : cases) {
        QTest::mouseMove(&side.canvas, c.point);
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, c.point, side.canvas.mapToGlobal(c.point));
        QApplication::sendEvent(&side.canvas, &event);
        EXPECT_EQ(event.isAccepted(), c.accepted) << c.point.x() << ", " << c.point.y();
    }
}

} // namespace
