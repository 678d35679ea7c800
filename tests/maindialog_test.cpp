#include "ui/maindialog.h"

#include "enginepair.h"
#include "freeport.h"
#include "pixelprobe.h"
#include "screenshot.h"
#include "testclocks.h"
#include "waituntil.h"

#include "about/systemcolours.h"
#include "match/protocol.h"
#include "net/gametexts.h"
#include "ui/controlids.h"
#include "ui/gamecanvas.h"
#include "ui/welcomepanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

// Closes every modal window that opens above the game window as a player would, a message
// box with OK (clicked, or Enter on the keyboard) and any other dialog with Escape,
// remembering the box's text or the class.
struct ModalCloser {
    explicit ModalCloser(const QWidget* game, bool keyboard = false)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, game, keyboard] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == game || !modal->isVisible())
                return;
            auto* box = qobject_cast<QMessageBox*>(modal);
            seen.push_back(box ? box->text().toStdString() : modal->metaObject()->className());
            captions << modal->windowTitle();
            icons.push_back(box ? box->icon() : QMessageBox::NoIcon);
            if (box && keyboard)
                QTest::keyClick(box, Qt::Key_Return);
            else if (box)
                box->button(QMessageBox::Ok)->click();
            else
                QTest::keyClick(modal, Qt::Key_Escape);
        });
        timer.start(5);
    }
    std::vector<std::string> seen;
    std::vector<QMessageBox::Icon> icons;
    QStringList captions;
    QTimer timer;
};

// The game window on screen, and the player's hands on it.
struct Window {
    Window()
    {
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    QWidget* control(int id) { return dialog.control(id); }
    std::string text(int id) { return control(id)->property("text").toString().toStdString(); }
    bool enabled(int id) { return control(id)->isEnabled(); }
    std::string title() { return dialog.windowTitle().toStdString(); }
    QListWidget* log() { return qobject_cast<QListWidget*>(control(IDC_LOG)); }
    MatchState state() { return dialog.gameSession().engine().matchState(); }
    void click(int id) { QTest::mouseClick(control(id), Qt::LeftButton); }
    // Clicks into a field, clears it and types; Enter, if asked, as the last key.
    void type(int id, const QString& text, bool enter = false)
    {
        QTest::mouseClick(control(id), Qt::LeftButton);
        QTest::keyClick(control(id), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(control(id), Qt::Key_Delete);
        QTest::keyClicks(control(id), text);
        if (enter)
            QTest::keyClick(control(id), Qt::Key_Return);
    }
    // The keyboard, as it reaches the window: at the widget that has the focus.
    QWidget* focus() { return dialog.focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
    }
    // Tabs through the window until the control has the focus.
    bool tabTo(QWidget* target)
    {
        for (int step = 0; step < 30 && focus() != target; ++step)
            press(Qt::Key_Tab);
        return focus() == target;
    }
    MainDialog dialog;
};

// A game against the computer of this process, quick and always the same, up to the fleet.
void meetTheComputer(Window& player)
{
    ComputerOpponent::Settings settings;
    settings.delayMs = 0;
    settings.seed = 5;
    player.dialog.playAgainstComputer(settings);
    ASSERT_TRUE(waitUntil([&] { return player.state().phase == GamePhase::Placing; }));
}

// Fires at the enemy grid's empty cells in order, with the mouse, each time this side may
// fire, until the match is decided.
void fireUntilDecided(Window& player)
{
    const MatchEngine& engine = player.dialog.gameSession().engine();
    const auto over = [&] { return engine.matchOver() || engine.myWins() + engine.peerWins() > 0; };
    for (int cell = 0; !over(); ++cell) {
        ASSERT_TRUE(waitUntil([&] {
            return (player.state().isShooter && !player.state().shotPending
                       && player.state().phase == GamePhase::Playing)
                || over();
        }));
        while (cell < 100 && engine.enemyBoard().getCell(cell / 10, cell % 10) != CellEmpty)
            ++cell;
        if (over() || cell == 100)
            break;
        const QPoint point(310 + 12 + 25 * (cell / 10), 22 + 25 * (cell % 10));
        QTest::mouseMove(&player.dialog.canvas(), point);
        QTest::mouseClick(&player.dialog.canvas(), Qt::LeftButton, {}, point);
    }
}

TEST(MainDialogTest, StartsDisconnectedInServerModeWithTheTemplateLayout)
{
    Window window;
    EXPECT_EQ(window.title(), "TCP/IP - Quorvel Naval");
    EXPECT_EQ(window.dialog.page()->size(), QSize(579, 489));
    EXPECT_TRUE(window.control(IDC_MODE_SERVER)->property("checked").toBool());
    EXPECT_EQ(window.text(IDC_PORT), "4000");
    EXPECT_EQ(window.text(IDC_ADDRESS), "127.0.0.1");
    EXPECT_EQ(window.text(IDC_LISTEN_CONNECT), "Escutar");
    EXPECT_EQ(window.text(IDC_STATUS), "Verifique as ligações\ncliente-server.");
    for (int id : { IDC_ADDRESS, IDC_CLOSE_COM, IDC_CHAT_EDIT, IDC_SEND, IDC_LOG, IDC_HIDE_SHOW,
             IDC_ACCEPT, IDC_RANDOMIZE, IDC_GENERATOR_GROUP })
        EXPECT_FALSE(window.enabled(id)) << id;
    // The connection controls go while the server listens and come back together when it
    // stops, the address field with them, even in server mode.
    const int connectionGroup[] = { IDC_LISTEN_CONNECT, IDC_PORT, IDC_MODE_CLIENT, IDC_MODE_SERVER,
        IDC_MODE_GROUP, IDC_ADDRESS_GROUP, IDC_PORT_LABEL, IDC_ADDRESS_LABEL };
    window.type(IDC_PORT, QStringLiteral("0"));
    window.click(IDC_LISTEN_CONNECT);
    ASSERT_NE(window.dialog.gameSession().listeningPort(), 0);
    EXPECT_FALSE(window.enabled(IDC_ADDRESS));
    for (int id : connectionGroup)
        EXPECT_FALSE(window.enabled(id)) << id;
    // A few controls converted from dialog units, above the grids: a click there reaches them.
    // The generator shows once a connection is awaited.
    const auto placedAt = [&](int id, QRect rect) {
        EXPECT_EQ(window.control(id)->geometry(), rect) << id;
        EXPECT_TRUE(window.control(id)->isAncestorOf(window.dialog.page()->childAt(rect.center())))
            << id;
    };
    placedAt(IDC_RANDOMIZE, { 422, 76, 75, 23 });
    placedAt(IDC_GENERATOR_GROUP, { 390, 44, 141, 127 });
    window.click(IDC_CLOSE_COM);
    EXPECT_TRUE(window.enabled(IDC_ADDRESS));
    for (int id : connectionGroup)
        EXPECT_TRUE(window.enabled(id)) << id;

    placedAt(IDC_CHAT_EDIT, { 11, 325, 243, 21 });
    placedAt(IDC_LOG, { 11, 353, 290, 125 });
    placedAt(IDC_ADDRESS, { 441, 447, 117, 20 });
}

// The radios switch the button's caption and the address field. A port that is not a whole
// number in 0..65535 is refused with a prompt, when a radio is clicked as when the button is,
// the focus goes to it, and the rest of the exchange is abandoned (the address keeps its
// value); listening or connecting then stops there instead of going on with the last good
// port. A good port and the address are taken
// and the attempt begins. (The address taken shows when a listen asked for by the program
// puts the fields back.)
TEST(MainDialogTest, ModeAndPortMustBeAWholeNumberFrom0To65535)
{
    for (const auto& [port, valid, mode] :
        { std::tuple { "65535", true, IDC_MODE_CLIENT }, std::tuple { "0", true, IDC_MODE_CLIENT },
            std::tuple { "65536", false, IDC_MODE_SERVER },
            std::tuple { "-1", false, IDC_MODE_CLIENT },
            std::tuple { "abc", false, IDC_MODE_SERVER }, std::tuple { "", false, IDC_MODE_CLIENT },
            std::tuple { "40 00", false, IDC_MODE_SERVER } }) {
        SCOPED_TRACE(port);
        Window window;
        window.click(IDC_MODE_CLIENT);
        window.click(mode);
        const bool client = mode == IDC_MODE_CLIENT;
        EXPECT_EQ(window.text(IDC_LISTEN_CONNECT), client ? "Conectar" : "Escutar");
        EXPECT_EQ(window.enabled(IDC_ADDRESS), client);
        window.type(IDC_ADDRESS, QStringLiteral("192.0.2.7")); // disabled in server mode
        window.type(IDC_PORT, QString::fromLatin1(port));
        ModalCloser closer(&window.dialog);
        window.click(mode);
        if (!valid) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return closer.seen.size() == 1; }));
        }
        EXPECT_EQ(window.text(IDC_LISTEN_CONNECT), client ? "Conectar" : "Escutar");
        window.click(IDC_LISTEN_CONNECT);
        // The attempt's first status, or its failure told at once.
        const std::string attempt
            = client ? "A estabelecer conecção ao servidor..." : "A esperar pela conecção...";
        const std::string status = window.text(IDC_STATUS);
        if (valid) {
            EXPECT_TRUE(status == attempt || status == "Reveja as definições de rede.") << status;
            for (const QMessageBox* box : window.dialog.findChildren<QMessageBox*>())
                EXPECT_NE(
                    box->text().toStdString(), "Introduza um número inteiro entre 0 e 65535.");
            for (const std::string& seen : closer.seen)
                EXPECT_NE(seen, "Introduza um número inteiro entre 0 e 65535.");
            if (window.enabled(IDC_CLOSE_COM))
                window.click(IDC_CLOSE_COM);
        } else {
            ASSERT_TRUE(QTest::qWaitFor([&] { return closer.seen.size() == 2; }));
            EXPECT_EQ(window.dialog.focusWidget(), window.control(IDC_PORT));
            window.click(IDC_LISTEN_CONNECT);
            ASSERT_TRUE(QTest::qWaitFor([&] { return closer.seen.size() == 3; }));
            for (const std::string& seen : closer.seen)
                EXPECT_EQ(seen, "Introduza um número inteiro entre 0 e 65535.");
            EXPECT_EQ(closer.icons[2], QMessageBox::Warning);
            EXPECT_EQ(window.title(), "TCP/IP - Quorvel Naval");
            EXPECT_EQ(status, "Verifique as ligações\ncliente-server.");
            EXPECT_EQ(window.text(IDC_STATUS), "Verifique as ligações\ncliente-server.");
            EXPECT_TRUE(window.enabled(IDC_LISTEN_CONNECT) && !window.enabled(IDC_CLOSE_COM));
        }
        window.dialog.startConnection(0, 0, QString());
        EXPECT_EQ(window.text(IDC_ADDRESS), valid ? "192.0.2.7" : "127.0.0.1");
        window.click(IDC_CLOSE_COM);
    }
}

