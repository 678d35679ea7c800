// The game window against a peer that floods it, once play has begun with this side the
// target. The floods, chosen by the first argument (without one, each in turn, each in a
// process of its own):
//
//   shots        a megabyte of "TIRO:A0" (a hit: a ship lies on A0), the turn never handed over
//   readies-64k  64 KB of "$READY$" in one write
//   readies-1m   a megabyte of "$READY$" in one write
//   readies-20s  "$READY$" for 20 s, as fast as the window takes them; the player types and
//                sends a chat line every second meanwhile
//   glued-chat-1m  a megabyte of the chat line "a" with "$READY$" glued behind it, in one
//                write: the reader looks for the messages behind each chat text
//
// The peer reads and drops whatever comes back, and ends its flood with the chat line "fim":
// the flood is read once that line is in the log. Meanwhile the player moves the mouse over
// the window, one move every 10 ms. Printed: how long the flood took to be read, how much
// was sent, the CPU time of the window's thread, the longest time between two handled
// moves, the replies sent, and for the chat lines typed the longest time one took to leave.
//
// The program drives the window through its widgets alone, as a player does, and reads the
// match from what the window shows, so that the same source builds against earlier versions
// of the game: tools/flood-compare runs it on two versions side by side. The control ids
// moved from the match layer to the window's.

#if __has_include("ui/controlids.h")
#include "ui/controlids.h"
#else
#include "match/controlids.h"
#endif
#include "ui/gamecanvas.h"
#include "ui/maindialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Flood {
    const char* name;
    const char* message; // repeated
    std::size_t bytes; // of the flood; 0: as much as goes in `seconds`
    bool oneWrite; // the whole flood handed to one send call
    int seconds;
    bool chat; // the player types a chat line every second
    qint64 giveUpAfterMs; // the window has not read the flood by then
    QPointF moveFrom; // the player's moves run 100 pixels right from here
};

constexpr std::size_t Megabyte = 1024 * 1024;

// The shots' moves stay below the grids, as they always did, so that their figures compare
// with earlier ones; the readies' moves go from cell to cell of the enemy grid.
const Flood floods[] = {
    { "shots", "TIRO:A0", Megabyte, false, 0, false, 20000, { 100, 300 } },
    { "readies-64k", "$READY$", 64 * 1024, true, 0, false, 30000, { 330, 120 } },
    { "readies-1m", "$READY$", Megabyte, true, 0, false, 120000, { 330, 120 } },
    { "readies-20s", "$READY$", 0, false, 20, true, 60000, { 330, 120 } },
    { "glued-chat-1m", "USER_MSG:a$READY$", Megabyte, true, 0, false, 120000, { 330, 120 } },
};

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The CPU time of the window's thread, readable from another thread too.
double cpuSeconds(clockid_t thread)
{
    timespec now {};
    clock_gettime(thread, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The flooding peer, on a thread and a plain socket of its own. It writes down when each
// chat line of the player arrives.
class Flooder {
public:
    explicit Flooder(const Flood& chosen)
        : flood(chosen)
    {
    }
    // The process ends with the peer still running.
    void start(quint16 port)
    {
        std::thread([this, port] { run(port); }).detach();
    }
    std::atomic<bool> playing { false }; // set by the window's side once it is the target
    std::atomic<std::size_t> sent { 0 };
    std::atomic<std::size_t> received { 0 };

    std::vector<Clock::time_point> chatArrivals()
    {
        const std::lock_guard lock(arrivalsMutex);
        return arrivals;
    }

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
        std::thread([this, socket] { read(socket); }).detach();
        ::send(socket, "$READY$", 7, MSG_NOSIGNAL);
        while (!playing)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));

        const std::size_t messageSize = std::strlen(flood.message);
        const std::size_t wholeMessages = flood.bytes / messageSize * messageSize;
        std::string chunk;
        const std::size_t chunkBytes = flood.oneWrite ? wholeMessages : 7 * 1024;
        while (chunk.size() + messageSize <= chunkBytes)
            chunk += flood.message;
        const Clock::time_point begun = Clock::now();
        const auto more = [&] {
            if (flood.bytes > 0)
                return sent < wholeMessages;
            return Clock::now() - begun < std::chrono::seconds(flood.seconds);
        };
        while (more()) {
            // One send call of the chunk, and more for what it did not take at once.
            for (std::size_t done = 0; done < chunk.size();) {
                const ssize_t count
                    = ::send(socket, chunk.data() + done, chunk.size() - done, MSG_NOSIGNAL);
                if (count <= 0)
                    return;
                done += static_cast<std::size_t>(count);
                sent += static_cast<std::size_t>(count);
            }
        }
        ::send(socket, "USER_MSG:fim", 12, MSG_NOSIGNAL);
    }

    void read(int socket)
    {
        const std::string token = "USER_MSG:";
        std::string tail; // the end of what came, where a token may be cut
        char buffer[4096];
        for (ssize_t count; (count = ::recv(socket, buffer, sizeof buffer, 0)) > 0;) {
            received += static_cast<std::size_t>(count);
            const std::string seen = tail + std::string(buffer, static_cast<std::size_t>(count));
            for (std::size_t at = seen.find(token); at != std::string::npos;
                 at = seen.find(token, at + 1)) {
                const std::lock_guard lock(arrivalsMutex);
                arrivals.push_back(Clock::now());
            }
            tail = seen.substr(seen.size() - std::min(seen.size(), token.size() - 1));
        }
    }

    const Flood& flood;
    std::mutex arrivalsMutex;
    std::vector<Clock::time_point> arrivals;
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

