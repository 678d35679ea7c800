// The beeps heard for real: a sound server of the test's own plays into a sink that leads
// nowhere, whose monitor is recorded and the samples' loudness measured here. The player's own
// sound server, if any, is never touched.

#include "ui/bell.h"
#include "ui/controlids.h"
#include "ui/gamecanvas.h"
#include "ui/maindialog.h"

#include "waituntil.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <initializer_list>
#include <map>
#include <string>
#include <tuple>

namespace {

constexpr int sampleRate = 44100; // recorded as 16-bit mono

QStringList arguments(std::initializer_list<const char*> words)
{
    QStringList list;
    for (const char* word : words)
        list << QString::fromUtf8(word);
    return list;
}

// This process's event sounds go to the server at `socket`, whether it runs or not.
void useSoundServer(const QString& runtime, const QString& socket)
{
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("PULSE_SERVER", (QStringLiteral("unix:") + socket).toLocal8Bit());
}

// A PulseAudio server in a runtime directory of its own, with one null sink whose monitor
// is recorded from the start. Its log names each stream played and its properties.
class SoundServer {
public:
    SoundServer()
    {
        useSoundServer(runtime.path(), socket);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), runtime.path()); // its files stay here
        for (QProcess* process : { &server, &recorder })
            process->setProcessEnvironment(environment);
        server.start(QStringLiteral("pulseaudio"),
            arguments({ "--daemonize=no", "-n", "--exit-idle-time=-1", "--use-pid-file=no",
                "--realtime=no", "--high-priority=no", "--log-target=stderr", "-v",
                "--load=module-null-sink sink_name=quorvel_test",
                "--load=module-native-protocol-unix auth-anonymous=1" }));
        QObject::connect(&recorder, &QProcess::readyReadStandardOutput,
            [this] { samples += recorder.readAllStandardOutput(); });
        if (!waitUntil([this] { return QFileInfo::exists(socket); }))
            return;
        // The socket may show a moment before the server takes connections on it.
        for (int attempt = 0; attempt < 3 && samples.isEmpty(); ++attempt) {
            recorder.start(QStringLiteral("parec"),
                arguments({ "--device=quorvel_test.monitor", "--raw", "--format=s16le",
                    "--channels=1", "--rate=44100", "--latency-msec=20" }));
            waitUntil(
                [this] { return !samples.isEmpty() || recorder.state() == QProcess::NotRunning; });
        }
    }
    ~SoundServer() { stop(); }
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool recording() const { return !samples.isEmpty(); }
    // Records at least `seconds` more and answers the root mean square of that part, 1 for
    // full scale.
    double loudnessOfNext(double seconds)
    {
        const qsizetype from = samples.size() / 2;
        waitUntil([&] { return samples.size() / 2 - from >= qsizetype(seconds * sampleRate); });
        const qsizetype to = samples.size() / 2;
        double sum = 0;
        for (qsizetype i = from; i < to; ++i) {
            const double sample = qFromLittleEndian<qint16>(samples.constData() + 2 * i);
            sum += sample * sample;
        }
        return std::sqrt(sum / double(std::max<qsizetype>(to - from, 1))) / 32768;
    }
    QString log()
    {
        serverLog += QString::fromUtf8(server.readAllStandardError())
            + QString::fromUtf8(recorder.readAllStandardError());
        return serverLog;
    }
    void stop()
    {
        for (QProcess* process : { &recorder, &server }) {
            process->kill();
            process->waitForFinished();
        }
    }

private:
    QTemporaryDir runtime;
    const QString socket = runtime.filePath(QStringLiteral("pulse/native"));
    QProcess server;
    QProcess recorder;
    QByteArray samples;
    QString serverLog;
};

// The time stands still, an hour after any ring, until the test moves it past the gap.
struct BellClock {
    explicit BellClock(Bell& bell)
    {
        bell.setClock([this] { return now; });
    }
    void pass() { now += Bell::gap; }
    std::chrono::steady_clock::time_point now
        = std::chrono::steady_clock::now() + std::chrono::hours(1);
};

// A window playing the computer with sounds off, its turn to fire after a first shot at
// the enemy's top left cell: the next shot there is refused.
struct RefusingWindow {
    RefusingWindow()
    {
        dialog.bell().setSoundsOn(false);
        dialog.show();
        ComputerOpponent::Settings settings;
        settings.delayMs = 0;
        settings.seed = 5;
        dialog.playAgainstComputer(settings);
        if (!waitUntil([this] { return state().phase == GamePhase::Placing; }))
            return;
        for (int id : { IDC_RANDOMIZE, IDC_ACCEPT })
            qobject_cast<QAbstractButton*>(dialog.control(id))->click();
        // When both sides declare at once, the opening turn may go to the computer and the
        // first shot with it; the shot is fired again at the next turn.
        for (int turn = 0; turn < 3 && !cellShot(); ++turn) {
            if (!waitUntil([this] { return mayFire(); }))
                return;
            shoot();
            waitUntil([this] { return !state().shotPending; });
        }
        waitUntil([this] { return mayFire() && cellShot(); });
    }
    MatchState state() { return dialog.gameSession().engine().matchState(); }
    bool mayFire()
    {
        return state().phase == GamePhase::Playing && state().isShooter && !state().shotPending;
    }
    bool cellShot()
    {
        return dialog.gameSession().engine().enemyBoard().getCell(0, 0) != CellEmpty;
    }
    void shoot()
    {
        const QPoint topLeft(310 + 12, 22);
        QTest::mouseMove(&dialog.canvas(), topLeft);
        QTest::mouseClick(&dialog.canvas(), Qt::LeftButton, {}, topLeft);
    }

