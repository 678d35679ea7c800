#include "gamecanvas.h"

#include "boardpainter.h"

#include "match/matchengine.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

GameCanvas::GameCanvas(MatchEngine& matchEngine, QWidget* parent)
    : QWidget(parent)
    , engine(matchEngine)
    , cover(Qt::lightGray)
    , surface(QSize(Width, Height), devicePixelRatioF(), palette().color(QPalette::Window).rgb())
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(0, 0, Width, Height);
    paintGrids();
    drawAsked();
    surface.takeChangedArea();
    clock->stop(); // nothing waits for a frame
}

void GameCanvas::setCoverColour(QColor colour) { cover = colour; }

void GameCanvas::setFrameClock(FrameClock* frameClock)
{
    const bool running = clock->running();
    clock->stop();
    clock = frameClock ? frameClock : &steadyClock;
    if (running)
        requestFrame();
}

// What covers a grid's whole area makes the drawing asked for there before it needless.
void GameCanvas::askWhole(Pending& area, Whole whole)
{
    area.whole = whole;
    area.cells.clear();
    requestFrame();
}

void GameCanvas::askCell(Grid grid, GridCell cell, bool highlighted)
{
    if (animating() && grid == Grid::Own)
        return;
    Pending& area = grid == Grid::Own ? left : right;
    std::erase_if(area.cells, [&cell](const Cell& asked) { return asked.cell == cell; });
    area.cells.push_back({ cell, highlighted });
    requestFrame();
}

void GameCanvas::requestFrame()
{
    if (!clock->running())
        clock->start([this] { frame(); });
}

// The enemy grid is drawn only in play; whether it is, is a matter of the moment of the
// request, as the cover panel asked for later is.
void GameCanvas::paintGrids()
{
    if (engine.phase() == GamePhase::Playing)
        askWhole(right, Whole::Grid);
    if (!animating())
        askWhole(left, Whole::Grid);
}

// Between matches the grids stay as they were: nothing on them changed.
void GameCanvas::phaseChanged(GamePhase from, GamePhase to)
{
    if (to == GamePhase::Ready || (from == GamePhase::Playing && to != GamePhase::Playing))
        drawCoverPanel();
    if (to != GamePhase::Idle)
        paintGrids();
}

void GameCanvas::revealFleet(const Board& fleet)
{
    if (!engine.matchOver() || engine.phase() != GamePhase::Playing)
        return;
    revealed = fleet;
    askWhole(right, Whole::Grid);
}

void GameCanvas::drawCoverPanel() { askWhole(right, Whole::CoverPanel); }

// One frame: the next step of the animation playing, then whatever was asked for since the
// last frame. The clock stops once a frame finds nothing more to do.
void GameCanvas::frame()
{
    const std::optional<int> fade = playing ? animationStep() : std::nullopt;
    drawPending();
    if (fade)
        clock->frameShown(*fade);
    if (!playing && left.empty() && right.empty())
        clock->stop();
}

// The next frame of the animation, with the caption flips that come before it: its fade, or
// none once the animation is over and the left grid is given back, to be drawn as it stands.
std::optional<int> GameCanvas::animationStep()
{
    while (!steps.empty()) {
        const Step step = steps.front();
        steps.pop_front();
        if (step.board == nullptr) {
            flipCaption();
            continue;
        }
        BoardPainter(*step.board, ownGrid)
            .drawBoardFaded(surface, static_cast<std::uint8_t>(step.fade));
        return step.fade;
    }
    playing = false;
    askWhole(left, Whole::Grid);
    return std::nullopt;
}

void GameCanvas::drawPending()
{
    drawAsked();
    present();
}

void GameCanvas::drawAsked()
{
    if (left.whole == Whole::Grid)
        drawLeftGrid();

    const BoardPainter enemy(engine.enemyBoard(), enemyGrid);
    if (right.whole == Whole::CoverPanel) {
        enemy.drawCoverPanel(surface, cover.rgb());
        coverPanelShown = true;
    } else if (right.whole == Whole::Grid) {
        drawEnemyGrid();
        enemy.drawCursor(surface, rightCursor);
        coverPanelShown = false;
    }

    const BoardPainter own(engine.displayedBoard(), ownGrid);
    for (const Cell& cell : left.cells)
        own.redrawCell(surface, cell.cell, cell.highlighted);
    for (const Cell& cell : right.cells)
        enemy.redrawCell(surface, cell.cell, cell.highlighted);
    left = {};
    right = {};
}

