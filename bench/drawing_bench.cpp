// Drawing the grids, at device pixel ratio 1 and 2 side by side. An animation frame has a
// 16 ms slot; drawing one must take a small fraction of it. The baseline is 100 plain
// filled rectangles, a board's worth, drawn with QPainter on an image of the same size.
//
// The canvas benchmarks show a real widget on the offscreen platform with one screen of
// each ratio (unless QT_QPA_PLATFORM says otherwise), so they include presenting the
// changed area.

#include "enginepair.h"
#include "testclocks.h"

#include "ui/boardpainter.h"
#include "ui/gamecanvas.h"
#include "ui/gridgeometry.h"
#include "ui/surface.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr QSize ClientArea(GameCanvas::Width, GameCanvas::Height);
constexpr QRgb Paper = qRgb(212, 208, 200);

qreal ratioOf(const benchmark::State& state) { return static_cast<qreal>(state.range(0)); }

// A board with a fleet, some water and hits, as in the middle of a match.
Board playedBoard()
{
    Board board;
    for (auto [column, row] : handFleet)
        board.setCell(column, row, CellShip);
    for (int i = 0; i < 100; i += 7)
        if (board.cells[i] == CellEmpty)
            board.cells[i] = CellWater;
    board.setCell(1, 1, CellHit);
    board.setCell(2, 1, CellHit);
    return board;
}

void baseline100Rectangles(benchmark::State& state)
{
    QImage image(ClientArea * ratioOf(state), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratioOf(state));
    image.fill(Paper);
    int shade = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        for (int column = 0; column < 10; ++column)
            for (int row = 0; row < 10; ++row)
                painter.fillRect(25 + 25 * column, 10 + 25 * row, 26, 26,
                    QColor(shade & 0xff, column * 20, row * 20));
        ++shade;
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(baseline100Rectangles)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void drawBoard(benchmark::State& state)
{
    Surface surface(ClientArea, ratioOf(state), Paper);
    const Board board = playedBoard();
    for (auto _ : state) {
        BoardPainter(board, ownGrid).drawBoard(surface);
        benchmark::DoNotOptimize(surface.takeChangedArea());
    }
}
BENCHMARK(drawBoard)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// One frame of the hide/show fade or of the hit flash.
void drawBoardFaded(benchmark::State& state)
{
    Surface surface(ClientArea, ratioOf(state), Paper);
    const Board board = playedBoard();
    int fade = 0;
    for (auto _ : state) {
        BoardPainter(board, ownGrid).drawBoardFaded(surface, static_cast<std::uint8_t>(fade));
        fade = (fade + 10) % 250;
        benchmark::DoNotOptimize(surface.takeChangedArea());
    }
}
BENCHMARK(drawBoardFaded)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A match in play with its canvas shown on the screen of the wanted ratio.
class ShownMatch {
public:
    explicit ShownMatch(qreal ratio)
    {
        pair.connect();
        pair.randomizeAndAccept(pair.server);
        pair.pump();
        pair.randomizeAndAccept(pair.client);
        pair.pump();
        canvas.setFrameClock(&clock);
        canvas.show();
        for (QScreen* screen : QGuiApplication::screens())
            if (screen->devicePixelRatio() == ratio)
                canvas.windowHandle()->setScreen(screen);
        QApplication::processEvents();
    }

    bool atRatio(qreal ratio) { return canvas.image().devicePixelRatio() == ratio; }

    EnginePair pair;
    HandClock clock; // never waits: a benchmark measures the frames themselves
    GameCanvas canvas { pair.server.engine, nullptr };
};

// The whole repaint of both grids in play: the frame that draws it, and the paint that
// puts it on screen.
void paintGrids(benchmark::State& state)
{
    ShownMatch match(ratioOf(state));
    if (!match.atRatio(ratioOf(state))) {
        state.SkipWithError("no screen of this ratio");
        return;
    }
    for (auto _ : state) {
        match.canvas.paintGrids();
        match.clock.tick();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(paintGrids)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// One frame of the fade as the canvas draws it: the cells and their paint on screen.
void canvasFadeFrame(benchmark::State& state)
{
    ShownMatch match(ratioOf(state));
    if (!match.atRatio(ratioOf(state))) {
        state.SkipWithError("no screen of this ratio");
        return;
    }
    const Board& own = match.pair.server.engine.ownBoard();
    for (auto _ : state) {
        match.canvas.fadeBetween(own, own); // 47 frames
        while (match.clock.tick()) // and the grid drawn whole again
            QCoreApplication::processEvents();
    }
    state.counters["per frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * 48,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(canvasFadeFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The hide/show transition at the real pace of one frame per 16 ms: 47 frames, so about
// 0.75 s whatever the drawing costs.
void hideShowAtRealPace(benchmark::State& state)
{
    ShownMatch match(ratioOf(state));
    match.canvas.setFrameClock(nullptr);
    const MatchEngine& engine = match.pair.server.engine;
    for (auto _ : state) {
        match.canvas.fadeBetween(engine.ownBoard(), engine.coverBoard());
        while (match.canvas.animating())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
BENCHMARK(hideShowAtRealPace)->Arg(1)->Iterations(4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUORVEL_SCREENS);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