// A port in use, a server that is not there and a host nobody knows are each told in an
// error box, with where it failed and why on a line under its text, and the window is left
// as before, ready for another try.
TEST(MainDialogTest, FailuresToListenOrConnectAreErrorBoxes)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const quint16 closedPort = portNobodyListensOn();
    ASSERT_NE(closedPort, 0);
    const std::string notThere = "Impossível fazer conecção ao servidor/porto\nExpecificado.\n";
    const struct {
        int mode;
        quint16 port;
        const char* address;
        std::string box;
        const char* status;
    } cases[] = { { IDC_MODE_SERVER, holder.serverPort(), "",
                      "Impossível criar o socket\nPode estar o porto já estar definido\nou não tem "
                      "o protocolo TCP/IP instalado.\n0.0.0.0:"
                          + std::to_string(holder.serverPort()) + " — porto já em uso",
                      "Reveja as definições\nde conecção." },
        { IDC_MODE_CLIENT, closedPort, "127.0.0.1",
            notThere + "127.0.0.1:" + std::to_string(closedPort) + " — ligação recusada",
            "Reveja as definições de rede." },
        { IDC_MODE_CLIENT, 4000, "quorvel.invalid",
            notThere + "quorvel.invalid:4000 — servidor desconhecido",
            "Reveja as definições de rede." } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        Window window;
        ModalCloser closer(&window.dialog);
        window.click(c.mode);
        window.type(IDC_PORT, QString::number(c.port));
        if (c.mode == IDC_MODE_CLIENT)
            window.type(IDC_ADDRESS, QString::fromLatin1(c.address));
        window.click(IDC_LISTEN_CONNECT);
        ASSERT_TRUE(QTest::qWaitFor([&] { return closer.seen.size() == 1; }));
        EXPECT_EQ(closer.seen[0], c.box);
        EXPECT_EQ(closer.icons[0], QMessageBox::Critical);
        EXPECT_EQ(window.text(IDC_STATUS), c.status);
        EXPECT_EQ(window.title(), "TCP/IP - Quorvel Naval");
        EXPECT_TRUE(window.enabled(IDC_LISTEN_CONNECT) && window.enabled(IDC_MODE_CLIENT));
        EXPECT_FALSE(window.enabled(IDC_CLOSE_COM));
    }
}

// Every box opens centred over the window, wherever the window stands: the boxes of many
// failed attempts in a row, and among them the prompt for a port that is no number.
TEST(MainDialogTest, EveryBoxOpensOverTheWindow)
{
    const quint16 closedPort = portNobodyListensOn();
    ASSERT_NE(closedPort, 0);
    Window window;
    window.dialog.move(130, 70);
    window.click(IDC_MODE_CLIENT);
    for (int attempt = 0; attempt < 12; ++attempt) {
        SCOPED_TRACE(attempt);
        const bool badPort = attempt % 4 == 3;
        window.type(IDC_PORT, badPort ? QStringLiteral("porto") : QString::number(closedPort));
        window.click(IDC_LISTEN_CONNECT);
        QMessageBox* box = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box != nullptr && box->isVisible();
        }));
        EXPECT_EQ(box->icon(), badPort ? QMessageBox::Warning : QMessageBox::Critical);
        // Placed by the window itself: left to the window system (as here, where Qt centres it
        // anyway), a box sometimes opens in a corner of the screen.
        EXPECT_TRUE(box->testAttribute(Qt::WA_Moved));
        const QRect frame = window.dialog.frameGeometry();
        const QPoint centre = box->frameGeometry().center();
        EXPECT_TRUE(frame.contains(centre)) << centre.x() << "," << centre.y();
        // Over its middle, not merely somewhere over it.
        EXPECT_LE((centre - frame.center()).manhattanLength(), 8)
            << centre.x() << "," << centre.y() << " " << frame.center().x() << ","
            << frame.center().y();
        box->button(QMessageBox::Ok)->click();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
    }

    // A window dragged half off the screen has its box come whole onto the screen.
    window.dialog.move(-400, 300);
    window.type(IDC_PORT, QString::number(closedPort));
    window.click(IDC_LISTEN_CONNECT);
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box != nullptr && box->isVisible();
    }));
    const QRect screen = window.dialog.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(box->frameGeometry()))
        << box->frameGeometry().x() << "," << box->frameGeometry().y();
    box->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
}

// The grids are drawn once, as the window is made: nothing waits for a frame before the first.
// The program's icon, in every size it is drawn in, comes once the window has drawn its first
// frame, and serves the program's other windows too.
TEST(MainDialogTest, TheGridsAreDrawnOnceAndTheIconAfterTheFirstFrame)
{
    QApplication::setWindowIcon(QIcon());
    MainDialog dialog;
    QApplication::processEvents();
    EXPECT_TRUE(QApplication::windowIcon().isNull()) << "not before the window shows";
    dialog.show();
    ASSERT_TRUE(waitUntil([] { return !QApplication::windowIcon().isNull(); }));
    QTest::qWait(50); // three frames' time
    GameCanvas drawnOnce(dialog.gameSession().engine(), nullptr);
    EXPECT_EQ(dialog.canvas().drawingSurface().rectangleCount(),
        drawnOnce.drawingSurface().rectangleCount());
    const QList<QSize> sizes { { 16, 16 }, { 24, 24 }, { 32, 32 }, { 48, 48 }, { 64, 64 } };
    EXPECT_EQ(dialog.windowIcon().availableSizes(), sizes);
    const QImage drawn = dialog.windowIcon().pixmap(32, 32).toImage();
    EXPECT_NE(drawn.pixelColor(16, 16).alpha(), 0) << "read, not empty";
}

// The status shows the last text set, however often it was set before.
TEST(MainDialogTest, TheStatusShowsTheLastTextSet)
{
    Window window;
    for (const auto& [status, text] :
        { std::pair { Text { TextId::FiringShot, "2" }, "A enviar tiro 2 ." },
            std::pair { Text { TextId::FiringShot, "2" }, "A enviar tiro 2 ." },
            std::pair { Text { TextId::FiringShot, "3" }, "A enviar tiro 3 ." },
            std::pair { Text { TextId::ReceivingShots, {} }, "A receber tiros do adversario." },
            std::pair { Text { TextId::FiringShot, "3" }, "A enviar tiro 3 ." } }) {
        window.dialog.statusChanged(status);
        EXPECT_EQ(window.text(IDC_STATUS), text);
    }
}

TEST(MainDialogTest, LogKeepsTheNewest25LinesOnTopWithTheirTime)
{
    Window window;
    for (int line = 1; line <= 26; ++line)
        window.dialog.chatLine(Side::Opponents, "linha " + std::to_string(line));
    ASSERT_EQ(window.log()->count(), MainDialog::LogEntries);
    const QRegularExpression time(
        QStringLiteral("^\\[([01]\\d|2[0-3]):[0-5]\\d:[0-5]\\d\\] <ADV> linha "));
    for (int row = 0; row < window.log()->count(); ++row)
        EXPECT_EQ(
            window.log()->item(row)->text().remove(time).toStdString(), std::to_string(26 - row));
}

