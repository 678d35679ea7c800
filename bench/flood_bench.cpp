// The game window against a peer that floods it: once play has begun, with this side the
// target, the peer sends a megabyte of "TIRO:A0" (a hit: a ship lies on A0) without ever
// handing the turn over, reading and dropping whatever comes back. Meanwhile the player
// moves the mouse over the window, one move every 10 ms. Printed: how much of the flood
// was read, the CPU time of the window's thread, the longest time between two handled
// moves, and the replies sent.
//
// The program uses nothing but the window's public face, so that the same source builds
// against earlier versions of the game: tools/flood-compare runs it on two versions side by
// side.

#include "match/controlids.h"
#include "ui/gamecanvas.h"
#include "ui/maindialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <thread>

namespace {

constexpr std::size_t FloodBytes = 1024 * 1024;
constexpr qint64 GiveUpAfterMs = 20000;

// The CPU time of the window's thread, readable from another thread too.
double cpuSeconds(clockid_t thread)
{
    timespec now {};
    clock_gettime(thread, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The flooding peer, on a thread and a plain socket of its own.
class Flooder {
public:
    void start(quint16 port)
    {
        worker = std::thread([this, port] { run(port); });
    }
    void stop()
    {
        stopping = true;
        if (worker.joinable())
            worker.join();
    }
    std::atomic<bool> playing { false }; // set by the window's side once it is the target
    std::atomic<std::size_t> sent { 0 };
    std::atomic<std::size_t> received { 0 };

private:
    void run(quint16 port)
    {
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return;
        std::thread reader([this, socket] {
            char buffer[4096];
            for (ssize_t count; (count = ::recv(socket, buffer, sizeof buffer, 0)) > 0;)
                received += static_cast<std::size_t>(count);
        });
        ::send(socket, "$READY$", 7, MSG_NOSIGNAL);
        while (!playing && !stopping)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::string chunk;
        while (chunk.size() + 7 <= 7 * 1024)
            chunk += "TIRO:A0";
        while (sent < FloodBytes && !stopping) {
            const ssize_t count = ::send(socket, chunk.data(), chunk.size(), MSG_NOSIGNAL);
            if (count <= 0)
                break;
            sent += static_cast<std::size_t>(count);
        }
        ::send(socket, "USER_MSG:fim", 12, MSG_NOSIGNAL);
        while (!stopping)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::shutdown(socket, SHUT_RDWR);
        reader.join();
        ::close(socket);
    }

    std::thread worker;
    std::atomic<bool> stopping { false };
};

// Remembers when each mouse move reaches the canvas.
class MoveWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove) {
            const qint64 now = clock.elapsed();
            longestGap = std::max(longestGap.load(), now - last);
            last = now;
        }
        return false;
    }
    // The longest gap so far, counting the stretch since the last handled move.
    qint64 gapUntilNow() const { return std::max(longestGap.load(), clock.elapsed() - last); }

    QElapsedTimer clock;
    std::atomic<qint64> last { 0 };
    std::atomic<qint64> longestGap { 0 };
};

// Runs the event loop until the condition holds or the time is up.
bool waitFor(const std::function<bool()>& condition, qint64 limitMs)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (condition() || clock.elapsed() >= limitMs)
            loop.quit();
    });
    poll.start(5);
    if (!condition())
        loop.exec();
    return condition();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    MainDialog dialog;
    dialog.show();
    qobject_cast<QLineEdit*>(dialog.control(IDC_PORT))->setText(QStringLiteral("0"));
    qobject_cast<QAbstractButton*>(dialog.control(IDC_LISTEN_CONNECT))->click();
    MatchEngine& engine = dialog.gameSession().engine();

    Flooder flooder;
    flooder.start(dialog.gameSession().listeningPort());
    if (!waitFor(
            [&] {
                return engine.matchState().phase == GamePhase::Placing
                    && !engine.matchState().isShooter;
            },
            5000)) {
        std::fprintf(stderr, "the peer did not connect and declare\n");
        return 1;
    }
    // A fleet with a ship on A0, declared second: this side is the target.
    for (unsigned seed = 1; engine.ownBoard().getCell(0, 0) != CellShip; ++seed) {
        engine.random().seed(seed);
        engine.onRandomize();
    }
    engine.onAcceptFleet();

    MoveWatch watch;
    dialog.canvas().installEventFilter(&watch);
    QTimer mover;
    int moves = 0;
    QObject::connect(&mover, &QTimer::timeout, [&] {
        const QPointF point(100 + moves % 100, 300);
        ++moves;
        QCoreApplication::postEvent(&dialog.canvas(),
            new QMouseEvent(QEvent::MouseMove, point, dialog.canvas().mapToGlobal(point),
                Qt::NoButton, Qt::NoButton, Qt::NoModifier));
    });

    clockid_t windowThread {};
    pthread_getcpuclockid(pthread_self(), &windowThread);
    const double cpuBefore = cpuSeconds(windowThread);
    QElapsedTimer wall;
    wall.start();
    const auto report = [&](bool finished) {
        std::printf("%s in %lld ms: %zu of %zu bytes sent; window thread CPU %.0f ms; longest "
                    "gap between two handled moves %lld ms; %zu bytes of replies\n",
            finished ? "flood read" : "gave up", static_cast<long long>(wall.elapsed()),
            flooder.sent.load(), FloodBytes, (cpuSeconds(windowThread) - cpuBefore) * 1000,
            static_cast<long long>(watch.gapUntilNow()), flooder.received.load());
        std::fflush(stdout);
    };
    // A window that never comes back to its event loop is given up on from another thread.
    std::thread watchdog([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(GiveUpAfterMs + 2000));
        report(false);
        std::_Exit(0);
    });
    watchdog.detach();
    watch.clock.start();
    mover.start(10);
    flooder.playing = true;
    auto* log = qobject_cast<QListWidget*>(dialog.control(IDC_LOG));
    const bool finished = waitFor(
        [&] { return log->count() > 0 && log->item(0)->text().endsWith(QStringLiteral("fim")); },
        GiveUpAfterMs);
    report(finished);
    std::_Exit(0); // the flooder may still be blocked in a send
}
