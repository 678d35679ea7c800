#include "gamecanvas.h"

#include "boardpainter.h"

#include "match/matchengine.h"

#include <QPaintEvent>
#include <QPainter>

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
    drawGrids(true);
    surface.takeChangedArea();
}

void GameCanvas::setCoverColour(QColor colour) { cover = colour; }

void GameCanvas::setFrameClock(FrameClock* frameClock)
{
    const bool running = clock->running();
    clock->stop();
    clock = frameClock ? frameClock : &steadyClock;
    if (running)
        startAnimation();
}

bool GameCanvas::onLeftGrid(const Board& board) const
{
    return &board == &engine.ownBoard() || &board == &engine.coverBoard();
}

void GameCanvas::drawBoard(const Board& board)
{
    if (animating() && onLeftGrid(board))
        return;
    if (&board == &engine.enemyBoard()) {
        drawEnemyGrid();
        coverPanelShown = false;
    } else {
        BoardPainter(board).drawBoard(surface);
    }
    present();
}

void GameCanvas::eraseCursor(const Board& board)
{
    if (animating() && onLeftGrid(board))
        return;
    BoardPainter(board).eraseCursor(surface);
    present();
}

void GameCanvas::drawCursor(const Board& board)
{
    if (animating() && onLeftGrid(board))
        return;
    BoardPainter(board).drawCursor(surface);
    present();
}

void GameCanvas::paintGrids()
{
    drawGrids(!animating());
    present();
}

// The left grid shows the own fleet or its cover; the enemy grid is drawn only in play,
// and each cursor highlight goes on top of its grid.
void GameCanvas::drawGrids(bool withLeftGrid)
{
    if (engine.matchState().phase == GamePhase::Playing) {
        drawEnemyGrid();
        BoardPainter(engine.enemyBoard()).drawCursor(surface);
        coverPanelShown = false;
    }
    if (withLeftGrid)
        drawLeftGrid();
}

void GameCanvas::drawEnemyGrid()
{
    const BoardPainter enemy(engine.enemyBoard());
    enemy.drawBoard(surface);
    if (!engine.matchOver())
        revealed.reset();
    else if (revealed)
        enemy.drawRevealed(surface, *revealed);
}

void GameCanvas::revealFleet(const Board& fleet)
{
    if (!engine.matchOver() || engine.matchState().phase != GamePhase::Playing)
        return;
    revealed = fleet;
    drawEnemyGrid();
    BoardPainter(engine.enemyBoard()).drawCursor(surface);
    present();
}

void GameCanvas::drawLeftGrid()
{
    const BoardPainter left(engine.displayedBoard());
    left.drawBoard(surface);
    left.drawCursor(surface);
}

// The grid being left fades towards grey in 24 frames, in place of any animation playing.
void GameCanvas::fadeOut(const Board& leaving)
{
    stopAnimation();
    for (int fade = 0; fade <= 230; fade += 10)
        steps.push_back({ &leaving, fade });
    startAnimation();
}

// The grid arriving comes back from near grey in 23 frames; then it is drawn in full colour.
void GameCanvas::fadeIn(const Board& arriving)
{
    for (int fade = 240; fade >= 20; fade -= 10)
        steps.push_back({ &arriving, fade });
    startAnimation();
}

// The left grid pulses from grey back towards colour in 50 frames while the caption flips
// six times, so that it ends as it began; then the grid is drawn in full colour again.
void GameCanvas::flashHit(const Board& shown)
{
    stopAnimation();
    for (int frame = 1; frame <= 50; ++frame) {
        if (frame % 10 == 0)
            steps.push_back({});
        steps.push_back({ &shown, 255 - 5 * frame });
    }
    steps.push_back({});
    startAnimation();
}

void GameCanvas::startAnimation()
{
    playing = true;
    clock->start([this] { tick(); });
}

// One frame, with the caption flips that come before it. The tick after the last frame
// gives the left grid back, drawn as it now stands.
void GameCanvas::tick()
{
    while (!steps.empty()) {
        const Step step = steps.front();
        steps.pop_front();
        if (step.board == nullptr) {
            flipCaption();
            continue;
        }
        BoardPainter(*step.board).drawBoardFaded(surface, static_cast<std::uint8_t>(step.fade));
        present();
        clock->frameShown(step.fade);
        return;
    }
    clock->stop();
    playing = false;
    drawLeftGrid();
    present();
}

// An animation cut short leaves the caption as it found it.
void GameCanvas::stopAnimation()
{
    steps.clear();
    playing = false;
    clock->stop();
    if (captionFlipped)
        flipCaption();
}

void GameCanvas::flipCaption()
{
    captionFlipped = !captionFlipped;
    clock->flipCaption(*window());
}

void GameCanvas::drawCoverPanel()
{
    BoardPainter(engine.enemyBoard()).drawCoverPanel(surface, cover.rgb());
    coverPanelShown = true;
    present();
}

// Shows what was just drawn before the caller goes on, so every animation frame reaches
// the screen.
void GameCanvas::present()
{
    const QRect changed = surface.takeChangedArea();
    if (!changed.isEmpty() && isVisible())
        repaint(changed);
    updateFocusFrame();
}

// A new device pixel ratio (the window moved to another screen, or the scale changed):
// the image is drawn afresh at the new resolution.
void GameCanvas::rebuild(qreal devicePixelRatio)
{
    surface.setBackground(palette().color(QPalette::Window).rgb());
    surface.reset(devicePixelRatio);
    if (coverPanelShown)
        BoardPainter(engine.enemyBoard()).drawCoverPanel(surface, cover.rgb());
    drawGrids(true);
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