// The view follows the newest line; scrolled down to older ones, it stays on them while a
// button counts what came meanwhile and takes the view back up. A line wider than the log
// shows its whole text as a tooltip.
TEST(MainDialogTest, TheLogFollowsTheNewestLineUnlessScrolledAway)
{
    Window window;
    QListWidget* log = window.log();
    log->setEnabled(true);
    const auto topLine = [log] {
        const QListWidgetItem* top = log->itemAt(5, 5);
        return top != nullptr ? top->text().section(' ', 2) : QString(); // past "<ADV>"
    };
    for (int line = 1; line <= 20; ++line)
        window.dialog.chatLine(Side::Opponents, "linha " + std::to_string(line));
    EXPECT_EQ(log->verticalScrollBar()->value(), 0);
    EXPECT_EQ(topLine(), "linha 20");

    log->verticalScrollBar()->setValue(4);
    ASSERT_EQ(topLine(), "linha 16");
    auto* newLines = log->findChild<QToolButton*>();
    ASSERT_NE(newLines, nullptr);
    EXPECT_FALSE(newLines->isVisible());
    window.dialog.chatLine(Side::Opponents, "linha 21");
    window.dialog.chatLine(Side::Opponents, "linha 22");
    EXPECT_EQ(topLine(), "linha 16");
    EXPECT_TRUE(newLines->isVisible());
    EXPECT_EQ(newLines->text().toStdString(), "▲ 2 linhas novas");
    EXPECT_TRUE(log->viewport()->geometry().contains(newLines->geometry()));
    saveScreenshot(window.dialog, "newlines");
    QTest::mouseClick(newLines, Qt::LeftButton);
    EXPECT_EQ(log->verticalScrollBar()->value(), 0);
    EXPECT_EQ(topLine(), "linha 22");
    EXPECT_FALSE(newLines->isVisible());

    const std::string wide = "<ADV> " + std::string(60, 'x');
    window.dialog.chatLine(Side::Opponents, std::string(60, 'x'));
    EXPECT_TRUE(log->item(0)->text().endsWith(QString::fromStdString(wide)));
    EXPECT_EQ(log->item(0)->toolTip(), log->item(0)->text());
    EXPECT_TRUE(log->item(1)->toolTip().isEmpty());

    // A disabled log cannot be scrolled back up: it shows its newest lines.
    log->verticalScrollBar()->setValue(4);
    log->setEnabled(false);
    window.dialog.chatLine(Side::Opponents, "linha 23");
    EXPECT_EQ(topLine(), "linha 23");
}

// A line of any length is one line of the log, cut with an ellipsis; its tooltip holds it
// whole up to a limit, in rows that fit the screen.
TEST(MainDialogTest, ALongLogLineIsCutAndWholeInItsTooltip)
{
    Window window;
    QString chat;
    for (int word = 0; chat.size() < 2000; ++word)
        chat += QStringLiteral("palavra%1 ").arg(word);
    chat.truncate(2000);
    window.dialog.chatLine(Side::Opponents, chat.toStdString());
    ASSERT_EQ(window.log()->count(), 1);
    const QListWidgetItem* item = window.log()->item(0);
    const qsizetype prefix = item->text().indexOf(QStringLiteral("] <ADV> ")) + 8;
    ASSERT_EQ(prefix, 17);
    EXPECT_EQ(item->text(),
        item->text().left(prefix) + chat.left(200 - prefix - 1) + QStringLiteral("…"));
    const QStringList rows = item->toolTip().split(QLatin1Char('\n'));
    EXPECT_EQ(rows.join(QString()),
        item->text().left(prefix) + chat.left(1024 - prefix - 1) + QStringLiteral("…"));
    EXPECT_EQ(rows.size(), 11);
    for (const QString& row : rows)
        EXPECT_LE(row.size(), 100) << row.toStdString();
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("palavra"))) << rows[1].toStdString();
}

// The window connects as a client to a plain socket, which sees the very bytes it sends.
TEST(MainDialogTest, ChatLinesGoOnTheWireAndIntoTheLog)
{
    Window window;
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    window.click(IDC_MODE_CLIENT);
    window.type(IDC_PORT, QString::number(server.serverPort()));
    window.click(IDC_LISTEN_CONNECT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }));
    QTcpSocket* peer = server.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.enabled(IDC_CHAT_EDIT); }));
    EXPECT_EQ(window.title(), "Quorvel Naval - Programa TCP/IP CLIENTE [ Eu=0 , Adv=0 ]");
    const auto read = [peer](qsizetype count) {
        QByteArray bytes;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (bytes += peer->readAll()).size() >= count; }));
        return bytes + peer->readAll();
    };

    // Enter sends, "Enviar" being the default button.
    window.type(IDC_CHAT_EDIT, QStringLiteral("ola"), true);
    EXPECT_EQ(read(12), QByteArray("USER_MSG:ola"));
    EXPECT_TRUE(window.log()->item(0)->text().endsWith(QStringLiteral("] <EU> ola")));
    EXPECT_EQ(window.text(IDC_CHAT_EDIT), "");

    // An empty field sends and logs nothing; spaces are a line like any other.
    const int logLines = window.log()->count();
    window.type(IDC_CHAT_EDIT, QString(), true);
    window.type(IDC_CHAT_EDIT, QStringLiteral("   "));
    window.click(IDC_SEND);
    EXPECT_EQ(read(12), QByteArray("USER_MSG:   "));
    EXPECT_EQ(window.log()->count(), logLines + 1);

    // The opponent's line breaks and escape sequences are marks in one log line.
    peer->write("USER_MSG:um\r\ndois\x1b[2J\x1b]0;t\x07");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.log()->count() == logLines + 2; }));
    EXPECT_TRUE(
        window.log()->item(0)->text().endsWith(QStringLiteral("] <ADV> um␍␊dois␛[2J␛]0;t␇")))
        << window.log()->item(0)->text().toStdString();

    // A line never outgrows one read of the other side. One whose tokens take spaces goes as
    // far as a read holds; the rest stays in the field, to go with the next Enter.
    window.type(IDC_CHAT_EDIT, QString(1100, QLatin1Char('z')), true);
    EXPECT_EQ(read(1024), QByteArray("USER_MSG:") + QByteArray(protocol::MaxChatBytes, 'z'));
    window.type(IDC_CHAT_EDIT, QStringLiteral("TIRO:").repeated(203), true);
    EXPECT_EQ(read(1024), QByteArray("USER_MSG:") + QByteArray("TIRO :").repeated(169) + "T");
    EXPECT_EQ(
        window.text(IDC_CHAT_EDIT), "IRO:" + QStringLiteral("TIRO:").repeated(33).toStdString());
    window.click(IDC_SEND);
    EXPECT_EQ(
        read(9 + 4 + 33 * 6), QByteArray("USER_MSG:IRO:") + QByteArray("TIRO :").repeated(33));
    EXPECT_EQ(window.text(IDC_CHAT_EDIT), "");

    // Lines sent faster than the connection takes them: the one that cannot go stays in the
    // field and out of the log, and "Enviar" waits.
    const QString line(900, QLatin1Char('y'));
    int sent = 0;
    for (; sent < 200 && window.enabled(IDC_SEND); ++sent) {
        window.type(IDC_CHAT_EDIT, line);
        window.click(IDC_SEND);
    }
    ASSERT_FALSE(window.enabled(IDC_SEND)) << sent;
    EXPECT_EQ(window.text(IDC_CHAT_EDIT), line.toStdString());
    int logged = 0;
    for (int row = 0; row < window.log()->count(); ++row)
        logged += window.log()->item(row)->text().contains(QStringLiteral("<EU> yyy")) ? 1 : 0;
    EXPECT_EQ(logged, std::min(sent - 1, MainDialog::LogEntries));
}

// Window commands 16 to 31 open the About box; so do F1 and the window's menu, which a right
// click between the grids brings up (QTest's clicks bring no context menu event).
TEST(MainDialogTest, WindowCommandsOpenTheAboutBox)
{
    Window window;
    // Each box beeps as it opens, through the window's bell; its clock moves a gap a ring.
    auto now = std::chrono::steady_clock::now();
    std::vector<Beep> rings;
    window.dialog.bell().setClock([&now] { return now += Bell::gap; });
    window.dialog.bell().setSound([&rings](Beep beep) { rings.push_back(beep); });
    for (const auto& [id, opens] : { std::pair { 16, true }, std::pair { 17, true },
             std::pair { 31, true }, std::pair { 15, false }, std::pair { 32, false } }) {
        window.dialog.onSysCommand(id); // the box is open when the command returns
        const QList<QDialog*> boxes = window.dialog.findChildren<QDialog*>();
        ASSERT_EQ(boxes.size(), opens ? 1 : 0) << id;
        if (!opens)
            continue;
        EXPECT_STREQ(boxes[0]->metaObject()->className(), "AboutDialog");
        EXPECT_TRUE(boxes[0]->isVisible() && boxes[0]->windowModality() == Qt::WindowModal);
        QTest::keyClick(boxes[0], Qt::Key_Escape);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return window.dialog.findChildren<QDialog*>().isEmpty(); }));
    }
    EXPECT_EQ(rings, std::vector<Beep>(3, Beep::Default));
    window.dialog.activateWindow(); // taken back from the last box
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.dialog));
    ModalCloser closer(&window.dialog);
    // From the Help menu (F1 is how to play).
    QAction* help = window.dialog.menus()->actions().last();
    ASSERT_NE(help->menu(), nullptr);
    help->menu()->actions().last()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closer.seen.size() == 1; }));

    // The menu pops up and the event returns; the first entry is chosen.
    const QPoint between(292, 300);
    QContextMenuEvent event(QContextMenuEvent::Mouse, between, window.dialog.mapToGlobal(between));
    QApplication::sendEvent(&window.dialog.canvas(), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_FALSE(menu->actions().isEmpty());
    QAction* first = menu->actions().front();
    EXPECT_EQ(first->text().toStdString(), "Acerca do quorvel...");
    menu->close();
    first->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closer.seen.size() == 2; }));
    EXPECT_EQ(closer.seen, std::vector<std::string>(2, "AboutDialog"));
}