// The player types a line into the chat field and presses Enter, as events that queue up
// behind whatever the window has still to handle.
void typeChatLine(QWidget* field, const QString& line)
{
    for (const QChar character : line) {
        for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease })
            QCoreApplication::postEvent(
                field, new QKeyEvent(type, Qt::Key_unknown, Qt::NoModifier, QString(character)));
    }
    for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease })
        QCoreApplication::postEvent(field, new QKeyEvent(type, Qt::Key_Return, Qt::NoModifier));
}

int runFlood(int argc, char** argv, const Flood& flood)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    MainDialog dialog;
    dialog.show();
    const auto button
        = [&dialog](int id) { return qobject_cast<QAbstractButton*>(dialog.control(id)); };
    const auto status
        = [&dialog] { return qobject_cast<QLabel*>(dialog.control(IDC_STATUS))->text(); };
    qobject_cast<QLineEdit*>(dialog.control(IDC_PORT))->setText(QStringLiteral("0"));
    button(IDC_LISTEN_CONNECT)->click();
    MatchEngine& engine = dialog.gameSession().engine();

    Flooder flooder(flood);
    flooder.start(dialog.gameSession().listeningPort());
    // The fleet is being built ("Randomize" enabled) and the peer has declared first.
    if (!waitFor(
            [&] {
                return button(IDC_RANDOMIZE)->isEnabled()
                    && status() == QStringLiteral("O outro jogador está pronto.");
            },
            5000)) {
        std::fprintf(stderr, "the peer did not connect and declare\n");
        return 1;
    }
    // A fleet with a ship on A0, declared second: this side is the target.
    for (unsigned seed = 1; engine.ownBoard().getCell(0, 0) != CellShip; ++seed) {
        engine.random().seed(seed);
        button(IDC_RANDOMIZE)->click();
    }
    button(IDC_ACCEPT)->click();
    if (status() != QStringLiteral("Let the game BEGIN!\nA receber tiros.")) {
        std::fprintf(stderr, "the window is not the target in play\n");
        return 1;
    }

    MoveWatch watch;
    dialog.canvas().installEventFilter(&watch);
    QTimer mover;
    int moves = 0;
    QObject::connect(&mover, &QTimer::timeout, [&] {
        const QPointF point = flood.moveFrom + QPointF(moves % 100, 0);
        ++moves;
        QCoreApplication::postEvent(&dialog.canvas(),
            new QMouseEvent(QEvent::MouseMove, point, dialog.canvas().mapToGlobal(point),
                Qt::NoButton, Qt::NoButton, Qt::NoModifier));
    });
    QTimer typist;
    std::mutex reporting; // the report may come from the watchdog's thread
    std::vector<Clock::time_point> typed;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        const std::lock_guard lock(reporting);
        typed.push_back(Clock::now());
        typeChatLine(dialog.control(IDC_CHAT_EDIT), QStringLiteral("ola %1").arg(typed.size()));
    });

    clockid_t windowThread {};
    pthread_getcpuclockid(pthread_self(), &windowThread);
    const double cpuBefore = cpuSeconds(windowThread);
    QElapsedTimer wall;
    wall.start();
    const auto report = [&](bool finished) {
        const std::lock_guard lock(reporting);
        std::string chat;
        if (flood.chat) {
            const std::vector<Clock::time_point> arrived = flooder.chatArrivals();
            double longest = 0;
            for (std::size_t line = 0; line < std::min(arrived.size(), typed.size()); ++line)
                longest = std::max(longest, millisecondsBetween(typed[line], arrived[line]));
            chat = "; " + std::to_string(arrived.size()) + " of " + std::to_string(typed.size())
                + " chat lines left, the slowest in " + std::to_string(std::lround(longest))
                + " ms";
        }
        std::printf("%-11s %s in %lld ms: %zu bytes sent; window thread CPU %.0f ms; longest "
                    "gap between two handled moves %lld ms; %zu bytes of replies%s\n",
            flood.name, finished ? "flood read" : "gave up", static_cast<long long>(wall.elapsed()),
            flooder.sent.load(), (cpuSeconds(windowThread) - cpuBefore) * 1000,
            static_cast<long long>(watch.gapUntilNow()), flooder.received.load(), chat.c_str());
        std::fflush(stdout);
    };
    // A window that never comes back to its event loop is given up on from another thread.
    std::thread watchdog([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(flood.giveUpAfterMs + 2000));
        report(false);
        std::_Exit(0);
    });
    watchdog.detach();
    watch.clock.start();
    mover.start(10);
    if (flood.chat)
        typist.start(1000);
    flooder.playing = true;
    auto* log = qobject_cast<QListWidget*>(dialog.control(IDC_LOG));
    const bool finished = waitFor(
        [&] { return log->count() > 0 && log->item(0)->text().endsWith(QStringLiteral("fim")); },
        flood.giveUpAfterMs);
    typist.stop();
    // The last chat line typed may still be on its way.
    if (flood.chat)
        waitFor([&] { return flooder.chatArrivals().size() >= typed.size(); }, 2000);
    report(finished);
    std::_Exit(0); // the flooder may still be blocked in a send
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) {
        for (const Flood& flood : floods) {
            if (std::strcmp(argv[1], flood.name) == 0)
                return runFlood(argc, argv, flood);
        }
        std::fprintf(stderr, "usage: %s [shots|readies-64k|readies-1m|readies-20s|glued-chat-1m]\n",
            argv[0]);
        return 2;
    }
    // Each flood in a process of its own: a window given up on takes nothing else with it.
    for (const Flood& flood : floods) {
        const pid_t child = fork();
        if (child == 0)
            return runFlood(argc, argv, flood);
        int status = 0;
        waitpid(child, &status, 0);
    }
    return 0;
}
