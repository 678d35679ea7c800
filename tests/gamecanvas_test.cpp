#include "enginepair.h"
#include "pixelprobe.h"
#include "testclocks.h"
#include "waituntil.h"

#include "match/protocol.h"
#include "ui/boardpainter.h"
#include "ui/gamecanvas.h"
#include "ui/gridgeometry.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Ticked by hand, writing down frames and caption flips, and counting the paint events of
// the widgets it filters, so a test sees what each frame put on screen.
struct CountingClock : QObject, HandClock {
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

// Records the game's events and shows them on the canvas as the game window does: the grids
// after each change, the flash of a hit on the own fleet, the fades of hiding and showing.
struct CanvasEvents : RecordingEvents {
    void phaseChanged(GamePhase phase) override
    {
        RecordingEvents::phaseChanged(phase);
        canvas->phaseChanged(shownPhase, phase);
        shownPhase = phase;
        fleetVisible = boards->matchState().showOwnFleet;
    }
    void fleetChanged(const FleetChange& change) override
    {
        RecordingEvents::fleetChanged(change);
        if (change.kind != FleetChange::NothingToClear)
            canvas->paintGrids();
    }
    void readyDeclared(Side side, bool randomized) override
    {
        RecordingEvents::readyDeclared(side, randomized);
        canvas->paintGrids();
    }
    void shotAnswered(const Shot& shot) override
    {
        RecordingEvents::shotAnswered(shot);
        if (shot.shooter == Side::Opponents && shot.outcome != Shot::Miss)
            canvas->flashHit();
        canvas->paintGrids();
    }
    void fleetShown(bool shown) override
    {
        RecordingEvents::fleetShown(shown);
        const Board& own = boards->ownBoard();
        const Board& cover = boards->coverBoard();
        canvas->fadeBetween(fleetVisible ? own : cover, shown ? own : cover);
        fleetVisible = shown;
        canvas->paintGrids();
    }
    GameCanvas* canvas = nullptr;
    const MatchEngine* boards = nullptr; // the engine whose boards are shown
    GamePhase shownPhase = GamePhase::Idle;
    bool fleetVisible = true;
};

using Grid = GameCanvas::Grid;
QPoint ownCell(int column, int row) { return { 37 + 25 * column, 22 + 25 * row }; }
QPoint enemyCell(int column, int row) { return { 322 + 25 * column, 22 + 25 * row }; }
QPoint asPoint(GridCell cell) { return { cell.column, cell.row }; }
QRgb cellColour(std::uint8_t code, int column, int row, int fade = 0)
{
    return BoardPainter::cellColour(
        code, static_cast<std::int8_t>(column + 5 * row), static_cast<std::uint8_t>(fade));
}
constexpr QRgb cursor = BoardPainter::cursorColour;
constexpr int lit = BoardPainter::cursorFade;

// One player: an engine whose window draws on a real canvas, shown on the offscreen screen.
class Canvas : public testing::Test {
protected:
    void SetUp() override
    {
        events.canvas = &canvas;
        events.boards = &engine;
        canvas.setFrameClock(&clock);
        canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    }
    // Places the fleet and takes the opponent's ready: in play, this side fires first.
    void startMatch()
    {
        engine.connectionOpened(true);
        placeFleetByHand(engine, handFleet);
        engine.onPeerData(protocol::ReadyMessage);
        ASSERT_EQ(engine.phase(), GamePhase::Playing);
    }
    // The picture and the drawing done, up to date with the requests made.
    QRgb at(int x, int y) { return logicalPixel(canvas.image(), x, y); }
    long rectangles() { return canvas.drawingSurface().rectangleCount(); }
    void moveTo(QPoint point) { QTest::mouseMove(&canvas, point); }
    QPoint cursorOf(Grid grid) const { return asPoint(canvas.cursor(grid)); }