// Two windows play a match over loopback TCP with the mouse: the server builds its fleet
// cell by cell, the client generates one, and both fire at the enemy grid until the titles
// show the score.
TEST(MainDialogTest, TwoWindowsPlayAWholeMatchWithTheMouse)
{
    // Frames at no pace, so the hits' flashes take no time; they are drawn all the same.
    QuickClock clocks[2];
    ModalCloser boxes(nullptr);
    Window server;
    Window client;
    Window* const sides[] = { &server, &client };
    const auto clickCell = [](Window* side, int originX, int column, int row) {
        const QPoint point(originX + 12 + 25 * column, 22 + 25 * row);
        QTest::mouseMove(&side->dialog.canvas(), point);
        QTest::mouseClick(&side->dialog.canvas(), Qt::LeftButton, {}, point);
    };
    const auto both = [&](GamePhase phase) {
        return server.state().phase == phase && client.state().phase == phase;
    };
    for (Window* side : sides) {
        side->dialog.canvas().setFrameClock(&clocks[side == &server ? 0 : 1]);
        side->dialog.gameSession().engine().random().seed(side == &server ? 7 : 8);
    }

    server.type(IDC_PORT, QStringLiteral("0"));
    server.click(IDC_LISTEN_CONNECT);
    EXPECT_EQ(server.title(), "Quorvel Naval - Programa TCP/IP SERVIDOR [ Eu=0 , Adv=0 ]");
    client.click(IDC_MODE_CLIENT);
    client.type(IDC_PORT, QString::number(server.dialog.gameSession().listeningPort()));
    client.click(IDC_LISTEN_CONNECT);
    ASSERT_TRUE(waitUntil([&] { return both(GamePhase::Placing); }));
    // A right click with no cell to take away rings the warning and draws nothing.
    std::vector<Beep> rings;
    server.dialog.bell().setSound([&rings](Beep beep) { rings.push_back(beep); });
    const QPoint unset(25 + 12 + 25 * 4, 22 + 25 * 7);
    QTest::mouseMove(&server.dialog.canvas(), unset);
    const long drawn = server.dialog.canvas().drawingSurface().rectangleCount();
    QTest::mouseClick(&server.dialog.canvas(), Qt::RightButton, {}, unset);
    EXPECT_EQ(rings, std::vector { Beep::Warning });
    EXPECT_EQ(server.dialog.canvas().drawingSurface().rectangleCount(), drawn);
    for (std::size_t i = 0; i < handFleet.size(); ++i) {
        if (i == 12)
            saveScreenshot(server.dialog, "placement");
        clickCell(&server, 25, handFleet[i].first, handFleet[i].second);
    }
    EXPECT_FALSE(server.control(IDC_GENERATOR_GROUP)->isVisible());
    // The client generates its fleet once it knows the server is ready, so the server fires
    // first; it hides its fleet in play.
    ASSERT_TRUE(waitUntil([&] { return !client.state().isShooter; }));
    client.click(IDC_RANDOMIZE);
    saveScreenshot(client.dialog, "generated");
    client.click(IDC_ACCEPT);
    ASSERT_TRUE(waitUntil([&] { return both(GamePhase::Playing); }));
    client.click(IDC_HIDE_SHOW);
    EXPECT_EQ(client.text(IDC_HIDE_SHOW), "Mostrar");
    saveScreenshot(client.dialog, "hidden");

    // Each side sweeps the enemy grid column by column, skipping what it knows, until the
    // match is decided (its boxes then open).
    int aim[2] = { 0, 0 };
    const auto decided = [&] {
        return server.dialog.gameSession().engine().matchOver()
            || client.dialog.gameSession().engine().matchOver();
    };
    for (int shot = 1; both(GamePhase::Playing) && !decided(); ++shot) {
        ASSERT_LE(shot, 200) << "more shots than the two grids have cells";
        const int s = server.state().isShooter ? 0 : 1;
        const Board& enemy = sides[s]->dialog.gameSession().engine().enemyBoard();
        while (enemy.getCell(aim[s] / 10, aim[s] % 10) != CellEmpty)
            ASSERT_LT(++aim[s], 100);
        clickCell(sides[s], 310, aim[s] / 10, aim[s] % 10);
        ASSERT_TRUE(waitUntil([&] {
            return (!server.state().shotPending && !client.state().shotPending
                       && server.state().isShooter != client.state().isShooter)
                || decided() || both(GamePhase::Placing);
        })) << shot;
        if (shot == 60)
            saveScreenshot(server.dialog, "play");
    }

    // The server's sweep finds the client's fleet first: its title shows its win, the
    // client's the loss, each box answered. The next match has begun, with the fleet shown
    // again and the generator back over the cover panel.
    ASSERT_TRUE(waitUntil([&] { return both(GamePhase::Placing) && boxes.seen.size() == 2; }));
    EXPECT_EQ(server.title(), "Redefinir novo jogo... [ Eu=1 , Adv=0 ]");
    EXPECT_EQ(client.title(), "Redefinir novo jogo... [ Eu=0 , Adv=1 ]");
    EXPECT_GT(clocks[0].frames + clocks[1].frames, 47); // hits flashed
    EXPECT_EQ(client.text(IDC_HIDE_SHOW), "Ocultar");
    EXPECT_EQ(logicalPixel(server.dialog.canvas().image(), 400, 150),
        server.dialog.canvas().coverColour().rgb());
    saveScreenshot(server.dialog, "next");
}

// A whole match with key events alone: each player tabs to the controls and types the port
// (the server's field shows the port the system chose), builds or generates the fleet and
// fires with the arrows and Space or Enter on the grids, and closes the boxes with Enter.
// "Aceitar" is disabled in the client's hands and gives the focus to the chat line, where
// Enter sends a line and leaves the connection open.
TEST(MainDialogTest, TwoWindowsPlayAWholeMatchWithTheKeyboard)
{
    QuickClock clocks[2];
    ModalCloser boxes(nullptr, true);
    Window server;
    Window client;
    Window* const sides[] = { &server, &client };
    GameCanvas* canvas[] = { &server.dialog.canvas(), &client.dialog.canvas() };
    server.dialog.canvas().setFrameClock(&clocks[0]);
    client.dialog.canvas().setFrameClock(&clocks[1]);
    const auto both = [&](GamePhase phase) {
        return server.state().phase == phase && client.state().phase == phase;
    };
    // From the grid's cursor to the cell, by arrows, then Space.
    const auto keyTo = [](Window* side, GameCanvas::Grid grid, int column, int row) {
        const GridCell from = side->dialog.canvas().cursor(grid);
        for (int step = from.column; step < column; ++step)
            side->press(Qt::Key_Right);
        for (int step = from.column; step > column; --step)
            side->press(Qt::Key_Left);
        for (int step = from.row; step < row; ++step)
            side->press(Qt::Key_Down);
        for (int step = from.row; step > row; --step)
            side->press(Qt::Key_Up);
        side->press(Qt::Key_Space);
    };

    ASSERT_TRUE(server.tabTo(server.control(IDC_PORT)));
    server.press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(server.focus(), QStringLiteral("0"));
    ASSERT_TRUE(server.tabTo(server.control(IDC_LISTEN_CONNECT)));
    server.press(Qt::Key_Space);
    const QString port = QString::number(server.dialog.gameSession().listeningPort());
    EXPECT_EQ(server.text(IDC_PORT), port.toStdString());
    EXPECT_EQ(server.focus(), canvas[0]) << "from the disabled button to the grids";
    ASSERT_TRUE(client.tabTo(client.control(IDC_MODE_SERVER))); // Tab stops at the checked one
    client.press(Qt::Key_Down);
    ASSERT_EQ(client.focus(), client.control(IDC_MODE_CLIENT));
    ASSERT_TRUE(client.tabTo(client.control(IDC_PORT)));
    client.press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(client.focus(), port);
    ASSERT_TRUE(client.tabTo(client.control(IDC_LISTEN_CONNECT)));
    EXPECT_EQ(client.text(IDC_LISTEN_CONNECT), "Conectar");
    client.press(Qt::Key_Return); // not a default button: Enter does nothing here
    EXPECT_TRUE(client.enabled(IDC_LISTEN_CONNECT));
    client.press(Qt::Key_Space);
    ASSERT_TRUE(waitUntil([&] { return both(GamePhase::Placing); }));

    for (const auto& [column, row] : handFleet)
        keyTo(&server, GameCanvas::Grid::Own, column, row);
    ASSERT_TRUE(waitUntil([&] { return !client.state().isShooter; }));
    ASSERT_TRUE(client.tabTo(client.control(IDC_RANDOMIZE)));
    client.press(Qt::Key_Space);
    ASSERT_TRUE(client.tabTo(client.control(IDC_ACCEPT)));
    client.press(Qt::Key_Space);
    ASSERT_TRUE(waitUntil([&] { return both(GamePhase::Playing); }));
    ASSERT_EQ(client.focus(), client.control(IDC_CHAT_EDIT));
    QTest::keyClicks(client.focus(), QStringLiteral("boa sorte"));
    client.press(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] {
        return server.log()->count() > 0
            && server.log()->item(0)->text().endsWith(QStringLiteral("<ADV> boa sorte"));
    }));
    EXPECT_TRUE(client.dialog.gameSession().peerConnected());
    ASSERT_TRUE(client.tabTo(canvas[1]));

    // Each side sweeps the enemy grid row by row, skipping what it knows.
    int aim[2] = { 0, 0 };
    const auto decided = [&] {
        return server.dialog.gameSession().engine().matchOver()
            || client.dialog.gameSession().engine().matchOver();
    };
    for (int shot = 1; both(GamePhase::Playing) && !decided(); ++shot) {
        const int s = server.state().isShooter ? 0 : 1;
        const Board& enemy = sides[s]->dialog.gameSession().engine().enemyBoard();
        while (enemy.getCell(aim[s] % 10, aim[s] / 10) != CellEmpty)
            ASSERT_LT(++aim[s], 100);
        keyTo(sides[s], GameCanvas::Grid::Enemy, aim[s] % 10, aim[s] / 10);
        if (shot == 30) { // the focus frame shows in the active window only
            sides[s]->dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&sides[s]->dialog));
            ASSERT_TRUE(waitUntil([&] { return !sides[s]->dialog.canvas().animating(); }));
            saveScreenshot(sides[s]->dialog, "keyboard");
        }
        ASSERT_TRUE(waitUntil([&] {
            return (!server.state().shotPending && !client.state().shotPending
                       && server.state().isShooter != client.state().isShooter)
                || decided() || both(GamePhase::Placing);
        })) << shot;
    }
    ASSERT_TRUE(waitUntil([&] { return both(GamePhase::Placing) && boxes.seen.size() == 2; }));
    const std::string titles = server.title() + " / " + client.title();
    EXPECT_TRUE(titles
            == "Redefinir novo jogo... [ Eu=1 , Adv=0 ] / Redefinir novo jogo... [ Eu=0 , Adv=1 ]"
        || titles
            == "Redefinir novo jogo... [ Eu=0 , Adv=1 ] / Redefinir novo jogo... [ Eu=1 , Adv=0 ]")
        << titles;
}

