#include "ui/matchrecord.h"

#include "filebytes.h"
#include "permissionshold.h"
#include "screenshot.h"
#include "testclocks.h"
#include "waituntil.h"

#include "ui/controlids.h"
#include "ui/gamecanvas.h"
#include "ui/gridgeometry.h"
#include "ui/maindialog.h"
#include "ui/recordwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <vector>

namespace {

using Opponent = MatchRecord::Opponent;
using Tally = MatchRecord::Tally;

// The window's log, the newest line first, without the times.
QStringList logLines(MainDialog& dialog)
{
    QStringList lines;
    const auto* log = qobject_cast<QListWidget*>(dialog.control(IDC_LOG));
    for (int row = 0; row < log->count(); ++row)
        lines << log->item(row)->text().mid(11);
    return lines;
}

// The table as the player reads it, a row a line: "wins|losses|shots per win".
QString tableText(const RecordWindow& window)
{
    QStringList rows;
    const QTableWidget& table = *window.table();
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells { table.verticalHeaderItem(row)->text() };
        for (int column = 0; column < table.columnCount(); ++column)
            cells << table.item(row, column)->text();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

// The shots this side fired in the last match, as its end in the log tells them.
int shotsLogged(MainDialog& dialog)
{
    const QRegularExpression shots(QStringLiteral("^Tiros: eu (\\d+) "));
    for (const QString& line : logLines(dialog)) {
        if (const QRegularExpressionMatch found = shots.match(line); found.hasMatch())
            return found.captured(1).toInt();
    }
    ADD_FAILURE() << "no shots logged";
    return -1;
}

// The whole record as one text, for comparing two records.
std::string summary(const MatchRecord& record)
{
    std::string text;
    for (int row = 0; row < MatchRecord::Opponents; ++row) {
        const Tally& counted = record.tally(static_cast<Opponent>(row));
        text += std::to_string(counted.wins) + "/" + std::to_string(counted.losses) + "/"
            + std::to_string(counted.wonShots) + " ";
    }
    return text;
}

// While one of these lives, no file of this process grows past the bytes given, as on a full
// disk; a write past them fails instead of raising the signal that ends the process. The
// limit and the signal are as they were once it ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (::getrlimit(RLIMIT_FSIZE, &usual) != 0)
            return;
        rlimit lowered = usual;
        lowered.rlim_cur = bytes;
        signalWas = std::signal(SIGXFSZ, SIG_IGN);
        lowers = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        if (lowers)
            ::setrlimit(RLIMIT_FSIZE, &usual);
        if (signalWas != SIG_ERR)
            std::signal(SIGXFSZ, signalWas);
    }
    bool holds() const { return lowers; }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit usual {};
    void (*signalWas)(int) = SIG_ERR;
    bool lowers = false;
};

// Two starts on one file; two copies of the game counting into it at once, and one waiting for
// the other; the computer's levels and their rows.
TEST(MatchRecord, KeepsItsCountsBetweenStartsAndBetweenCopies)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("quorvel-naval/records.ini"));
    {
        MatchRecord first(path);
        EXPECT_EQ(first.started(), MatchRecord::Start::Fresh);
        EXPECT_FALSE(QFile::exists(path)) << "reading writes nothing";
        first.count(Opponent::Easy, true, 31);
        first.count(Opponent::Easy, true, 40);
        first.count(Opponent::Easy, false, 50);
        first.count(Opponent::Players, false, 12);
        first.count(Opponent::Hard, true, 250); // no match takes more than the grid's cells
    }
    MatchRecord second(path);
    EXPECT_EQ(second.started(), MatchRecord::Start::Read);
    EXPECT_EQ(second.tally(Opponent::Easy), (Tally { 2, 1, 71 }));
    EXPECT_EQ(second.shotsPerWin(Opponent::Easy), 35.5);
    EXPECT_EQ(second.tally(Opponent::Normal), Tally {});
    EXPECT_EQ(second.shotsPerWin(Opponent::Normal), std::nullopt);
    EXPECT_EQ(second.tally(Opponent::Hard), (Tally { 1, 0, 100 }));
    EXPECT_EQ(second.tally(Opponent::Players), (Tally { 0, 1, 0 }));

    // Another copy counts meanwhile: neither loses the other's match.
    MatchRecord other(path);
    other.count(Opponent::Players, true, 30);
    second.count(Opponent::Players, false, 40);
    EXPECT_EQ(MatchRecord(path).tally(Opponent::Players), (Tally { 1, 2, 30 }));
    EXPECT_EQ(summary(MatchRecord(path)), summary(second));
    // The other copy is between its read and its write of the file, and holds it: a count
    // meanwhile leaves the file alone, and is written with the next.
    {
        QLockFile busy(path + QStringLiteral(".lock"));
        ASSERT_TRUE(busy.tryLock(0));
        const QByteArray before = contents(path);
        second.count(Opponent::Normal, true, 20);
        EXPECT_EQ(contents(path).toStdString(), before.toStdString());
    }
    second.count(Opponent::Normal, false, 30);
    EXPECT_EQ(MatchRecord(path).tally(Opponent::Normal), (Tally { 1, 1, 20 }));

    for (const auto& [level, row] : { std::pair { PlannerLevel::Easy, Opponent::Easy },
             std::pair { PlannerLevel::Normal, Opponent::Normal },
             std::pair { PlannerLevel::Hard, Opponent::Hard } })
        EXPECT_EQ(MatchRecord::computerAt(level), row);
    const QString testName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-naval"));
    EXPECT_EQ(MatchRecord::defaultPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/quorvel-naval/records.ini"));
    QCoreApplication::setApplicationName(testName);
}