    CanvasEvents events;
    MemoryLink link;
    MatchEngine engine { events, link };
    GameCanvas canvas { engine, nullptr };
    CountingClock clock;
};

// The image has the screen's pixel ratio (2 in the HiDPI run) and the paint event shows it
// as it stands; at the start only the left grid is drawn, its cursor on (0, 0), as the enemy
// grid's is. The own grid lies at (25, 10), the enemy grid at (310, 10).
TEST_F(Canvas, DrawsAtTheScreensRatio)
{
    EXPECT_EQ(ownGrid.origin, QPoint(25, 10));
    EXPECT_EQ(enemyGrid.origin, QPoint(310, 10));
    EXPECT_EQ(cursorOf(Grid::Own), QPoint(0, 0));
    EXPECT_EQ(cursorOf(Grid::Enemy), QPoint(0, 0));
    if (const int ratio = qEnvironmentVariableIntValue("QUORVEL_SCREEN_RATIO")) {
        EXPECT_EQ(canvas.devicePixelRatioF(), ratio);
    }
    EXPECT_EQ(canvas.image().size(), QSize(579, 489) * canvas.devicePixelRatioF());
    canvas.clearFocus(); // the focus frame goes over the image
    EXPECT_EQ(canvas.grab().toImage().convertToFormat(QImage::Format_RGB32), canvas.image());
    EXPECT_EQ(at(30, 20), cellColour(CellEmpty, 0, 0, lit));
    EXPECT_EQ(at(430, 150), canvas.palette().color(QPalette::Window).rgb() | 0xff000000u);
}

// However play begins, at once when the opponent declared first or after waiting for the
// opponent's fleet, the enemy grid lies on the cover panel: the panel's colour shows around
// its labels and at the slanted ends of its frame, and every match looks the same.
TEST_F(Canvas, TheEnemyGridLiesOnTheCoverPanelHoweverPlayBegins)
{
    const QColor red(192, 0, 0);
    canvas.setCoverColour(red);
    const int ratio = static_cast<int>(std::lround(canvas.image().devicePixelRatio()));
    const QRect rightHalf(287 * ratio, 0, 292 * ratio, 300 * ratio);
    engine.connectionOpened(true);
    engine.onPeerData(protocol::ReadyMessage);
    placeFleetByHand(engine, handFleet);
    ASSERT_EQ(engine.phase(), GamePhase::Playing);
    const QImage atOnce = canvas.image().copy(rightHalf);

    engine.connectionClosed();
    engine.connectionOpened(true);
    placeFleetByHand(engine, handFleet);
    EXPECT_EQ(at(430, 150), red.rgb()) << "the panel alone while this side waits";
    engine.onPeerData(protocol::ReadyMessage);
    ASSERT_EQ(engine.phase(), GamePhase::Playing);
    for (const QPoint point : { QPoint(295, 7), QPoint(300, 12), QPoint(295, 288), QPoint(570, 288),
             QPoint(311, 270), QPoint(570, 11) })
        EXPECT_EQ(at(point.x(), point.y()), red.rgb()) << point.x() << ", " << point.y();
    EXPECT_EQ(canvas.image().copy(rightHalf), atOnce);
}

// Both grids drawn five times more look as they did: each label is drawn on what lies
// beneath the grid, the window's colour or the cover panel, not over itself.
TEST_F(Canvas, GridsDrawnAgainLookTheSame)
{
    ASSERT_NO_FATAL_FAILURE(startMatch());
    const QImage drawn = canvas.image().copy();
    for (int again = 0; again < 5; ++again) {
        canvas.paintGrids();
        clock.runOut();
    }
    EXPECT_EQ(canvas.image(), drawn);
}

// Which grid and cell a point falls on: outside the grids the cursors stay where they were.
// A move redraws the cell left and the cell entered, and nothing within a cell or outside; in
// play the own grid's cursor follows unseen. A new match keeps the cursors where they were,
// and shows the own grid's again.
TEST_F(Canvas, PointsFallOnGridsAndCellsAndRedrawAtMostTwo)
{
    ASSERT_NO_FATAL_FAILURE(startMatch());
    constexpr Grid OwnGrid = Grid::Own;
    constexpr Grid EnemyGrid = Grid::Enemy;
    constexpr Grid None = Grid::None;
    const struct {
        int x, y;
        Grid region;
        int ownColumn, ownRow, enemyColumn, enemyRow, drawn;
    } cases[] = { { 100, 100, OwnGrid, 3, 3, 0, 0, 0 }, { 110, 105, OwnGrid, 3, 3, 0, 0, 0 },
        { 25, 100, None, 3, 3, 0, 0, 0 }, { 275, 100, None, 3, 3, 0, 0, 0 },
        { 26, 11, OwnGrid, 0, 0, 0, 0, 0 }, { 274, 259, OwnGrid, 9, 9, 0, 0, 0 },
        { 450, 150, EnemyGrid, 9, 9, 5, 5, 2 }, { 311, 11, EnemyGrid, 9, 9, 0, 0, 2 },
        { 559, 259, EnemyGrid, 9, 9, 9, 9, 2 }, { 300, 100, None, 9, 9, 9, 9, 0 },
        { 310, 100, None, 9, 9, 9, 9, 0 }, { 560, 100, None, 9, 9, 9, 9, 0 },
        { 400, 260, None, 9, 9, 9, 9, 0 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        const long before = rectangles();
        moveTo(QPoint(c.x, c.y));
        EXPECT_EQ(canvas.pointedGrid(), c.region);
        EXPECT_EQ(cursorOf(Grid::Own), QPoint(c.ownColumn, c.ownRow));
        EXPECT_EQ(cursorOf(Grid::Enemy), QPoint(c.enemyColumn, c.enemyRow));
        EXPECT_EQ(rectangles() - before, c.drawn);
    }
    // In play both grids are drawn, and only the enemy grid shows its highlight.
    EXPECT_EQ(at(250, 235), BoardPainter::outlineColour);
    EXPECT_EQ(at(535, 235), cursor);
    EXPECT_EQ(at(430, 150), cellColour(CellEmpty, 4, 5));
    EXPECT_EQ(at(25, 10), BoardPainter::outlineColour);

    engine.connectionClosed();
    engine.connectionOpened(true);
    ASSERT_EQ(engine.phase(), GamePhase::Placing);
    EXPECT_EQ(cursorOf(Grid::Own), QPoint(9, 9));
    EXPECT_EQ(cursorOf(Grid::Enemy), QPoint(9, 9));
    EXPECT_EQ(at(250, 235), cursor);
    EXPECT_EQ(at(60, 50), cellColour(CellEmpty, 1, 1)) << "the fleet of the last match gone";
}

// While placing, the enemy grid's cursor stays put and nothing is drawn there; a right click
// takes a cell of the own grid away.
TEST_F(Canvas, EnemyCursorFrozenWhilePlacingAndRightClicks)
{
    engine.connectionOpened(true);
    const long drawn = rectangles();
    moveTo(QPoint(475, 197));
    EXPECT_EQ(canvas.pointedGrid(), Grid::Enemy);
    EXPECT_EQ(cursorOf(Grid::Enemy), QPoint(0, 0));
    EXPECT_EQ(rectangles(), drawn);

    QTest::mouseClick(&canvas, Qt::LeftButton, {}, ownCell(2, 3));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, ownCell(2, 3));
    EXPECT_EQ(engine.matchState().cellsPlaced, 0);
    EXPECT_EQ(engine.ownBoard().getCell(2, 3), CellEmpty);
}

// The arrows move the highlight over the grid in play from the cell last pointed at, and
// keep it on the grid; Space or Enter sets a cell or fires, Delete or Backspace takes one
// away. While the canvas has the keyboard a frame in the highlight colour surrounds the
// grid in play.
TEST_F(Canvas, TheKeyboardPlaysTheGridInPlayInsideAFocusFrame)
{
    engine.connectionOpened(true);
    canvas.setFocus();
    moveTo(ownCell(2, 3));
    for (const auto key : { Qt::Key_Right, Qt::Key_Down, Qt::Key_Down })
        QTest::keyClick(&canvas, key);
    EXPECT_EQ(cursorOf(Grid::Own), QPoint(3, 5));
    EXPECT_EQ(at(ownCell(3, 5).x(), ownCell(3, 5).y()), cellColour(CellEmpty, 3, 5, lit));
    // The highlight stays on the cell after each key that sets or takes it away.
    const QPoint pressed = ownCell(3, 5);
    const struct {
        Qt::Key key;
        std::uint8_t code;
    } presses[] = { { Qt::Key_Space, CellShip }, { Qt::Key_Delete, CellEmpty },
        { Qt::Key_Return, CellShip }, { Qt::Key_Backspace, CellEmpty } };
    for (const auto& [key, code] : presses) {
        QTest::keyClick(&canvas, key);
        EXPECT_EQ(engine.ownBoard().getCell(3, 5), code) << key;
        EXPECT_EQ(at(pressed.x(), pressed.y()), cellColour(code, 3, 5, lit)) << key;
        EXPECT_EQ(at(100, 135), cursor) << key; // the cell's top left corner
    }
    EXPECT_EQ(engine.matchState().cellsPlaced, 0);
    for (int step = 0; step < 12; ++step) {
        QTest::keyClick(&canvas, Qt::Key_Left);
        QTest::keyClick(&canvas, Qt::Key_Up);
    }
    EXPECT_EQ(cursorOf(Grid::Own), QPoint(0, 0));
    const QRgb frame = canvas.palette().color(QPalette::Highlight).rgb();
    const QRect aboveOwn(20, 4, 200, 3);
    const QRect aboveEnemy(320, 4, 200, 3);
    QImage shown = canvas.grab().toImage();
    EXPECT_TRUE(holdsColour(shown, aboveOwn, frame));
    EXPECT_FALSE(holdsColour(shown, aboveEnemy, frame));

    placeFleetByHand(engine, handFleet);
    engine.onPeerData(protocol::ReadyMessage);
    ASSERT_EQ(engine.phase(), GamePhase::Playing);
    const QPoint ownCursor = cursorOf(Grid::Own);
    for (const auto key : { Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Enter })
        QTest::keyClick(&canvas, key);
    EXPECT_EQ(link.sent.back(), "TIRO:C1");
    EXPECT_EQ(cursorOf(Grid::Own), ownCursor) << "the own grid is left alone";
    shown = canvas.grab().toImage();
    EXPECT_FALSE(holdsColour(shown, aboveOwn, frame));
    EXPECT_TRUE(holdsColour(shown, aboveEnemy, frame));
    canvas.clearFocus();
    EXPECT_FALSE(holdsColour(canvas.grab().toImage(), QRect(0, 0, 579, 300), frame));
}

// However many requests come between two frames, the next frame draws each grid once, and
// each cell asked for after that once, as the engine's state then stands; the screen shows
// it in one paint, and a frame that finds nothing to draw stops the clock.
TEST_F(Canvas, ABurstOfRequestsIsDrawnOnceAtTheNextFrame)
{
    ASSERT_NO_FATAL_FAILURE(startMatch());
    clock.runOut();
    canvas.installEventFilter(&clock);
    long before = rectangles();
    canvas.paintGrids();
    EXPECT_EQ(clock.runOut(), 1);
    const long bothGrids = rectangles() - before;
    ASSERT_GT(bothGrids, 200);

    ASSERT_TRUE(waitUntil([&] { return clock.paints > 0; }));
    clock.paints = 0;
    before = rectangles();
    for (int message = 0; message < 100; ++message) {
        moveTo(QPoint(322 + 2 * message, 22 + message)); // from cell to cell of the enemy grid
        engine.onPeerData(protocol::ReadyMessage); // both grids again
    }
    for (int move = 0; move < 6; ++move) // column 2 of row 4 and its neighbour, three times
        moveTo(QPoint(move % 2 == 0 ? 372 : 397, 122));
    EXPECT_EQ(clock.paints, 0);
    EXPECT_EQ(clock.runOut(), 1);
    EXPECT_EQ(rectangles() - before, bothGrids + 3);
    ASSERT_TRUE(waitUntil([&] { return clock.paints > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(clock.paints, 1);

    GameCanvas fresh(engine, nullptr); // drawn whole as the state stands
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    // Its cursors where the other's are: the cursors are the canvas's own.
    const GridCell aimed = canvas.cursor(Grid::Enemy);
    for (int step = 0; step < aimed.column + aimed.row; ++step)
        QTest::keyClick(&fresh, step < aimed.column ? Qt::Key_Right : Qt::Key_Down);
    ASSERT_EQ(asPoint(fresh.cursor(Grid::Enemy)), QPoint(3, 4));
    ASSERT_EQ(fresh.cursor(Grid::Own), canvas.cursor(Grid::Own));
    // Drawn once or many times, the picture is the same: the cells and frames, and the
    // labels too.
    const int ratio = static_cast<int>(std::lround(canvas.image().devicePixelRatio()));
    for (const GridGeometry& geometry : { ownGrid, enemyGrid }) {
        const QPoint origin = geometry.origin;
        const QRect grid(origin.x() * ratio, origin.y() * ratio, 261 * ratio, 258 * ratio);
        EXPECT_EQ(canvas.image().copy(grid), fresh.image().copy(grid)) << origin.x();
    }
    EXPECT_EQ(canvas.image(), fresh.image());
}

// Hiding: 24 frames of the own fleet towards grey, 23 of the cover coming back from grey,
// then the cover in full colour; showing mirrors it, the cursor carried between the boards
// unseen, as the own grid shows no highlight in play.
TEST_F(Canvas, HidingAndShowingFadeAndCarryTheCursor)
{
    std::vector<int> fades; // 0 to 230 out, 240 down to 20 in
    for (int frame = 0; frame < 47; ++frame)
        fades.push_back(frame < 24 ? 10 * frame : 240 - 10 * (frame - 24));
    ASSERT_NO_FATAL_FAILURE(startMatch());
    moveTo(ownCell(1, 1)); // a ship cell
    std::vector<QRgb> seen;
    clock.onFrame = [&] { seen.push_back(at(60, 50)); };
    engine.toggleFleetShown();
    EXPECT_EQ(events.fleetShownChanges, std::vector<bool> { false }) << "hidden: \"Mostrar\"";
    EXPECT_EQ(clock.runOut(), 48); // the frames, then the grid given back
    EXPECT_EQ(clock.events, fades);
    ASSERT_EQ(seen.size(), fades.size());
    for (std::size_t i = 0; i < fades.size(); ++i)
        EXPECT_EQ(seen[i], cellColour(i < 24 ? CellShip : CellCover, 1, 1, fades[i])) << i;
    EXPECT_EQ(at(60, 50), cellColour(CellCover, 1, 1));
    EXPECT_EQ(cursorOf(Grid::Own), QPoint(1, 1));

    moveTo(ownCell(6, 8));
    clock.events.clear();
    engine.toggleFleetShown();
    EXPECT_EQ(events.fleetShownChanges, (std::vector<bool> { false, true }))
        << "shown: \"Ocultar\"";
    clock.runOut();
    EXPECT_EQ(clock.events, fades);
    EXPECT_EQ(cursorOf(Grid::Own), QPoint(6, 8));
    EXPECT_EQ(at(180, 220), cellColour(CellShip, 6, 8));
    EXPECT_EQ(at(60, 50), cellColour(CellShip, 1, 1));
}

// A match decided with the fleet hidden shows the fleet before the next match begins: the
// cover fades out and the fleet fades in as the match left them, though the next match has
// begun meanwhile; its empty grid is drawn when the fades are over.
TEST_F(Canvas, TheFleetShownAtAMatchsEndFadesInAsTheMatchLeftIt)
{
    ASSERT_NO_FATAL_FAILURE(startMatch());
    engine.toggleFleetShown();
    clock.runOut();
    events.engine = &engine;
    events.holdResults = true;
    engine.onPeerData("$WINGAME$");
    std::vector<QRgb> seen;
    clock.onFrame = [&] { seen.push_back(at(60, 50)); };
    events.showResult();
    ASSERT_EQ(engine.phase(), GamePhase::Placing);
    EXPECT_EQ(clock.runOut(), 48);
    ASSERT_EQ(seen.size(), 47u);
    for (int frame = 0; frame < 47; ++frame)
        EXPECT_EQ(seen[frame],
            frame < 24 ? cellColour(CellCover, 1, 1, 10 * frame)
                       : cellColour(CellShip, 1, 1, 240 - 10 * (frame - 24)))
            << frame;
    EXPECT_EQ(at(60, 50), cellColour(CellEmpty, 1, 1)) << "the next match's grid";
}

// Fades 250 down to 5, one a tick, the caption of the window holding the canvas flipped
// before frames 10, 20, 30, 40 and 50 and once after the last. Each frame reaches the screen
// in one paint before the next is drawn; the last stays for a tick, then the grid is whole
// again.
TEST_F(Canvas, FlashHitFramesAndFlips)
{
    QWidget dialog;
    GameCanvas inside(engine, &dialog);
    inside.setFrameClock(&clock);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    inside.installEventFilter(&clock);
    std::vector<int> expected;
    std::vector<int> paints;
    inside.flashHit(); // the own board, shown
    EXPECT_TRUE(clock.events.empty()) << "the first frame waits for the first tick";
    for (int frame = 1; frame <= 50; ++frame) {
        ASSERT_TRUE(clock.tick());
        ASSERT_TRUE(waitUntil([&] { return clock.paints >= frame; })) << frame;
        paints.push_back(clock.paints);
    }
    ASSERT_EQ(paints.size(), 50u);
    for (int frame = 1; frame <= 50; ++frame) {
        if (frame % 10 == 0)
            expected.push_back(CountingClock::Flip);
        expected.push_back(255 - 5 * frame);
        EXPECT_EQ(paints[frame - 1], frame);
    }
    EXPECT_EQ(clock.events, expected);
    EXPECT_EQ(logicalPixel(inside.image(), 30, 30), cellColour(CellEmpty, 0, 0, 5));
    ASSERT_TRUE(clock.tick());
    expected.push_back(CountingClock::Flip);
    EXPECT_EQ(clock.events, expected);
    EXPECT_EQ(clock.flipped, std::vector<QWidget*>(6, &dialog));
    EXPECT_EQ(logicalPixel(inside.image(), 30, 30), cellColour(CellEmpty, 0, 0, lit));
    EXPECT_FALSE(clock.running());
}

// During an animation the player and the opponent go on: a shot goes out at the click, the
// enemy grid answers at once, while the left grid keeps to its frames. A hit during the
// hide/show fades flashes in their place, and a second hit starts the flash again; the
// caption ends as it began, and the grid ends as it stands, its hits on the cover.
TEST_F(Canvas, ClicksAndMessagesGoOnDuringAnAnimation)
{
    ASSERT_NO_FATAL_FAILURE(startMatch());
    engine.toggleFleetShown();
    for (int frame = 0; frame < 5; ++frame)
        clock.tick();
    const QRgb faded = cellColour(CellShip, 1, 1, 40);
    EXPECT_EQ(at(60, 50), faded);

    QTest::mouseMove(&canvas, QPoint(322, 22));
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(322, 22));
    EXPECT_EQ(link.sent.back(), "TIRO:A0");
    engine.onPeerData("TREQ:*");
    EXPECT_EQ(at(320, 15), cellColour(CellWater, 0, 0, lit)) << "the enemy grid at once";
    QTest::mouseMove(&canvas, ownCell(2, 2));
    EXPECT_EQ(at(60, 50), faded) << "the left grid waits for the animation";

    engine.onPeerData("$XCHG_MACHINE$");
    link.sent.clear();
    // The player's turn is over: it becomes the target once its three shots are answered.
    for (int shot = 1; shot < 3; ++shot) {
        QTest::mouseMove(&canvas, enemyCell(shot, 0));
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, enemyCell(shot, 0));
        engine.onPeerData("TREQ:*");
    }
    ASSERT_FALSE(engine.matchState().isShooter);
    clock.events.clear();
    engine.onPeerData("TIRO:B1"); // a hit on the T
    for (int frame = 0; frame < 15; ++frame)
        clock.tick();
    engine.onPeerData("TIRO:C1");
    clock.runOut();
    std::vector<int> expected;
    for (int frame = 1; frame <= 15; ++frame) {
        if (frame % 10 == 0)
            expected.push_back(CountingClock::Flip);
        expected.push_back(255 - 5 * frame);
    }
    expected.push_back(CountingClock::Flip); // the caption put back
    for (int frame = 1; frame <= 50; ++frame) {
        if (frame % 10 == 0)
            expected.push_back(CountingClock::Flip);
        expected.push_back(255 - 5 * frame);
    }
    expected.push_back(CountingClock::Flip);
    EXPECT_EQ(clock.events, expected);
    EXPECT_EQ(clock.flipped.size() % 2, 0u);
    EXPECT_EQ(at(60, 50), cellColour(CellHit, 1, 1)) << "the cover, with the hit";
    EXPECT_EQ(at(90, 50), cellColour(CellHit, 2, 1));
    EXPECT_EQ(at(110, 20), cellColour(CellCover, 3, 0));
    EXPECT_EQ(at(80, 80), cellColour(CellCover, 2, 2)) << "no highlight on the own grid in play";
    EXPECT_EQ(cursorOf(Grid::Own), QPoint(2, 2)) << "the cursor where the mouse went";
}

} // namespace
