// A whole match between two game windows in one process, over a loopback TCP connection,
// played with the mouse as two players would: one builds its fleet cell by cell, the other
// generates one and accepts it, and both fire by clicking the enemy grid until one fleet is
// gone and the score shows in both titles.
//
// With QUORVEL_SCREENSHOT_DIR set, the windows are also saved as pictures at telling moments
// (placement in progress, a generated fleet, play, the fleet hidden).

#include "enginepair.h"
#include "pixelprobe.h"

#include "match/controlids.h"
#include "ui/boardpainter.h"
#include "ui/frameclock.h"
#include "ui/gamecanvas.h"
#include "ui/maindialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

// Frames at no pace, so a match with many hits stays quick; every frame is still drawn.
class FreeClock : public FrameClock {
public:
    void frameShown(int) override { ++frames; }
    void flipCaption(QWidget&) override { ++flips; }
    int frames = 0;
    int flips = 0;
};

// Answers each end-of-match box with its OK button, as a player does, and keeps its text.
class BoxAnswerer {
public:
    // Its timer also wakes every wait now and then.
    BoxAnswerer()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            texts.push_back(box->text());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        timer.start(5);
    }

    QStringList texts;

private:
    QTimer timer;
};

// Handles events until the condition holds, or gives up after five seconds. Unlike
// QTest::qWaitFor it does not sleep between rounds, so the hundred-odd round trips of a match
// take no longer than the events themselves.
template <typename Condition> bool settle(Condition condition)
{
    const QDeadlineTimer deadline(5000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

struct Player {
    explicit Player(unsigned seed)
    {
        dialog.gameSession().engine().random().seed(seed);
        dialog.canvas().setFrameClock(&clock);
        dialog.show();
    }

    const MatchEngine& engine() { return dialog.gameSession().engine(); }
    const MatchState& state() { return engine().matchState(); }
    GameCanvas& canvas() { return dialog.canvas(); }

    void click(int id) { QTest::mouseClick(dialog.control(id), Qt::LeftButton); }
    QString caption(int id) { return qobject_cast<QAbstractButton*>(dialog.control(id))->text(); }
    void typePort(int port)
    {
        auto* edit = qobject_cast<QLineEdit*>(dialog.control(IDC_PORT));
        edit->selectAll();
        QTest::keyClicks(edit, QString::number(port));
    }
    // Points at a cell of a grid and clicks it.
    void clickCell(int originX, int column, int row)
    {
        const QPoint point(originX + 25 * column + 12, 10 + 25 * row + 12);
        QTest::mouseMove(&canvas(), point);
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, point);
    }

    FreeClock clock; // outlives the window, which may still draw while it closes
    MainDialog dialog;
    std::vector<std::pair<int, int>> aims; // the enemy cells in the order this player fires
};

void saveScreenshot(QWidget& window, const char* name)
{
    const QString directory = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    if (directory.isEmpty())
        return;
    QDir().mkpath(directory);
    window.grab().save(directory + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// Ships this side has sunk so far in the match.
long sunkCount(const MatchEngine& engine)
{
    const auto& results = engine.shotResults();
    return std::count_if(results.begin(), results.end(),
        [](const ShotResult& result) { return result.kind == ShotResult::Sunk; });
}

long hitsTaken(const MatchEngine& engine)
{
    const auto& cells = engine.ownBoard().cells;
    return std::count(cells.begin(), cells.end(), CellHit);
}

TEST(WholeGame, TwoWindowsPlayAMatchWithTheMouse)
{
    BoxAnswerer answerer;
    Player server(7);
    Player client(8);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&server.dialog));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&client.dialog));

    // The server listens on a port of the system's choosing; the client connects to it.
    server.typePort(0);
    server.click(IDC_LISTEN_CONNECT);
    const int port = server.dialog.gameSession().listeningPort();
    ASSERT_GT(port, 0);
    client.click(IDC_MODE_CLIENT);
    client.typePort(port);
    client.click(IDC_LISTEN_CONNECT);
    ASSERT_TRUE(settle([&] {
        return server.state().phase == GamePhase::Placing
            && client.state().phase == GamePhase::Placing;
    }));

    // The server builds its fleet by hand; half-way it is a placement in progress.
    for (std::size_t i = 0; i < handFleet.size(); ++i) {
        if (i == 12)
            saveScreenshot(server.dialog, "placement");
        server.clickCell(25, handFleet[i].first, handFleet[i].second);
    }
    ASSERT_EQ(server.state().phase, GamePhase::Ready);
    EXPECT_EQ(logicalPixel(server.canvas().image(), 30, 140),
        BoardPainter::cellColour(CellShip, 0 + 5 * 5, 0)); // (0, 5), placed by hand

    // Once it knows the server is ready, the client lets the generator place its fleet and
    // accepts it.
    ASSERT_TRUE(settle([&] { return !client.state().isShooter; }));
    client.click(IDC_RANDOMIZE);
    EXPECT_EQ(client.state().cellsPlaced, 25);
    saveScreenshot(client.dialog, "generated");
    client.click(IDC_ACCEPT);
    ASSERT_TRUE(settle([&] {
        return server.state().phase == GamePhase::Playing
            && client.state().phase == GamePhase::Playing;
    }));
    EXPECT_TRUE(server.state().isShooter); // declared first
    EXPECT_FALSE(client.state().isShooter);

    // The client hides its fleet for a while.
    client.click(IDC_HIDE_SHOW);
    EXPECT_EQ(&client.engine().displayedBoard(), &client.engine().coverBoard());
    EXPECT_EQ(client.clock.frames, 47);
    EXPECT_EQ(client.caption(IDC_HIDE_SHOW), QStringLiteral("Mostrar"));
    saveScreenshot(client.dialog, "hidden");

    // The server sweeps the grid column by column, the client row by row.
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b) {
            server.aims.emplace_back(a, b);
            client.aims.emplace_back(b, a);
        }
    bool playShot = false;
    int shots = 0;
    while (server.engine().myWins() + client.engine().myWins() == 0 && shots < 200) {
        Player& shooter = server.state().isShooter ? server : client;
        ASSERT_EQ(shooter.state().phase, GamePhase::Playing);
        ASSERT_FALSE(shooter.state().shotPending);
        auto& aims = shooter.aims;
        while (!aims.empty()
            && shooter.engine().enemyBoard().getCell(aims.front().first, aims.front().second)
                != CellEmpty)
            aims.erase(aims.begin());
        ASSERT_FALSE(aims.empty());
        const auto [column, row] = aims.front();
        shooter.clickCell(310, column, row);
        ++shots;
        ASSERT_TRUE(shooter.state().shotPending);
        // The answer comes back and one side may fire again, or the match has ended.
        ASSERT_TRUE(settle([&] {
            return server.engine().myWins() + client.engine().myWins() > 0
                || (server.state().isShooter != client.state().isShooter
                    && !server.state().shotPending && !client.state().shotPending);
        })) << "shot "
            << shots;

        // Well into the match: ships sunk with water around them, hits and misses on both
        // grids.
        if (!playShot && sunkCount(server.engine()) >= 3 && hitsTaken(server.engine()) >= 3
            && server.state().isShooter) {
            playShot = true;
            saveScreenshot(server.dialog, "play");
        }
    }

    // Both titles show the score: one win for one side, one loss for the other.
    const QString won = QStringLiteral("Redefinir novo jogo... [ Eu=1 , Adv=0 ]");
    const QString lost = QStringLiteral("Redefinir novo jogo... [ Eu=0 , Adv=1 ]");
    ASSERT_TRUE(settle([&] {
        const QString a = server.dialog.windowTitle();
        const QString b = client.dialog.windowTitle();
        return (a == won && b == lost) || (a == lost && b == won);
    })) << server.dialog.windowTitle().toStdString()
        << " / " << client.dialog.windowTitle().toStdString();
    EXPECT_EQ(answerer.texts.size(), 2);
    EXPECT_GT(server.clock.frames + client.clock.frames, 0); // hits flashed

    // The next match starts at once: the fleet is shown again and the generator is back.
    ASSERT_TRUE(settle([&] {
        return server.state().phase == GamePhase::Placing
            && client.state().phase == GamePhase::Placing;
    }));
    EXPECT_EQ(&client.engine().displayedBoard(), &client.engine().ownBoard());
    EXPECT_EQ(client.caption(IDC_HIDE_SHOW), QStringLiteral("Ocultar"));
    EXPECT_EQ(logicalPixel(client.canvas().image(), 400, 150),
        client.canvas().coverColour().rgb() | 0xff000000u);
    saveScreenshot(server.dialog, "next");
}

} // namespace