// A record with nowhere to go is kept in memory; the window says so once, and nothing else. A
// disk that fills up while the record is written leaves the file as it was; once there is room
// again, the counts it lacked are added to another copy's, and an erase is written.
TEST(MatchRecord, GoesOnInMemoryWhenItCannotBeWritten)
{
    QTemporaryDir home;
    const QString blocker = home.filePath(QStringLiteral("quorvel-naval"));
    write(blocker, "a file where the folder would be");
    MatchRecord record(blocker + QStringLiteral("/records.ini"));
    QSignalSpy failed(&record, &MatchRecord::saveFailed);
    MainDialog dialog(nullptr, &record);
    const int linesBefore = static_cast<int>(logLines(dialog).size());
    record.count(Opponent::Normal, true, 40);
    record.count(Opponent::Normal, false, 0);
    EXPECT_EQ(record.tally(Opponent::Normal), (Tally { 1, 1, 40 }));
    EXPECT_EQ(failed.size(), 1);
    const QStringList lines = logLines(dialog);
    ASSERT_EQ(lines.size(), linesBefore + 1);
    EXPECT_EQ(lines.first().toStdString(),
        "O registo de partidas não pode ser guardado em " + blocker.toStdString()
            + "/records.ini; fica só até sair do jogo.");
    EXPECT_EQ(contents(blocker), "a file where the folder would be");

    MatchRecord memory { QString() };
    QSignalSpy memoryFailed(&memory, &MatchRecord::saveFailed);
    memory.count(Opponent::Hard, false, 10);
    EXPECT_EQ(memory.tally(Opponent::Hard), (Tally { 0, 1, 0 }));
    EXPECT_EQ(memoryFailed.size(), 0);

    QTemporaryDir full;
    const QString path = full.filePath(QStringLiteral("records.ini"));
    MatchRecord filling(path);
    MatchRecord other(path);
    filling.count(Opponent::Easy, true, 30);
    const QByteArray held = contents(path);
    QSignalSpy fillingFailed(&filling, &MatchRecord::saveFailed);
    {
        const FileSizeLimit diskFull(static_cast<rlim_t>(held.size() / 2));
        ASSERT_TRUE(diskFull.holds());
        filling.count(Opponent::Easy, false, 20);
    }
    EXPECT_EQ(contents(path).toStdString(), held.toStdString());
    EXPECT_EQ(fillingFailed.size(), 1);
    EXPECT_EQ(QDir(full.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("records.ini") });
    other.count(Opponent::Players, true, 25);
    filling.count(Opponent::Hard, false, 50);
    EXPECT_EQ(summary(MatchRecord(path)), "1/1/30 0/0/0 0/1/0 1/0/25 ");
    EXPECT_EQ(summary(filling), summary(MatchRecord(path)));
    {
        const FileSizeLimit diskFull(static_cast<rlim_t>(held.size() / 2));
        filling.clear();
    }
    filling.count(Opponent::Normal, true, 40);
    EXPECT_EQ(summary(MatchRecord(path)), "0/0/0 1/0/40 0/0/0 0/0/0 ");
}