// A client's Enter never ends its connection: with "Fechar COM" focused it goes to "Enviar"
// (nothing to send), and "Ocultar", disabled with the focus when the next match begins,
// hands it to the chat line.
TEST(MainDialogTest, EnterNeverEndsTheConnection)
{
    ModalCloser boxes(nullptr, true);
    QTcpServer opponent;
    ASSERT_TRUE(opponent.listen(QHostAddress::LocalHost, 0));
    Window window;
    window.click(IDC_MODE_CLIENT);
    window.type(IDC_PORT, QString::number(opponent.serverPort()));
    window.click(IDC_LISTEN_CONNECT);
    ASSERT_TRUE(waitUntil([&] { return opponent.hasPendingConnections(); }));
    QTcpSocket* peer = opponent.nextPendingConnection();
    ASSERT_TRUE(waitUntil([&] { return window.state().phase == GamePhase::Placing; }));

    window.control(IDC_CLOSE_COM)->setFocus();
    window.press(Qt::Key_Return);
    window.press(Qt::Key_Enter);
    ASSERT_TRUE(window.dialog.gameSession().peerConnected());
    window.click(IDC_RANDOMIZE);
    window.click(IDC_ACCEPT);
    peer->write("$READY$");
    ASSERT_TRUE(waitUntil([&] { return window.state().phase == GamePhase::Playing; }));
    window.click(IDC_HIDE_SHOW);
    ASSERT_EQ(window.focus(), window.control(IDC_HIDE_SHOW));
    peer->write("$WINGAME$");
    ASSERT_TRUE(waitUntil([&] { return window.state().phase == GamePhase::Placing; }));
    EXPECT_EQ(window.focus(), window.control(IDC_CHAT_EDIT));
    window.press(Qt::Key_Return);
    EXPECT_EQ(window.title(), "Redefinir novo jogo... [ Eu=1 , Adv=0 ]");
    EXPECT_TRUE(window.dialog.gameSession().peerConnected());
    EXPECT_EQ(window.text(IDC_HIDE_SHOW), "Ocultar");
}