    MainDialog dialog;
};

// A shot refused is heard as the theme's error sound, and not at all with sounds off; each
// beep names its event sound and the game to the server. Once the server is gone, a ring
// sounds the X bell instead, until a server is there again.
TEST(Sound, BeepsAreTheThemesSoundsUnlessSwitchedOff)
{
    SoundServer server;
    ASSERT_TRUE(server.recording()) << server.log().toStdString();
    RefusingWindow window;
    ASSERT_TRUE(window.mayFire() && window.cellShot()) << "no turn to fire again";
    Bell& bell = window.dialog.bell();
    BellClock clock(bell);
    int xBells = 0;
    bell.setFallback([&xBells] { ++xBells; });

    // A second of recording from the refusal holds the whole sound (half a second).
    std::map<bool, double> heard;
    for (const bool on : { true, false }) {
        clock.pass();
        bell.setSoundsOn(on);
        window.shoot();
        EXPECT_TRUE(window.mayFire()) << "a refused shot is not fired";
        heard[on] = server.loudnessOfNext(1.0);
    }
    EXPECT_GT(heard[true], 0.001) << "sounds on, a shot refused";
    EXPECT_EQ(heard[false], 0) << "sounds off, a shot refused";
    RecordProperty("loudness_on", std::to_string(heard[true]));
    RecordProperty("loudness_off", std::to_string(heard[false]));

    // The refusal above named its sound to the server; the other beeps are rung here. Rings
    // come a gap apart at the least, by when the last sound has long been handed to the
    // server: one rung while the last is still being handed over is the X bell's.
    const auto aGapOfRealTime = [&clock] {
        QTest::qWait(int(2 * Bell::gap.count()));
        clock.pass();
    };
    bell.setSoundsOn(true);
    for (const auto& [beep, id, description] :
        { std::tuple { Beep::Default, "bell-window-system", "Sinal" },
            std::tuple { Beep::Error, "dialog-error", "Erro" },
            std::tuple { Beep::Warning, "dialog-warning", "Aviso" } }) {
        if (beep != Beep::Error) {
            aGapOfRealTime();
            bell.ring(beep);
        }
        const QString named = QStringLiteral("event.id = \"%1\"").arg(QLatin1String(id));
        EXPECT_TRUE(waitUntil([&] { return server.log().contains(named); })) << id;
        EXPECT_TRUE(server.log().contains(
            QStringLiteral("event.description = \"%1\"").arg(QLatin1String(description))));
    }
    for (const char* property :
        { "application.name = \"Quorvel Naval\"", "application.id = \"quorvel-naval\"" })
        EXPECT_TRUE(server.log().contains(QLatin1String(property))) << property;
    aGapOfRealTime();
    EXPECT_EQ(xBells, 0);

    server.stop();
    window.shoot();
    EXPECT_TRUE(waitUntil([&] { return xBells == 1; })) << "the server gone";
    SoundServer again;
    ASSERT_TRUE(again.recording()) << again.log().toStdString();
    clock.pass();
    window.shoot();
    EXPECT_GT(again.loudnessOfNext(1.0), 0.001) << "a server started again";
    EXPECT_EQ(xBells, 1);
}

// With no sound server at all, each ring sounds the X bell, whichever the beep; sounds off,
// not even that. A server that takes the connection and never answers holds up no ring: the
// X bell sounds at once while the theme's sound waits, and not half a minute later.
TEST(Sound, WithoutAServerTheXBellSounds)
{
    QTemporaryDir empty;
    useSoundServer(empty.path(), empty.filePath(QStringLiteral("pulse/native")));
    {
        Bell bell;
        BellClock clock(bell);
        int xBells = 0;
        bell.setFallback([&xBells] { ++xBells; });
        for (const Beep beep : { Beep::Default, Beep::Error, Beep::Warning }) {
            clock.pass();
            bell.ring(beep);
        }
        EXPECT_TRUE(waitUntil([&] { return xBells == 3; })) << xBells;
        bell.setSoundsOn(false);
        clock.pass();
        bell.ring(Beep::Error);
        QCoreApplication::processEvents();
        EXPECT_EQ(xBells, 3);
    }

    QLocalServer silent; // takes connections, reads nothing, says nothing
    ASSERT_TRUE(silent.listen(empty.filePath(QStringLiteral("silent"))));
    useSoundServer(empty.path(), silent.fullServerName());
    Bell bell;
    BellClock clock(bell);
    int xBells = 0;
    bell.setFallback([&xBells] { ++xBells; });
    bell.ring(Beep::Error);
    ASSERT_TRUE(waitUntil([&] { return silent.hasPendingConnections(); }));
    EXPECT_EQ(xBells, 0) << "the first ring waits on the server, elsewhere";
    clock.pass();
    bell.ring(Beep::Warning);
    EXPECT_EQ(xBells, 1) << "the next rings the X bell at once";
    // Half a minute on, the server hangs up and the first sound fails: too late for a bell.
    clock.now += std::chrono::seconds(30);
    delete silent.nextPendingConnection();
    QTest::qWait(1000);
    EXPECT_EQ(xBells, 1);
}

// Where the sound library is not installed, a sound fails at once, as often as it is asked
// for: the bell that owns it then sounds the X bell, as it does without a server.
TEST(Sound, WithoutTheLibraryASoundFails)
{
    ThemeSound missing("libquorvel-no-such-sound.so.0");
    EXPECT_FALSE(missing.play("dialog-error", QStringLiteral("Erro")));
    EXPECT_FALSE(missing.play("dialog-warning", QStringLiteral("Aviso")));
}

} // namespace