// A file that can be neither read nor renamed aside is never written over: the matches are
// counted in memory, and the window says so once.
TEST(MatchRecord, LeavesAFileItCanNeitherReadNorSetAside)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("records.ini"));
    const QByteArray mine = MatchRecord::format({ Tally { 7, 1, 200 } });
    write(path, mine);
    const QFile::Permissions folderWas = QFile::permissions(home.path());
    ASSERT_TRUE(QFile::setPermissions(path, {}));
    ASSERT_TRUE(QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::ExeOwner));
    {
        const PermissionsHold asPlayer;
        if (!asPlayer.holds())
            GTEST_SKIP() << "this thread reads and renames any file";
        MatchRecord record(path);
        EXPECT_EQ(record.started(), MatchRecord::Start::LeftAlone);
        QSignalSpy failed(&record, &MatchRecord::saveFailed);
        MainDialog dialog(nullptr, &record);
        EXPECT_EQ(logLines(dialog).first(),
            QStringLiteral("O registo de partidas não pode ser guardado em %1; fica só até sair "
                           "do jogo.")
                .arg(path));
        record.count(Opponent::Easy, true, 30);
        record.count(Opponent::Easy, false, 0);
        EXPECT_EQ(record.tally(Opponent::Easy), (Tally { 1, 1, 30 }));
        EXPECT_EQ(failed.size(), 0);
    }
    ASSERT_TRUE(QFile::setPermissions(home.path(), folderWas));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(contents(path), mine);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("records.ini") });
}

// A file the program could not have written is renamed aside with its bytes, never written
// over, and a new record begins; the window's log tells where it went.
TEST(MatchRecord, SetsAsideAFileItCouldNotHaveWritten)
{
    MatchRecord::Tallies tallies {};
    tallies[0] = { 3, 2, 90 };
    tallies[2] = { 1, 4, 60 };
    tallies[3] = { 2, 2, 80 };
    const QByteArray good = MatchRecord::format(tallies);
    const auto changed = [&good](const char* from, const char* to) {
        EXPECT_EQ(good.count(from), 1) << from;
        return QByteArray(good).replace(from, to);
    };
    const struct {
        const char* what;
        QByteArray bytes;
        bool ours;
    } files[] = {
        { "as written", good, true },
        { "a billion wins", changed("wins=2\n", "wins=1000000000\n"), true },
        { "comments and blank lines", "; mine\n\n" + QByteArray(good).replace("\n", "\r\n\n"),
            true },
        { "another version", changed("version=1", "version=2"), false },
        { "no version", changed("version=1\n", ""), false },
        { "a negative count", changed("wins=3", "wins=-3"), false },
        { "a count that is no number", changed("losses=4", "losses=four"), false },
        { "a count past a billion", changed("losses=4", "losses=1000000001"), false },
        { "more shots than three wins take", changed("shots=90", "shots=301"), false },
        { "shots with no win", changed("shots=0", "shots=5"), false },
        { "a key of no record", good + "draws=1\n", false },
        { "a key twice", good + "wins=2\n", false },
        { "a group missing", good.left(good.indexOf("[players]")), false },
        { "a group of no record", good + "[medium]\n", false },
        { "not text", QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11), false },
        { "empty", QByteArray(), false },
        { "too long", good + QByteArray(5000, ';'), false },
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("records.ini"));
        write(path, file.bytes);
        MatchRecord record(path);
        if (file.ours) {
            EXPECT_EQ(record.started(), MatchRecord::Start::Read);
            EXPECT_EQ(record.setAsidePath(), QString());
            EXPECT_EQ(record.tally(Opponent::Hard), (Tally { 1, 4, 60 }));
            continue;
        }
        EXPECT_EQ(record.started(), MatchRecord::Start::SetAside);
        const QString aside = record.setAsidePath();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("/records\\.ini\\.corrupt-\\d{8}T\\d{6}$"))
                        .match(aside)
                        .hasMatch())
            << aside.toStdString();
        EXPECT_EQ(contents(aside), file.bytes);
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(summary(record), summary(MatchRecord(QString())));
        record.count(Opponent::Players, true, 33);
        EXPECT_EQ(MatchRecord(path).tally(Opponent::Players), (Tally { 1, 0, 33 }));
        EXPECT_EQ(contents(aside), file.bytes);
    }

    // A pipe in its place would hold the start up until something wrote to it.
    {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("records.ini"));
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const MatchRecord record(path);
        EXPECT_EQ(record.started(), MatchRecord::Start::SetAside);
        EXPECT_TRUE(QFileInfo(record.setAsidePath()).exists());
    }

    // Set aside twice in one second, then found spoilt while the game runs: three files
    // aside, none written over, each told in the window's log.
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("records.ini"));
    write(path, "first");
    MatchRecord first(path);
    write(path, "second");
    MatchRecord second(path);
    MainDialog dialog(nullptr, &second);
    const QString expected = QStringLiteral(
        "O registo de partidas estava ilegível; foi guardado em %1 e começa um novo.");
    EXPECT_EQ(logLines(dialog).first(), expected.arg(second.setAsidePath()));
    second.count(Opponent::Easy, false, 20);
    write(path, "third");
    second.count(Opponent::Easy, true, 20);
    EXPECT_EQ(logLines(dialog).first(), expected.arg(second.setAsidePath()));
    EXPECT_EQ(second.tally(Opponent::Easy), (Tally { 1, 1, 20 }));
    EXPECT_EQ(MatchRecord(path).tally(Opponent::Easy), (Tally { 1, 1, 20 }));
    const QStringList aside = QDir(home.path()).entryList({ QStringLiteral("records.ini.*") });
    ASSERT_EQ(aside.size(), 3) << aside.join(u' ').toStdString();
    QStringList held;
    for (const QString& name : aside)
        held << QString::fromLatin1(contents(home.filePath(name)));
    held.sort();
    EXPECT_EQ(held.join(u' '), QStringLiteral("first second third"));
}