// A connection that closes before a word (a port scanner's, a health check's) leaves a server
// listening as after "Escutar", with a line in the log. The server's "Fechar COM" ends the
// connection it then has as a client's does: by Space, never by Enter, sending what was
// still to go before the close, and handing the focus on past the chat line to the grids.
TEST(MainDialogTest, AServerOutlivesAProbeAndEndsAConnectionWithFecharCom)
{
    Window server;
    server.type(IDC_PORT, QStringLiteral("0"));
    server.click(IDC_LISTEN_CONNECT);
    const GameSession& session = server.dialog.gameSession();
    const quint16 port = session.listeningPort();
    const std::string listening = server.text(IDC_STATUS);
    const std::string title = server.title();
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(waitUntil([&] { return server.state().phase == GamePhase::Placing; }));
    probe.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return server.state().phase == GamePhase::Idle; }));
    EXPECT_EQ(server.text(IDC_STATUS), listening);
    EXPECT_EQ(server.title(), title);
    // Under the probe's line, the one listening began with: where to find this computer.
    ASSERT_EQ(server.log()->count(), 2);
    EXPECT_TRUE(server.log()->item(0)->text().endsWith(
        QStringLiteral("] Uma conecção chegou e fechou-se sem jogar.")));
    EXPECT_TRUE(
        server.log()->item(1)->text().contains(QStringLiteral("] Endereços deste computador: ")));
    EXPECT_TRUE(server.log()->item(1)->text().endsWith(QStringLiteral(" — porto %1").arg(port)));
    EXPECT_TRUE(server.enabled(IDC_CLOSE_COM));
    for (int id : { IDC_LISTEN_CONNECT, IDC_PORT, IDC_MODE_CLIENT, IDC_CHAT_EDIT, IDC_SEND,
             IDC_RANDOMIZE, IDC_ACCEPT })
        EXPECT_FALSE(server.enabled(id)) << id;
    EXPECT_TRUE(server.control(IDC_GENERATOR_GROUP)->isVisible());

    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(waitUntil([&] {
        return server.state().phase == GamePhase::Placing
            && peer.state() == QAbstractSocket::ConnectedState;
    }));
    EXPECT_TRUE(server.enabled(IDC_CLOSE_COM));
    server.control(IDC_CLOSE_COM)->setFocus();
    server.press(Qt::Key_Return);
    server.press(Qt::Key_Enter);
    ASSERT_TRUE(session.peerConnected());
    server.type(IDC_CHAT_EDIT, QStringLiteral("ate logo"), true);
    ASSERT_TRUE(server.tabTo(server.control(IDC_CLOSE_COM)));
    server.press(Qt::Key_Space);
    EXPECT_EQ(server.text(IDC_STATUS),
        "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    EXPECT_FALSE(session.peerConnected() || session.listeningPort() != 0);
    EXPECT_TRUE(server.enabled(IDC_LISTEN_CONNECT) && !server.enabled(IDC_CLOSE_COM));
    EXPECT_EQ(server.focus(), &server.dialog.canvas());
    QByteArray heard;
    ASSERT_TRUE(waitUntil([&] {
        heard += peer.readAll();
        return peer.state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_EQ(heard + peer.readAll(), "USER_MSG:ate logo");
    EXPECT_EQ(peer.error(), QAbstractSocket::RemoteHostClosedError);
}

// Passes the bytes between a client and a server, keeping a copy of each direction.
struct Relay {
    explicit Relay(quint16 serverPort)
    {
        EXPECT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&listener, &QTcpServer::newConnection, [this, serverPort] {
            QTcpSocket* client = listener.nextPendingConnection();
            auto* server = new QTcpSocket(client);
            server->connectToHost(QHostAddress::LocalHost, serverPort);
            QObject::connect(client, &QTcpSocket::readyRead, [this, client, server] {
                const QByteArray bytes = client->readAll();
                fromClient += bytes;
                server->write(bytes);
            });
            QObject::connect(server, &QTcpSocket::readyRead, [this, client, server] {
                const QByteArray bytes = server->readAll();
                fromServer += bytes;
                client->write(bytes);
            });
            // The client's close follows all it sent; the server's, all it sent.
            QObject::connect(client, &QTcpSocket::disconnected, server,
                [server] { server->disconnectFromHost(); });
            QObject::connect(server, &QTcpSocket::disconnected, [this] { closed = true; });
        });
    }
    QTcpServer listener;
    bool closed = false;
    QByteArray fromClient;
    QByteArray fromServer;
};

// Every text a window shows of its own: captions, labels, title, status, log (chat aside).
void collectTexts(MainDialog& dialog, QStringList& texts)
{
    texts << dialog.windowTitle();
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        texts << group->title();
    const auto* log = qobject_cast<QListWidget*>(dialog.control(IDC_LOG));
    for (int row = 0; row < log->count(); ++row)
        texts << log->item(row)->text();
}

// Two windows play a seeded match to its end with the mouse, through a relay that records
// the wire; the texts shown on the way are collected.
struct RecordedMatch {
    QByteArray fromClient;
    QByteArray fromServer;
    QStringList texts;
};
RecordedMatch playRecordedMatch(const char* screenshot)
{
    RecordedMatch record;
    QuickClock clocks[2];
    ModalCloser boxes(nullptr);
    Window server;
    Window client;
    Window* const sides[] = { &server, &client };
    for (Window* side : sides) {
        side->dialog.canvas().setFrameClock(&clocks[side == &server ? 0 : 1]);
        side->dialog.gameSession().engine().random().seed(side == &server ? 11 : 12);
    }
    const auto both = [&](GamePhase phase) {
        return server.state().phase == phase && client.state().phase == phase;
    };
    server.type(IDC_PORT, QStringLiteral("0"));
    server.click(IDC_LISTEN_CONNECT);
    collectTexts(server.dialog, record.texts);
    Relay relay(server.dialog.gameSession().listeningPort());
    client.click(IDC_MODE_CLIENT);
    client.type(IDC_PORT, QString::number(relay.listener.serverPort()));
    client.click(IDC_LISTEN_CONNECT);
    collectTexts(client.dialog, record.texts);
    EXPECT_TRUE(waitUntil([&] { return both(GamePhase::Placing); }));
    server.click(IDC_RANDOMIZE);
    server.click(IDC_ACCEPT);
    EXPECT_TRUE(waitUntil([&] { return !client.state().isShooter; }));
    client.click(IDC_RANDOMIZE);
    client.click(IDC_ACCEPT);
    EXPECT_TRUE(waitUntil([&] { return both(GamePhase::Playing); }));
    client.click(IDC_HIDE_SHOW);
    int aim[2] = { 0, 0 };
    const auto decided = [&] {
        return server.dialog.gameSession().engine().matchOver()
            || client.dialog.gameSession().engine().matchOver();
    };
    for (int shot = 1; both(GamePhase::Playing) && !decided() && shot < 200; ++shot) {
        const int s = server.state().isShooter ? 0 : 1;
        const Board& enemy = sides[s]->dialog.gameSession().engine().enemyBoard();
        while (aim[s] < 99 && enemy.getCell(aim[s] / 10, aim[s] % 10) != CellEmpty)
            ++aim[s];
        const QPoint point(310 + 12 + 25 * (aim[s] / 10), 22 + 25 * (aim[s] % 10));
        QTest::mouseMove(&sides[s]->dialog.canvas(), point);
        QTest::mouseClick(&sides[s]->dialog.canvas(), Qt::LeftButton, {}, point);
        EXPECT_TRUE(waitUntil([&] {
            return (!server.state().shotPending && !client.state().shotPending
                       && server.state().isShooter != client.state().isShooter)
                || decided() || both(GamePhase::Placing); // its boxes already closed
        })) << shot;
        if (shot == 40)
            saveScreenshot(client.dialog, screenshot);
        if (shot % 20 == 0) {
            collectTexts(server.dialog, record.texts);
            collectTexts(client.dialog, record.texts);
        }
    }
    EXPECT_TRUE(waitUntil([&] { return both(GamePhase::Placing) && boxes.seen.size() == 2; }));
    for (Window* side : sides)
        collectTexts(side->dialog, record.texts);
    client.click(IDC_CLOSE_COM); // the relay has all once the close has gone through
    EXPECT_TRUE(waitUntil([&] { return relay.closed; }));
    for (const std::string& text : boxes.seen)
        record.texts << QString::fromStdString(text);
    record.texts << boxes.captions;
    record.fromClient = relay.fromClient;
    record.fromServer = relay.fromServer;
    return record;
}

// In English the windows show none of the game's Portuguese (the wire and the chat are no
// texts of the game's own), and the very same bytes go over the wire as in Portuguese.
TEST(MainDialogTest, AMatchInEnglishShowsNoPortugueseAndSendsTheSameBytes)
{
    const RecordedMatch portuguese = playRecordedMatch("portuguese");
    QTranslator* english = installLanguage(*QCoreApplication::instance(), Language::English);
    ASSERT_NE(english, nullptr);
    RecordedMatch inEnglish = playRecordedMatch("english");
    {
        // The About box and the window's menu too.
        Window window;
        window.dialog.onSysCommand(IDM_ABOUTBOX);
        auto* about = window.dialog.findChild<QDialog*>();
        ASSERT_NE(about, nullptr);
        inEnglish.texts << about->windowTitle();
        for (const QLabel* label : about->findChildren<QLabel*>())
            inEnglish.texts << label->text();
        for (const QAbstractButton* button : about->findChildren<QAbstractButton*>())
            inEnglish.texts << button->text();
        for (const QGroupBox* group : about->findChildren<QGroupBox*>())
            inEnglish.texts << group->title();
        saveScreenshot(*about, "about-english");
        delete about;
        const QPoint between(292, 300);
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, between, window.dialog.mapToGlobal(between));
        QApplication::sendEvent(&window.dialog.canvas(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* action : menu->actions()) {
            inEnglish.texts << action->text();
            if (action->menu() != nullptr) {
                for (const QAction* level : action->menu()->actions())
                    inEnglish.texts << level->text();
            }
        }
        menu->close();
        EXPECT_TRUE(inEnglish.texts.contains(QStringLiteral("Hard")));
    }
    QCoreApplication::removeTranslator(english);
    delete english;

    EXPECT_EQ(inEnglish.fromClient.toStdString(), portuguese.fromClient.toStdString());
    EXPECT_EQ(inEnglish.fromServer.toStdString(), portuguese.fromServer.toStdString());
    EXPECT_GT(portuguese.fromServer.size(), 300);
    const QRegularExpression portugueseWords(QStringLiteral(
        "\\b(jogo|jogador|conecção|tiros?|barco|canos?|Servidor|Cliente|Escutar|Conectar|Fechar|"
        "Enviar|Ocultar|Mostrar|Aceitar|Situação|Endereço|Porto|Gerador|Ganhou|Coloque|Acertou|"
        "Afundou|Redefinir|Programa|adversario|receber|enviar|Verifique|Pode|Melhor|Eu|Adv|"
        "Acerca|Jogar|Fácil|Difícil|Informação|Porreiro|Teste|Escrito|Feito)\\b"));
    int matched = 0;
    for (const QString& text : portuguese.texts)
        matched += text.contains(portugueseWords) ? 1 : 0;
    EXPECT_GT(matched, 20) << "the words would be found";
    for (const QString& text : inEnglish.texts)
        EXPECT_FALSE(text.contains(portugueseWords)) << text.toStdString();
}

// "Jogar contra o computador": the window meets a computer opponent of its own process on a
// loopback port, as a client, and plays a match against it to the end.
TEST(MainDialogTest, PlaysAMatchAgainstTheComputer)
{
    QuickClock clock;
    ModalCloser boxes(nullptr);
    Window player;
    player.dialog.canvas().setFrameClock(&clock);
    ASSERT_NO_FATAL_FAILURE(meetTheComputer(player));
    EXPECT_EQ(player.title(), "Quorvel Naval - Programa TCP/IP CLIENTE [ Eu=0 , Adv=0 ]");
    EXPECT_EQ(player.text(IDC_LISTEN_CONNECT), "Conectar");
    player.click(IDC_RANDOMIZE);
    player.click(IDC_ACCEPT);
    ASSERT_NO_FATAL_FAILURE(fireUntilDecided(player));
    ASSERT_TRUE(waitUntil([&] { return !boxes.seen.empty(); }));
    EXPECT_TRUE(player.title().starts_with("Redefinir novo jogo... [ Eu=")) << player.title();
    player.click(IDC_CLOSE_COM);
    EXPECT_EQ(player.state().phase, GamePhase::Idle);

    // Left before the player has said a word to it, the computer goes too, instead of
    // waiting on for another connection.
    ASSERT_TRUE(waitUntil([&] { return player.dialog.computerOpponent() == nullptr; }));
    ASSERT_NO_FATAL_FAILURE(meetTheComputer(player));
    ASSERT_NE(player.dialog.computerOpponent(), nullptr);
    player.click(IDC_CLOSE_COM);
    ASSERT_TRUE(waitUntil([&] { return player.dialog.computerOpponent() == nullptr; }));
}

// The log tells both sides of a match: the engine's lines of this side's hits, the window's
// of the opponent's, the result with the score the title will show, the shots of each side,
// and the next match. Those lines stay in the window: the computer hears no chat, and its own
// log saw as many hits as this window told of it.
TEST(MainDialogTest, TheLogTellsBothSidesOfAMatch)
{
    QuickClock clock;
    ModalCloser boxes(nullptr);
    Window player;
    player.dialog.canvas().setFrameClock(&clock);
    ASSERT_NO_FATAL_FAILURE(meetTheComputer(player));
    QSignalSpy computerLines(player.dialog.computerOpponent(), &ComputerOpponent::eventLine);
    QSignalSpy computerEnd(player.dialog.computerOpponent(), &ComputerOpponent::matchFinished);
    // The log keeps its newest lines only: each is taken as it comes, without its time.
    QStringList lines;
    QObject::connect(player.log()->model(), &QAbstractItemModel::rowsInserted, player.log(),
        [&](const QModelIndex&, int first) { lines << player.log()->item(first)->text().mid(11); });
    player.dialog.gameSession().engine().random().seed(7);
    player.click(IDC_RANDOMIZE);
    player.click(IDC_ACCEPT);
    ASSERT_NO_FATAL_FAILURE(fireUntilDecided(player));
    ASSERT_TRUE(waitUntil([&] {
        return !boxes.seen.empty() && player.state().phase == GamePhase::Placing
            && computerEnd.size() == 1;
    }));

    const auto count = [&](const QStringList& texts, const QString& start) {
        return static_cast<int>(std::ranges::count_if(
            texts, [&](const QString& line) { return line.startsWith(start); }));
    };
    const int myHits = count(lines, QStringLiteral("<CPU> "));
    const int theirHits = count(lines, QStringLiteral("<ADV> "));
    EXPECT_EQ(myHits, 16);
    EXPECT_EQ(theirHits, 25); // the whole fleet
    EXPECT_EQ(count(lines, QStringLiteral("<ADV> Afundou um barco de 1 cano.")), 4);
    EXPECT_EQ(count(lines, QStringLiteral("<ADV> Afundou um barco de ")), 11); // every ship
    EXPECT_EQ(count(lines, QStringLiteral("<ADV> Acertou num barco de 1 cano.")), 0);
    ASSERT_EQ(computerEnd[0][0].toBool(), true);
    EXPECT_EQ(computerEnd[0][1].toInt(), 41);
    // Both declared at once and both fired first: the player's opening shot gave the turn up,
    // but the computer answered it, so it counts among the player's shots.
    const QStringList end { QStringLiteral("Partida 1 perdida. [ Eu=0 , Adv=1 ]"),
        QStringLiteral("Tiros: eu 40 (16 acertos), adversário 41 (25 acertos)."),
        QStringLiteral("Nova partida.") };
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.mid(lines.size() - 3).join(u'|').toStdString(), end.join(u'|').toStdString());
    EXPECT_EQ(count(lines, QStringLiteral("Partida ")), 1);
    EXPECT_EQ(count(lines, QStringLiteral("Nova partida.")), 1);
    EXPECT_EQ(player.title(), "Redefinir novo jogo... [ Eu=0 , Adv=1 ]");

    // The computer's log lines, without their time: its hits, and no chat from this side.
    QStringList computerLog;
    for (const QList<QVariant>& line : computerLines) {
        if (line[0].toString().startsWith(u'['))
            computerLog << line[0].toString().mid(11);
    }
    EXPECT_EQ(count(computerLog, QStringLiteral("<CPU> ")), theirHits);
    EXPECT_EQ(count(computerLog, QStringLiteral("<ADV> ")), 0);
    player.click(IDC_CLOSE_COM);
    ASSERT_TRUE(waitUntil([&] { return player.dialog.computerOpponent() == nullptr; }));
}

// "Frota anterior" shows with the generator and can be pressed once a fleet was declared: in
// the next match it puts that fleet back, and "Aceitar" declares it.
TEST(MainDialogTest, TheNextMatchCanUseTheFleetLastDeclared)
{
    QuickClock clock;
    ModalCloser boxes(nullptr);
    Window player;
    player.dialog.canvas().setFrameClock(&clock);
    ASSERT_NO_FATAL_FAILURE(meetTheComputer(player));
    EXPECT_TRUE(player.control(IDC_REPEAT_FLEET)->isVisible());
    EXPECT_EQ(player.control(IDC_REPEAT_FLEET)->geometry(), QRect(422, 179, 75, 23));
    EXPECT_FALSE(player.enabled(IDC_REPEAT_FLEET));
    player.click(IDC_RANDOMIZE);
    player.click(IDC_ACCEPT);
    const Board declared = player.dialog.gameSession().engine().ownBoard();
    EXPECT_FALSE(player.control(IDC_REPEAT_FLEET)->isVisible());
    ASSERT_NO_FATAL_FAILURE(fireUntilDecided(player));
    ASSERT_TRUE(waitUntil([&] { return player.state().phase == GamePhase::Placing; }));

    EXPECT_TRUE(player.control(IDC_REPEAT_FLEET)->isVisible());
    EXPECT_FALSE(player.enabled(IDC_ACCEPT));
    ASSERT_TRUE(player.enabled(IDC_REPEAT_FLEET));
    player.click(IDC_REPEAT_FLEET);
    EXPECT_EQ(player.dialog.gameSession().engine().ownBoard().cells, declared.cells);
    ASSERT_TRUE(player.enabled(IDC_ACCEPT));
    player.click(IDC_ACCEPT);
    EXPECT_NE(player.state().phase, GamePhase::Placing);
    player.click(IDC_CLOSE_COM);
    ASSERT_TRUE(waitUntil([&] { return player.dialog.computerOpponent() == nullptr; }));
}

// The computer's menu offers three levels and keeps the one chosen; its game borrows the
// connection controls and gives them back as they were. When it wins, its ships that no shot
// found show on the enemy grid in a grey of their own while the box is open, beside the
// player's hit and water; the next match covers them again.
TEST(MainDialogTest, TheComputerPlaysAtTheLevelChosenAndShowsItsFleetAtTheEnd)
{
    QuickClock clock;
    Window player;
    player.dialog.canvas().setFrameClock(&clock);
    player.click(IDC_MODE_CLIENT);
    player.type(IDC_PORT, QStringLiteral("4321"));
    player.type(IDC_ADDRESS, QStringLiteral("192.0.2.9"));
    player.dialog.computerSettings().delayMs = 0;
    player.dialog.computerSettings().seed = 3;
    const auto levels = [&] {
        const QPoint between(292, 300);
        QTest::mouseMove(&player.dialog.canvas(), between);
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, between, player.dialog.mapToGlobal(between));
        QApplication::sendEvent(&player.dialog.canvas(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || menu->actions().size() < 2) {
            ADD_FAILURE() << "no menu";
            return std::pair { QList<QAction*> {}, std::string() };
        }
        EXPECT_EQ(menu->actions()[1]->text().toStdString(), "Jogar contra o computador");
        const QList<QAction*> choices = menu->actions()[1]->menu()->actions();
        menu->close();
        std::string shown;
        for (QAction* choice : choices)
            shown += choice->text().toStdString() + (choice->isChecked() ? "* " : " ");
        return std::pair { choices, shown };
    };
    auto [choices, shown] = levels();
    EXPECT_EQ(shown, "Fácil Normal Difícil* ");
    choices[1]->trigger();
    ASSERT_TRUE(waitUntil([&] { return player.state().phase == GamePhase::Placing; }));
    EXPECT_EQ(
        player.text(IDC_PORT), std::to_string(player.dialog.computerOpponent()->listeningPort()));
    // The computer declares at once; the player declares after it and is fired at first, so
    // that no two readies cross and the player's opening shot is answered as any other.
    ASSERT_TRUE(waitUntil([&] { return !player.state().isShooter; }));
    player.click(IDC_RANDOMIZE);
    player.click(IDC_ACCEPT);
    ASSERT_TRUE(waitUntil([&] { return player.state().phase == GamePhase::Playing; }));

    // One hit on the computer's fleet, then only water, then hits short of the last cell: the
    // computer wins.
    const Board fleet = player.dialog.computerOpponent()->declaredFleet();
    std::vector<int> aims;
    int firstShip = 0;
    while (fleet.cells[firstShip] != CellShip)
        ++firstShip;
    aims.push_back(firstShip);
    for (const bool ship : { false, true })
        for (int cell = 0; cell < 100; ++cell)
            if ((fleet.cells[cell] == CellShip) == ship && cell != firstShip)
                aims.push_back(cell);
    aims.pop_back();
    const MatchEngine& engine = player.dialog.gameSession().engine();
    for (std::size_t next = 0; !engine.matchOver();) {
        ASSERT_TRUE(waitUntil([&] { return engine.mayFire() || engine.matchOver(); }));
        if (engine.matchOver())
            break;
        ASSERT_LT(next, aims.size());
        const QPoint point(310 + 12 + 25 * (aims[next] / 10), 22 + 25 * (aims[next] % 10));
        ++next;
        QTest::mouseMove(&player.dialog.canvas(), point);
        QTest::mouseClick(&player.dialog.canvas(), Qt::LeftButton, {}, point);
    }
    const QList<QMessageBox*> boxes = player.dialog.findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(
        boxes[0]->text().toStdString(), "O outro jogador ganhou. Carrege em OK para novo jogo.");
    // The box stands below both grids (their frames end at the page's row 291), over the
    // controls, and the status says the result while it is open.
    EXPECT_GT(
        boxes[0]->frameGeometry().top(), player.dialog.page()->mapToGlobal(QPoint(0, 291)).y());
    EXPECT_LT(
        boxes[0]->frameGeometry().top(), player.dialog.page()->mapToGlobal(QPoint(0, 489)).y());
    EXPECT_EQ(player.text(IDC_STATUS), "O outro jogador ganhou. Carrege em OK para novo jogo.");
    player.dialog.statusChanged({ TextId::OpponentReady, {} });
    EXPECT_EQ(player.text(IDC_STATUS), "O outro jogador ganhou. Carrege em OK para novo jogo.");
    // The colours of the grid's cells, each brightened by its column plus five times its row.
    const auto colour = [](int red, int green, int blue, int cell) {
        const int shade = cell / 10 + 5 * (cell % 10);
        return qRgb(
            std::min(red + shade, 255), std::min(green + shade, 255), std::min(blue + shade, 255));
    };
    const auto at = [&](int cell) {
        return logicalPixel(
            player.dialog.canvas().image(), 310 + 5 + 25 * (cell / 10), 10 + 5 + 25 * (cell % 10));
    };
    int water = 0;
    while (engine.enemyBoard().cells[water] != CellWater)
        ++water;
    int lastShip = 99; // never fired at
    while (fleet.cells[lastShip] != CellShip)
        --lastShip;
    EXPECT_EQ(at(firstShip), colour(200, 50, 50, firstShip)) << "the hit";
    EXPECT_EQ(at(water), colour(50, 50, 255, water)) << "the water";
    EXPECT_EQ(at(lastShip), colour(150, 150, 160, lastShip)) << "a ship no shot found";
    saveScreenshot(player.dialog, "revealed");

    boxes[0]->button(QMessageBox::Ok)->click();
    ASSERT_EQ(player.state().phase, GamePhase::Placing);
    EXPECT_NE(player.text(IDC_STATUS), "O outro jogador ganhou. Carrege em OK para novo jogo.");
    EXPECT_EQ(at(lastShip), player.dialog.canvas().coverColour().rgb());
    player.click(IDC_CLOSE_COM);
    ASSERT_TRUE(waitUntil([&] { return player.text(IDC_PORT) == "4321"; }));
    EXPECT_EQ(player.text(IDC_ADDRESS), "192.0.2.9");
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(player.control(IDC_MODE_CLIENT))->isChecked());
    EXPECT_EQ(player.text(IDC_LISTEN_CONNECT), "Conectar");
    EXPECT_EQ(levels().second, "Fácil Normal* Difícil ");
}