// The left grid shows the own fleet or its cover, with its highlighted cell but in play. It
// lies on the window's colour, put back beneath it at each drawing: the labels' soft edges
// blend with what is under them, and drawn over themselves they grew heavier each time.
void GameCanvas::drawLeftGrid()
{
    const BoardPainter painter(engine.displayedBoard(), ownGrid);
    painter.drawCoverPanel(surface, surface.background());
    painter.drawBoard(surface);
    if (ownCursorShown())
        painter.drawCursor(surface, leftCursor);
}

bool GameCanvas::ownCursorShown() const { return engine.phase() != GamePhase::Playing; }

// In play the enemy grid lies on the cover panel, whether play began from a declared fleet
// or at once: the panel goes beneath it each time, so every match looks the same, and the
// labels are drawn afresh rather than over themselves.
void GameCanvas::drawEnemyGrid()
{
    const BoardPainter enemy(engine.enemyBoard(), enemyGrid);
    enemy.drawCoverPanel(surface, cover.rgb());
    enemy.drawBoard(surface);
    if (!engine.matchOver())
        revealed.reset();
    else if (revealed)
        enemy.drawRevealed(surface, *revealed);
}

// The grid being left fades towards grey in 24 frames, in place of any animation playing;
// the grid arriving comes back from near grey in 23 frames, then it is drawn in full colour.
void GameCanvas::fadeBetween(const Board& leaving, const Board& arriving)
{
    stopAnimation();
    animatedBoards = { leaving, arriving };
    for (int fade = 0; fade <= 230; fade += 10)
        steps.push_back({ &animatedBoards[0], fade });
    for (int fade = 240; fade >= 20; fade -= 10)
        steps.push_back({ &animatedBoards[1], fade });
    startAnimation();
}

// The left grid pulses from grey back towards colour in 50 frames while the caption flips
// six times, so that it ends as it began; then the grid is drawn in full colour again.
void GameCanvas::flashHit()
{
    stopAnimation();
    animatedBoards[0] = engine.displayedBoard();
    for (int frame = 1; frame <= 50; ++frame) {
        if (frame % 10 == 0)
            steps.push_back({});
        steps.push_back({ &animatedBoards[0], 255 - 5 * frame });
    }
    steps.push_back({});
    startAnimation();
}

// The frames draw the whole left grid: what was asked for there before is needless.
void GameCanvas::startAnimation()
{
    playing = true;
    left = {};
    requestFrame();
}

// An animation cut short leaves the caption as it found it.
void GameCanvas::stopAnimation()
{
    steps.clear();
    playing = false;
    if (captionFlipped)
        flipCaption();
}

void GameCanvas::flipCaption()
{
    captionFlipped = !captionFlipped;
    clock->flipCaption(*window());
}

// Only what a frame drew is shown: the screen is updated from the event loop, once however
// many frames came before it.
void GameCanvas::present()
{
    const QRect changed = surface.takeChangedArea();
    if (!changed.isEmpty())
        update(changed);
    updateFocusFrame();
}

// A new device pixel ratio (the window moved to another screen, or the scale changed):
// the image is drawn afresh at the new resolution, at once: what was shown, then what waited
// for a frame. An animation playing draws over the left grid at its next frame.
void GameCanvas::rebuild(qreal devicePixelRatio)
{
    surface.setBackground(palette().color(QPalette::Window).rgb());
    surface.reset(devicePixelRatio);
    if (coverPanelShown) {
        BoardPainter(engine.enemyBoard(), enemyGrid).drawCoverPanel(surface, cover.rgb());
    } else if (engine.phase() == GamePhase::Playing) {
        drawEnemyGrid();
        BoardPainter(engine.enemyBoard(), enemyGrid).drawCursor(surface, rightCursor);
    }
    drawLeftGrid();
    drawAsked();
    surface.takeChangedArea();
}

void GameCanvas::paintEvent(QPaintEvent* event)
{
    if (devicePixelRatioF() != surface.devicePixelRatio())
        rebuild(devicePixelRatioF());

    const QRect area = event->rect();
    const qreal ratio = surface.devicePixelRatio();
    QPainter painter(this);
    painter.drawImage(area, surface.image(),
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(focusFrame()).adjusted(1, 1, -1, -1));
    }
}