// The game window and its record window, both on screen.
struct Shown {
    explicit Shown(MatchRecord& record)
        : dialog(nullptr, &record)
    {
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.canvas().setFrameClock(&clock);
    }
    QAction* gameMenuEntry(const char* text)
    {
        for (QAction* menu : dialog.menus()->actions()) {
            if (menu->text().remove(u'&') != QStringLiteral("Jogo"))
                continue;
            for (QAction* action : menu->menu()->actions()) {
                if (action->text().remove(u'&') == QString::fromUtf8(text))
                    return action;
            }
        }
        ADD_FAILURE() << "no entry " << text;
        return nullptr;
    }
    RecordWindow* recordWindow()
    {
        const QList<RecordWindow*> windows = dialog.findChildren<RecordWindow*>();
        EXPECT_LE(windows.size(), 1);
        return windows.isEmpty() ? nullptr : windows.first();
    }
    QuickClock clock;
    MainDialog dialog;
};

// From the menu bar or the right-click menu, one window however often it is asked for; it
// follows the record, and erases it only once the player has said so.
TEST(RecordWindow, ShowsTheRecordAndErasesItAfterAsking)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("records.ini"));
    MatchRecord record(path);
    record.count(Opponent::Easy, true, 31);
    record.count(Opponent::Hard, false, 60);
    record.count(Opponent::Players, true, 40);
    record.count(Opponent::Players, true, 45);
    Shown window(record);
    for (int time = 0; time < 2; ++time)
        window.gameMenuEntry("Registo de partidas...")->trigger();
    const QPoint away(292, 300);
    QContextMenuEvent event(QContextMenuEvent::Mouse, away, window.dialog.mapToGlobal(away));
    QApplication::sendEvent(&window.dialog.canvas(), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("Registo de partidas..."))
            action->trigger();
    }
    menu->close();
    RecordWindow* shown = window.recordWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible() && shown->isWindow() && !shown->isModal());
    EXPECT_EQ(shown->windowTitle(), QStringLiteral("Registo de partidas"));
    QStringList columns;
    for (int column = 0; column < shown->table()->columnCount(); ++column)
        columns << shown->table()->horizontalHeaderItem(column)->text();
    EXPECT_EQ(columns.join(u'|'), QStringLiteral("Vitórias|Derrotas|Tiros por vitória"));
    EXPECT_EQ(tableText(*shown).toStdString(),
        "Fácil|1|0|31.0\nNormal|0|0|—\nDifícil|0|1|—\nJogadores|2|0|42.5");
    record.count(Opponent::Normal, false, 0);
    EXPECT_EQ(tableText(*shown).split(u'\n')[1], QStringLiteral("Normal|0|1|—"));
    // With QUORVEL_SCREENSHOT_DIR set, the window as the player sees it, for a person to look at.
    saveScreenshot(*shown, "record");

    const QByteArray before = contents(path);
    for (const bool erase : { false, true }) {
        SCOPED_TRACE(erase ? "erase" : "cancel");
        ASSERT_TRUE(shown->eraseButton()->isEnabled());
        QTest::mouseClick(shown->eraseButton(), Qt::LeftButton);
        QMessageBox* question = shown->question();
        ASSERT_NE(question, nullptr);
        EXPECT_TRUE(question->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the game goes on meanwhile";
        EXPECT_EQ(question->defaultButton()->text(), QStringLiteral("Cancelar"));
        EXPECT_EQ(question->escapeButton(), question->defaultButton());
        EXPECT_EQ(question->parentWidget(), shown) << "the game goes on meanwhile";
        for (QAbstractButton* button : question->buttons()) {
            if (button->text() == (erase ? QStringLiteral("Apagar") : QStringLiteral("Cancelar")))
                button->click();
        }
        ASSERT_TRUE(waitUntil([&] { return shown->question() == nullptr; }));
    }
    EXPECT_NE(contents(path), before);
    EXPECT_EQ(summary(MatchRecord(path)), summary(MatchRecord(QString())));
    EXPECT_EQ(summary(record), summary(MatchRecord(QString())));
    EXPECT_EQ(tableText(*shown).toStdString(),
        "Fácil|0|0|—\nNormal|0|0|—\nDifícil|0|0|—\nJogadores|0|0|—");
    EXPECT_FALSE(shown->eraseButton()->isEnabled());
}