// A peer that floods the window: forty readies in one write ring the bell once; ten shots at
// a ship in one write are three answers and one flash that plays on while the next messages
// are handled; twenty claims of a win are one box and one win.
TEST(MainDialogTest, AFloodNeitherFreezesNorBuriesTheWindow)
{
    HandClock clock; // the flash goes no further than the test ticks it
    Window window;
    window.dialog.canvas().setFrameClock(&clock);
    window.type(IDC_PORT, QStringLiteral("0"));
    window.click(IDC_LISTEN_CONNECT);
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, window.dialog.gameSession().listeningPort());
    ASSERT_TRUE(waitUntil([&] { return window.state().phase == GamePhase::Placing; }));
    const MatchEngine& engine = window.dialog.gameSession().engine();
    const auto logged = [&](const QString& line) {
        peer.write(QByteArray("USER_MSG:") + line.toUtf8());
        return waitUntil([&] {
            return window.log()->count() > 0 && window.log()->item(0)->text().endsWith(line);
        });
    };
    peer.write("$READY$");
    ASSERT_TRUE(waitUntil([&] { return !window.state().isShooter; }));
    window.click(IDC_RANDOMIZE);
    window.click(IDC_ACCEPT);
    ASSERT_EQ(window.state().phase, GamePhase::Playing);
    QByteArray answers;
    ASSERT_TRUE(waitUntil([&] { return (answers += peer.readAll()) == "$READY$ &RANDOMIZED"; }));
    answers.clear();

    // The bell's time stands still, an hour after its last ring, until the test moves it.
    auto now = std::chrono::steady_clock::now() + std::chrono::hours(1);
    std::vector<Beep> rings;
    window.dialog.bell().setClock([&now] { return now; });
    window.dialog.bell().setSound([&rings](Beep beep) { rings.push_back(beep); });
    peer.write(QByteArray("$READY$").repeated(40));
    ASSERT_TRUE(logged(QStringLiteral("depois dos prontos")));
    EXPECT_EQ(rings, std::vector { Beep::Default });
    now += Bell::gap;
    peer.write("$READY$");
    ASSERT_TRUE(waitUntil([&] { return rings.size() == 2; }));
    EXPECT_EQ(rings[1], Beep::Default);

    int ship = 0;
    while (engine.ownBoard().cells[ship] != CellShip)
        ++ship;
    const std::string shot = protocol::formShot(ship / 10, ship % 10);
    QByteArray flood;
    for (int copy = 0; copy < 10; ++copy)
        flood += QByteArray::fromStdString(shot);
    peer.write(flood);
    ASSERT_TRUE(logged(QStringLiteral("depois dos tiros")));
    EXPECT_TRUE(window.dialog.canvas().animating()) << "the flash plays on meanwhile";
    EXPECT_EQ(clock.runOut(), 51) << "one flash, started again by each hit";
    ASSERT_TRUE(waitUntil([&] { return (answers += peer.readAll()).size() >= 18; }));
    EXPECT_EQ(answers.size(), 18) << answers.toStdString(); // three six-byte replies

    QByteArray claims;
    for (int claim = 0; claim < 20; ++claim)
        claims += "$WINGAME$";
    peer.write(claims);
    ASSERT_TRUE(logged(QStringLiteral("depois das vitorias")));
    const QList<QMessageBox*> boxes = window.dialog.findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->text().toStdString(), "Ganhou o jogo. Carrege em OK para novo.");
    boxes[0]->button(QMessageBox::Ok)->click();
    EXPECT_EQ(window.title(), "Redefinir novo jogo... [ Eu=1 , Adv=0 ]");
    EXPECT_EQ(window.state().phase, GamePhase::Placing);

    // A result seen after the opponent has left counts, and starts no match.
    window.click(IDC_RANDOMIZE);
    window.click(IDC_ACCEPT);
    peer.write("$READY$$WINGAME$");
    ASSERT_TRUE(waitUntil([&] { return window.dialog.findChild<QMessageBox*>() != nullptr; }));
    peer.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return window.enabled(IDC_LISTEN_CONNECT); }));
    window.dialog.findChild<QMessageBox*>()->button(QMessageBox::Ok)->click();
    EXPECT_EQ(window.title(), "TCP/IP - Quorvel Naval [ Eu=2 , Adv=0 ]");
}