// Fires with the mouse at the cells in turn, each time this side may fire, until the match
// is decided.
void fireAt(MainDialog& dialog, const std::vector<GridCell>& cells)
{
    const MatchEngine& engine = dialog.gameSession().engine();
    for (const GridCell cell : cells) {
        ASSERT_TRUE(waitUntil([&] {
            const MatchState state = engine.matchState();
            return (state.isShooter && !state.shotPending && state.phase == GamePhase::Playing)
                || engine.matchOver();
        }));
        if (engine.matchOver())
            return;
        const QPoint point = enemyGrid.cellCentre(cell);
        QTest::mouseMove(&dialog.canvas(), point);
        QTest::mouseClick(&dialog.canvas(), Qt::LeftButton, {}, point);
    }
}

// The cells of a fleet, or of the sea around it.
std::vector<GridCell> cellsOf(const Board& fleet, bool ships)
{
    std::vector<GridCell> cells;
    for (int column = 0; column < Board::Size; ++column)
        for (int row = 0; row < Board::Size; ++row)
            if ((fleet.getCell(column, row) != CellEmpty) == ships)
                cells.push_back({ column, row });
    return cells;
}

// A whole match with the mouse, until it is decided, against whoever listens on the port
// (the computer of the window's own process when none is given): won by firing at the
// opponent's fleet, lost by firing only into the sea. The result's box is left open.
struct Opposed {
    ComputerOpponent* opponent;
    QMessageBox* result;
};
Opposed playOneMatch(Shown& window, PlannerLevel level, bool win, ComputerOpponent* player)
{
    ComputerOpponent::Settings settings;
    settings.level = level;
    settings.delayMs = 0;
    settings.seed = 5;
    MainDialog& dialog = window.dialog;
    EXPECT_TRUE(waitUntil([&] { return dialog.computerOpponent() == nullptr; }));
    if (player)
        dialog.startConnection(1, player->listeningPort(), QStringLiteral("127.0.0.1"));
    else
        dialog.playAgainstComputer(settings);
    ComputerOpponent* opponent = player ? player : dialog.computerOpponent();
    const MatchEngine& engine = dialog.gameSession().engine();
    const auto phase
        = [&](GamePhase wanted) { return waitUntil([&] { return engine.phase() == wanted; }); };
    EXPECT_TRUE(phase(GamePhase::Placing));
    dialog.gameSession().engine().random().seed(7);
    QTest::mouseClick(dialog.control(IDC_RANDOMIZE), Qt::LeftButton);
    QTest::mouseClick(dialog.control(IDC_ACCEPT), Qt::LeftButton);
    EXPECT_TRUE(phase(GamePhase::Playing));
    if (opponent != nullptr)
        fireAt(dialog, cellsOf(opponent->declaredFleet(), win));
    EXPECT_TRUE(waitUntil([&] { return engine.matchOver(); }));
    QMessageBox* box = nullptr;
    waitUntil([&] {
        for (QMessageBox* shown : dialog.findChildren<QMessageBox*>())
            box = shown->isVisible() ? shown : box;
        return box != nullptr;
    });
    return { opponent, box };
}

// Each match decided counts once, at once, against the computer at its level or against a
// player; a match cut short by a closed connection does not count. The record window follows.
TEST(RecordWindow, TheGameCountsEachDecidedMatch)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("records.ini"));
    MatchRecord record(path);
    Shown window(record);
    window.gameMenuEntry("Registo de partidas...")->trigger();
    RecordWindow* shown = window.recordWindow();
    ASSERT_NE(shown, nullptr);
    MainDialog& dialog = window.dialog;

    Opposed easy = playOneMatch(window, PlannerLevel::Easy, true, nullptr);
    ASSERT_NE(easy.result, nullptr);
    // The shots the log tells: the first one goes unanswered when both sides open fire at
    // once, and does not count.
    const int easyShots = shotsLogged(dialog);
    EXPECT_GE(easyShots, 24);
    EXPECT_EQ(record.tally(Opponent::Easy), (Tally { 1, 0, easyShots })) << "counted, box open";
    EXPECT_EQ(tableText(*shown).split(u'\n')[0], QStringLiteral("Fácil|1|0|%1.0").arg(easyShots));
    easy.result->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(
        waitUntil([&] { return dialog.gameSession().engine().phase() == GamePhase::Placing; }));
    // The next match is cut short after a turn.
    QTest::mouseClick(dialog.control(IDC_RANDOMIZE), Qt::LeftButton);
    QTest::mouseClick(dialog.control(IDC_ACCEPT), Qt::LeftButton);
    ASSERT_TRUE(
        waitUntil([&] { return dialog.gameSession().engine().phase() == GamePhase::Playing; }));
    fireAt(dialog, { { 0, 0 }, { 0, 1 }, { 0, 2 } });
    QTest::mouseClick(dialog.control(IDC_CLOSE_COM), Qt::LeftButton);
    EXPECT_EQ(summary(record), summary(MatchRecord(path)));
    EXPECT_EQ(record.tally(Opponent::Easy), (Tally { 1, 0, easyShots }));

    // Lost at the hard level, the connection closed with the result's box still open (the
    // box holds the window's mouse).
    const Opposed hard = playOneMatch(window, PlannerLevel::Hard, false, nullptr);
    ASSERT_NE(hard.result, nullptr);
    qobject_cast<QPushButton*>(dialog.control(IDC_CLOSE_COM))->click();
    EXPECT_EQ(record.tally(Opponent::Hard), (Tally { 0, 1, 0 }));
    hard.result->button(QMessageBox::Ok)->click();

    // A computer of another process is a player like any other.
    ComputerOpponent::Settings settings;
    settings.delayMs = 0;
    settings.seed = 9;
    ComputerOpponent player(settings);
    ASSERT_TRUE(player.listen(0, true));
    const Opposed other = playOneMatch(window, PlannerLevel::Easy, true, &player);
    ASSERT_NE(other.result, nullptr);
    const int playersShots = shotsLogged(dialog);
    EXPECT_EQ(record.tally(Opponent::Players), (Tally { 1, 0, playersShots }));
    EXPECT_EQ(tableText(*shown),
        QStringLiteral("Fácil|1|0|%1.0\nNormal|0|0|—\nDifícil|0|1|—\nJogadores|1|0|%2.0")
            .arg(easyShots)
            .arg(playersShots));
    EXPECT_EQ(summary(MatchRecord(path)), summary(record));
    qobject_cast<QPushButton*>(dialog.control(IDC_CLOSE_COM))->click();
    other.result->button(QMessageBox::Ok)->click();
}

} // namespace