// The panel beneath the generator takes the "Menu" colour of the player's colour scheme. It
// covers the enemy grid from the fleet's declaration until play, and again when the opponent
// leaves in the middle of a match, over the grids left as they were (drawn again, their
// labels would blend darker); the generator is back, disabled, and the fleet declared can
// still be hidden.
TEST(MainDialogTest, TheCoverPanelIsTheMenuColourAndReturnsWhenTheOpponentLeaves)
{
    QTemporaryDir home;
    const QByteArray userHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(colourSchemePath()).path()));
    QFile scheme(colourSchemePath());
    ASSERT_TRUE(scheme.open(QIODevice::WriteOnly));
    scheme.write("[Control Panel\\Colors]\nInactiveTitle=0 100 200\nMenu=12 34 56\n"
                 "Window=200 100 0\n");
    scheme.close();
    Window window;
    if (userHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", userHome);
    const auto panel = [&] { return logicalPixel(window.dialog.canvas().image(), 400, 150); };
    const QRgb menu = qRgb(12, 34, 56);

    window.type(IDC_PORT, QStringLiteral("0"));
    window.click(IDC_LISTEN_CONNECT);
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, window.dialog.gameSession().listeningPort());
    ASSERT_TRUE(waitUntil([&] { return window.state().phase == GamePhase::Placing; }));
    window.click(IDC_RANDOMIZE);
    window.click(IDC_ACCEPT);
    EXPECT_EQ(panel(), menu);
    peer.write("$READY$");
    ASSERT_TRUE(waitUntil([&] { return window.state().phase == GamePhase::Playing; }));
    EXPECT_EQ(panel(), qRgb(48, 48, 128)) << "the enemy grid's open sea at (3, 5)";
    const auto rectangles
        = [&] { return window.dialog.canvas().drawingSurface().rectangleCount(); };
    const long drawn = rectangles();
    peer.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return window.state().phase == GamePhase::Idle; }));
    EXPECT_EQ(panel(), menu);
    EXPECT_EQ(rectangles() - drawn, 1) << "the panel alone";
    // The connection gone, the welcome takes the generator's place over the panel.
    EXPECT_FALSE(window.control(IDC_GENERATOR_GROUP)->isVisible());
    EXPECT_TRUE(window.dialog.findChild<WelcomePanel*>()->isVisible());
    EXPECT_FALSE(window.enabled(IDC_RANDOMIZE) || window.enabled(IDC_ACCEPT));
    EXPECT_TRUE(window.enabled(IDC_HIDE_SHOW));
    EXPECT_EQ(window.text(IDC_HIDE_SHOW), "Ocultar");
}

TEST(MainDialogTest, EscapeEndsTheWindow)
{
    MainDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &dialog, Qt::Key_Escape);
    });
    QTimer::singleShot(5000, &dialog, [&] { dialog.done(-1); }); // should Escape be lost
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

} // namespace
