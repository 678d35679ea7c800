#include "ui/maindialog.h"

#include "ui/gamecanvas.h"

#include "match/controlids.h"
#include "match/protocol.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// What a modal window showed before the player closed it.
struct Shown {
    QString className;
    QString caption;
    QString text; // message boxes only
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Closes every modal window that opens above the one under test, as a player would: a
// message box with its OK button, any other dialog with Escape. It remembers what it saw.
class ModalCloser {
public:
    explicit ModalCloser(const QWidget* underTest = nullptr)
        : ignored(underTest)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { closeModal(); });
        timer.start(5);
    }

    std::vector<Shown> seen;

private:
    void closeModal()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == ignored || !modal->isVisible())
            return;
        Shown shown;
        shown.className = QString::fromLatin1(modal->metaObject()->className());
        shown.caption = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown.text = box->text();
            shown.icon = box->icon();
            seen.push_back(shown);
            box->button(QMessageBox::Ok)->click();
            return;
        }
        seen.push_back(shown);
        QTest::keyClick(modal, Qt::Key_Escape);
    }

    const QWidget* ignored;
    QTimer timer;
};

// The game window on screen, and the player's hands on it.
class Window {
public:
    Window()
    {
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    template <typename Widget = QWidget> Widget* control(int id)
    {
        auto* widget = qobject_cast<Widget*>(dialog.control(id));
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }

    QString caption(int id) { return control<QAbstractButton>(id)->text(); }
    QString text(int id) { return control<QLineEdit>(id)->text(); }
    bool enabled(int id) { return control(id)->isEnabled(); }
    QString status() { return control<QLabel>(IDC_STATUS)->text(); }
    QListWidget* log() { return control<QListWidget>(IDC_LOG); }

    void click(int id) { QTest::mouseClick(control(id), Qt::LeftButton); }

    // Clicks into a field, selects what it holds and types over it.
    void type(int id, const QString& text)
    {
        auto* field = control<QLineEdit>(id);
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    void pressEnter(int id)
    {
        QTest::mouseClick(control(id), Qt::LeftButton);
        QTest::keyClick(control(id), Qt::Key_Return);
    }

    MainDialog dialog;
};

std::string text(const QString& string) { return string.toStdString(); }

TEST(MainDialogTest, StartsDisconnectedInServerModeWithTheTemplateLayout)
{
    Window window;
    EXPECT_EQ(text(window.dialog.windowTitle()), "TCP/IP - Quorvel Naval");
    EXPECT_EQ(window.dialog.size(), QSize(579, 489));
    EXPECT_TRUE(window.control<QRadioButton>(IDC_MODE_SERVER)->isChecked());
    EXPECT_FALSE(window.control<QRadioButton>(IDC_MODE_CLIENT)->isChecked());
    EXPECT_EQ(text(window.text(IDC_PORT)), "4000");
    EXPECT_EQ(text(window.text(IDC_ADDRESS)), "127.0.0.1");
    EXPECT_EQ(text(window.caption(IDC_LISTEN_CONNECT)), "Escutar");
    EXPECT_EQ(text(window.status()), "Verifique as ligações\ncliente-server.");
    EXPECT_EQ(window.log()->count(), 0);
    EXPECT_FALSE(window.dialog.windowIcon().pixmap(32, 32).isNull());

    struct Control {
        int id;
        QString caption;
        QRect rect; // in pixels
        bool enabled;
    };
    const Control table[] = {
        { IDC_MODE_GROUP, QStringLiteral("Socket Modo"), { 306, 418, 80, 60 }, true },
        { IDC_MODE_SERVER, QStringLiteral("Servidor"), { 315, 434, 65, 16 }, true },
        { IDC_MODE_CLIENT, QStringLiteral("Cliente"), { 315, 455, 63, 16 }, true },
        { IDC_LISTEN_CONNECT, QStringLiteral("Escutar"), { 308, 387, 75, 23 }, true },
        { IDC_CLOSE_COM, QStringLiteral("Fechar COM"), { 308, 356, 75, 23 }, false },
        { IDC_CHAT_EDIT, QString(), { 11, 325, 243, 21 }, false },
        { IDC_SEND, QStringLiteral("Enviar"), { 257, 325, 44, 23 }, false },
        { IDC_ADDRESS_LABEL, QStringLiteral("IP socket"), { 395, 450, 45, 16 }, true },
        { IDC_ADDRESS_GROUP, QStringLiteral("Endereço de TCP/IP"), { 390, 403, 179, 75 }, true },
        { IDC_PORT, QString(), { 441, 421, 65, 20 }, true },
        { IDC_PORT_LABEL, QStringLiteral("Porto"), { 405, 426, 30, 15 }, true },
        { IDC_LOG, QString(), { 11, 353, 290, 125 }, false },
        { IDC_ADDRESS, QString(), { 441, 447, 117, 20 }, false },
        { IDC_STATUS, QString(), { 398, 345, 161, 46 }, true },
        { IDC_HIDE_SHOW, QStringLiteral("Ocultar"), { 308, 325, 75, 23 }, false },
        { IDC_ACCEPT, QStringLiteral("Aceitar"), { 423, 119, 75, 23 }, false },
        { IDC_RANDOMIZE, QStringLiteral("Randomize"), { 422, 76, 75, 23 }, false },
        { IDC_GENERATOR_GROUP, QStringLiteral("Gerador de jogo"), { 390, 44, 141, 127 }, false },
    };
    std::vector<QWidget*> templateOrder;
    for (const Control& expected : table) {
        SCOPED_TRACE(expected.id);
        QWidget* widget = window.control(expected.id);
        ASSERT_NE(widget, nullptr);
        templateOrder.push_back(widget);
        EXPECT_EQ(widget->geometry(), expected.rect);
        EXPECT_EQ(widget->isEnabled(), expected.enabled);
        EXPECT_TRUE(widget->isVisible());
        // Every caption fits its rectangle in the font and the style the window uses.
        const QFontMetrics metrics(widget->font());
        const QStyle* style = widget->style();
        int room = expected.rect.width();
        if (qobject_cast<QPushButton*>(widget)) {
            room -= 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
        } else if (qobject_cast<QRadioButton*>(widget)) {
            room -= style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget)
                + style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget);
        } else if (qobject_cast<QGroupBox*>(widget)) {
            room -= 16;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), expected.caption);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(group->title(), expected.caption);
        } else if (auto* label = qobject_cast<QLabel*>(widget);
                   label && expected.id != IDC_STATUS) {
            EXPECT_EQ(label->text(), expected.caption);
        }
        EXPECT_LE(metrics.horizontalAdvance(expected.caption), room);
    }

    // The player tabs through the controls in the template's order.
    std::vector<QWidget*> tabOrder;
    QWidget* next = &window.dialog;
    for (int step = 0; step < 200; ++step) {
        next = next->nextInFocusChain();
        if (next == &window.dialog)
            break;
        if (std::find(templateOrder.begin(), templateOrder.end(), next) != templateOrder.end()
            && next->focusPolicy() & Qt::TabFocus)
            tabOrder.push_back(next);
    }
    std::vector<QWidget*> focusable;
    for (QWidget* widget : templateOrder) {
        if (widget->focusPolicy() & Qt::TabFocus)
            focusable.push_back(widget);
    }
    EXPECT_EQ(tabOrder, focusable);

    // The grids lie beneath every control: a click on a control reaches the control.
    const QPoint onLog = window.control(IDC_LOG)->geometry().center();
    EXPECT_TRUE(window.control(IDC_LOG)->isAncestorOf(window.dialog.childAt(onLog)));
    const QPoint onRandomize = window.control(IDC_RANDOMIZE)->geometry().center();
    EXPECT_EQ(window.dialog.childAt(onRandomize), window.control(IDC_RANDOMIZE));
}

TEST(MainDialogTest, ModeRadiosSwitchTheButtonCaptionAndTheAddressField)
{
    Window window;
    window.click(IDC_MODE_CLIENT);
    EXPECT_TRUE(window.control<QRadioButton>(IDC_MODE_CLIENT)->isChecked());
    EXPECT_EQ(text(window.caption(IDC_LISTEN_CONNECT)), "Conectar");
    EXPECT_TRUE(window.enabled(IDC_ADDRESS));
    EXPECT_EQ(window.dialog.saveControls().socketMode, 1);

    window.click(IDC_MODE_SERVER);
    EXPECT_TRUE(window.control<QRadioButton>(IDC_MODE_SERVER)->isChecked());
    EXPECT_EQ(text(window.caption(IDC_LISTEN_CONNECT)), "Escutar");
    EXPECT_FALSE(window.enabled(IDC_ADDRESS));
    EXPECT_EQ(window.dialog.saveControls().socketMode, 0);
}

TEST(MainDialogTest, PortMustBeAWholeNumberFrom0To65535)
{
    struct Case {
        QString port;
        bool valid;
    };
    const Case cases[] = {
        { QStringLiteral("65535"), true },
        { QStringLiteral("0"), true },
        { QStringLiteral("65536"), false },
        { QStringLiteral("-1"), false },
        { QStringLiteral("abc"), false },
        { QString(), false },
        { QStringLiteral("40 00"), false },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(text(test.port));
        Window window;
        window.click(IDC_MODE_CLIENT);
        window.type(IDC_ADDRESS, QStringLiteral("192.0.2.7"));
        window.type(IDC_PORT, test.port);

        ModalCloser closer(&window.dialog);
        const ControlValues values = window.dialog.saveControls();
        EXPECT_EQ(values.valid, test.valid);
        EXPECT_EQ(values.socketMode, 1);
        if (test.valid) {
            EXPECT_EQ(values.port, test.port.toInt());
            EXPECT_EQ(values.address, "192.0.2.7");
            EXPECT_TRUE(closer.seen.empty());
            continue;
        }
        // The rest of the exchange is abandoned: the port and the address keep the values
        // of the last good exchange.
        EXPECT_EQ(values.port, 4000);
        EXPECT_EQ(values.address, "127.0.0.1");
        ASSERT_EQ(closer.seen.size(), 1u);
        EXPECT_EQ(text(closer.seen[0].text), "Introduza um número inteiro entre 0 e 65535.");
        EXPECT_EQ(closer.seen[0].icon, QMessageBox::Warning);
        EXPECT_EQ(window.dialog.focusWidget(), window.control(IDC_PORT));
    }
}

TEST(MainDialogTest, RefusedPortStopsListening)
{
    Window window;
    window.type(IDC_PORT, QStringLiteral("70000"));
    ModalCloser closer(&window.dialog);
    window.click(IDC_LISTEN_CONNECT);
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_EQ(text(closer.seen[0].text), "Introduza um número inteiro entre 0 e 65535.");
    EXPECT_EQ(text(window.dialog.windowTitle()), "TCP/IP - Quorvel Naval");
    EXPECT_EQ(window.dialog.gameSession().listeningPort(), 0);
    EXPECT_TRUE(window.enabled(IDC_LISTEN_CONNECT));
    EXPECT_TRUE(window.enabled(IDC_PORT));
    EXPECT_FALSE(window.enabled(IDC_CLOSE_COM));
}

TEST(MainDialogTest, TitleCarriesTheScore)
{
    Window window;
    window.dialog.updateTitle("Redefinir novo jogo...", 0, 3);
    EXPECT_EQ(text(window.dialog.windowTitle()), "Redefinir novo jogo... [ Eu=0 , Adv=3 ]");

    // Listening starts the score afresh; port 0 lets the system pick a free port.
    window.type(IDC_PORT, QStringLiteral("0"));
    window.click(IDC_LISTEN_CONNECT);
    EXPECT_EQ(text(window.dialog.windowTitle()),
        "Quorvel Naval - Programa TCP/IP SERVIDOR [ Eu=0 , Adv=0 ]");
    EXPECT_NE(window.dialog.gameSession().listeningPort(), 0);
    EXPECT_EQ(text(window.status()), "A esperar pela conecção...");
    EXPECT_FALSE(window.enabled(IDC_LISTEN_CONNECT));
}

TEST(MainDialogTest, ControlRequestsActByControlId)
{
    Window window;
    window.dialog.enableConnectionControls(false);
    for (int id : { IDC_LISTEN_CONNECT, IDC_ADDRESS, IDC_PORT, IDC_MODE_CLIENT, IDC_MODE_SERVER,
             IDC_MODE_GROUP, IDC_ADDRESS_GROUP, IDC_PORT_LABEL, IDC_ADDRESS_LABEL })
        EXPECT_FALSE(window.enabled(id)) << id;
    // The address field comes back with the group even in server mode.
    window.dialog.enableConnectionControls(true);
    EXPECT_TRUE(window.control<QRadioButton>(IDC_MODE_SERVER)->isChecked());
    for (int id : { IDC_LISTEN_CONNECT, IDC_ADDRESS, IDC_PORT, IDC_MODE_CLIENT, IDC_MODE_SERVER,
             IDC_MODE_GROUP, IDC_ADDRESS_GROUP, IDC_PORT_LABEL, IDC_ADDRESS_LABEL })
        EXPECT_TRUE(window.enabled(id)) << id;
    EXPECT_FALSE(window.enabled(IDC_CLOSE_COM));

    window.dialog.enableChatControls(true);
    for (int id : { IDC_SEND, IDC_CHAT_EDIT, IDC_LOG })
        EXPECT_TRUE(window.enabled(id)) << id;
    window.dialog.enableControl(IDC_SEND, false);
    EXPECT_FALSE(window.enabled(IDC_SEND));
    EXPECT_TRUE(window.enabled(IDC_CHAT_EDIT));

    for (int id : { IDC_ACCEPT, IDC_RANDOMIZE, IDC_GENERATOR_GROUP })
        window.dialog.enableControl(id, true);
    window.dialog.disableGeneratorControls();
    for (int id : { IDC_ACCEPT, IDC_RANDOMIZE, IDC_GENERATOR_GROUP })
        EXPECT_FALSE(window.enabled(id)) << id;

    window.dialog.setButtonCaption(IDC_HIDE_SHOW, "Mostrar");
    EXPECT_EQ(text(window.caption(IDC_HIDE_SHOW)), "Mostrar");
    window.dialog.setStatusText("O outro jogador fechou a conecção\nJogo terminado.");
    EXPECT_EQ(text(window.status()), "O outro jogador fechou a conecção\nJogo terminado.");

    window.dialog.showGenerator(false);
    for (int id : { IDC_ACCEPT, IDC_RANDOMIZE, IDC_GENERATOR_GROUP })
        EXPECT_FALSE(window.control(id)->isVisible()) << id;
    window.dialog.showGenerator(true);
    for (int id : { IDC_ACCEPT, IDC_RANDOMIZE, IDC_GENERATOR_GROUP })
        EXPECT_TRUE(window.control(id)->isVisible()) << id;
}

TEST(MainDialogTest, LogKeepsTheNewest25LinesOnTopWithTheirTime)
{
    Window window;
    for (int line = 1; line <= 26; ++line)
        window.dialog.addLogLine("linha " + std::to_string(line));
    QListWidget* log = window.log();
    ASSERT_EQ(log->count(), MainDialog::LogEntries);
    const QRegularExpression entry(
        QStringLiteral("^\\[([01]\\d|2[0-3]):[0-5]\\d:[0-5]\\d\\] (.*)$"));
    for (int row = 0; row < log->count(); ++row) {
        const QRegularExpressionMatch match = entry.match(log->item(row)->text());
        ASSERT_TRUE(match.hasMatch()) << text(log->item(row)->text());
        EXPECT_EQ(text(match.captured(2)), "linha " + std::to_string(26 - row));
    }
    // The log is disabled until a connection is made, and shows its lines all the same.
    EXPECT_FALSE(log->isEnabled());
    EXPECT_TRUE(log->item(0)->flags() & Qt::ItemIsEnabled);
    EXPECT_EQ(log->selectionMode(), QAbstractItemView::NoSelection);
}

// A peer that the window connects to as a client: a plain socket, so the test sees the
// very bytes the window sends.
class RawPeer {
public:
    RawPeer() { EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0)); }

    // Switches the window to client mode and connects it here.
    void connect(Window& window)
    {
        window.click(IDC_MODE_CLIENT);
        window.type(IDC_PORT, QString::number(server.serverPort()));
        window.click(IDC_LISTEN_CONNECT);
        ASSERT_TRUE(QTest::qWaitFor([this] { return server.hasPendingConnections(); }, 5000));
        socket = server.nextPendingConnection();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.enabled(IDC_CHAT_EDIT); }, 5000));
    }

    // Waits for at least this many bytes and answers every byte that came.
    QByteArray read(qsizetype count)
    {
        QByteArray bytes;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                bytes += socket->readAll();
                return bytes.size() >= count;
            },
            5000));
        return bytes + socket->readAll();
    }

    QTcpServer server;
    QTcpSocket* socket = nullptr; // owned by the server
};

TEST(MainDialogTest, ChatLinesGoOnTheWireAndIntoTheLog)
{
    Window window;
    RawPeer peer;
    ASSERT_NO_FATAL_FAILURE(peer.connect(window));
    EXPECT_EQ(text(window.dialog.windowTitle()),
        "Quorvel Naval - Programa TCP/IP CLIENTE [ Eu=0 , Adv=0 ]");
    const int logLines = window.log()->count();

    window.type(IDC_CHAT_EDIT, QStringLiteral("ola"));
    window.pressEnter(IDC_CHAT_EDIT);
    EXPECT_EQ(peer.read(12), QByteArray("USER_MSG:ola"));
    ASSERT_EQ(window.log()->count(), logLines + 1);
    EXPECT_TRUE(window.log()->item(0)->text().endsWith(QStringLiteral("] <EU> ola")));
    EXPECT_TRUE(window.text(IDC_CHAT_EDIT).isEmpty());

    // Spaces are a line like any other; an empty field sends and logs nothing.
    window.type(IDC_CHAT_EDIT, QStringLiteral("   "));
    window.pressEnter(IDC_CHAT_EDIT);
    EXPECT_EQ(peer.read(12), QByteArray("USER_MSG:   "));
    window.pressEnter(IDC_CHAT_EDIT);
    window.click(IDC_SEND);
    window.type(IDC_CHAT_EDIT, QStringLiteral("x"));
    window.click(IDC_SEND);
    EXPECT_EQ(peer.read(10), QByteArray("USER_MSG:x"));
    EXPECT_EQ(window.log()->count(), logLines + 3);

    // The opponent's line arrives while the player is typing; the typing survives.
    window.type(IDC_CHAT_EDIT, QStringLiteral("a meio"));
    peer.socket->write("USER_MSG:boa sorte");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.log()->count() == logLines + 4; }, 5000));
    EXPECT_TRUE(window.log()->item(0)->text().endsWith(QStringLiteral("] <ADV> boa sorte")));
    EXPECT_EQ(text(window.text(IDC_CHAT_EDIT)), "a meio");

    // A line never outgrows one read of the other side.
    window.type(IDC_CHAT_EDIT, QString(1100, QLatin1Char('z')));
    EXPECT_EQ(window.text(IDC_CHAT_EDIT).size(), qsizetype(protocol::MaxChatBytes));
    window.pressEnter(IDC_CHAT_EDIT);
    EXPECT_EQ(peer.read(1024), QByteArray("USER_MSG:") + QByteArray(1015, 'z'));
}

TEST(MainDialogTest, ClientThatCannotConnectIsToldSo)
{
    quint16 deadPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        deadPort = probe.serverPort();
    }
    Window window;
    window.click(IDC_MODE_CLIENT);
    window.type(IDC_PORT, QString::number(deadPort));
    ModalCloser closer(&window.dialog);
    window.click(IDC_LISTEN_CONNECT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !closer.seen.empty(); }, 5000));
    EXPECT_EQ(text(closer.seen[0].caption), "Conecção TCP/IP");
    EXPECT_EQ(
        text(closer.seen[0].text), "Impossível fazer conecção ao servidor/porto\nExpecificado.");
    EXPECT_EQ(closer.seen[0].icon, QMessageBox::Critical);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return text(window.status()) == "Reveja as definições de rede."; }, 5000));
    EXPECT_TRUE(window.enabled(IDC_LISTEN_CONNECT));
    EXPECT_TRUE(window.enabled(IDC_ADDRESS));
    EXPECT_FALSE(window.enabled(IDC_CLOSE_COM));
    EXPECT_FALSE(window.enabled(IDC_CHAT_EDIT));
}

// Lets the animations run without waiting between frames.
class CountingClock : public FrameClock {
public:
    void frameShown(int) override { ++frames; }
    void flipCaption(QWidget&) override { }
    int frames = 0;
};

// Two windows on one machine, as two players would use them: one listens, the other
// connects, both build a fleet with the generator, chat, and the client leaves.
TEST(MainDialogTest, TwoWindowsMeetPlayAndPart)
{
    // The server's player keeps a colour scheme whose menu colour is red.
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    {
        QDir().mkpath(QFileInfo(colourSchemePath()).path());
        QFile scheme(colourSchemePath());
        ASSERT_TRUE(scheme.open(QIODevice::WriteOnly));
        scheme.write("[Control Panel\\Colors]\nMenu=255 0 0\n");
    }
    Window server;
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_EQ(server.dialog.canvas().coverColour(), QColor(255, 0, 0));

    server.type(IDC_PORT, QStringLiteral("0"));
    server.click(IDC_LISTEN_CONNECT);
    const quint16 port = server.dialog.gameSession().listeningPort();
    ASSERT_NE(port, 0);

    Window client;
    client.click(IDC_MODE_CLIENT);
    client.type(IDC_PORT, QString::number(port));
    client.click(IDC_LISTEN_CONNECT);
    for (Window* side : { &server, &client }) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return side->enabled(IDC_CHAT_EDIT); }, 5000));
        EXPECT_EQ(text(side->status()), "Criar tabuleiro.");
        EXPECT_TRUE(side->enabled(IDC_RANDOMIZE));
        EXPECT_FALSE(side->enabled(IDC_ACCEPT));
        EXPECT_FALSE(side->enabled(IDC_LISTEN_CONNECT));
    }
    EXPECT_TRUE(client.enabled(IDC_CLOSE_COM));
    EXPECT_FALSE(server.enabled(IDC_CLOSE_COM));

    for (Window* side : { &server, &client }) {
        side->click(IDC_RANDOMIZE);
        ASSERT_TRUE(side->enabled(IDC_ACCEPT));
        side->click(IDC_ACCEPT);
        EXPECT_FALSE(side->control(IDC_GENERATOR_GROUP)->isVisible());
        EXPECT_TRUE(side->enabled(IDC_HIDE_SHOW));
        // Until play starts, the panel in the menu colour stays where the generator was.
        if (side == &server) {
            EXPECT_EQ(server.dialog.canvas().image().pixelColor(330, 240), QColor(255, 0, 0));
        }
    }
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return server.dialog.gameSession().engine().matchState().phase == GamePhase::Playing
                && client.dialog.gameSession().engine().matchState().phase == GamePhase::Playing;
        },
        5000));

    // Hiding the fleet fades the left grid out and the cover in, and back.
    CountingClock clock;
    server.dialog.canvas().setFrameClock(&clock);
    server.click(IDC_HIDE_SHOW);
    EXPECT_EQ(text(server.caption(IDC_HIDE_SHOW)), "Mostrar");
    server.click(IDC_HIDE_SHOW);
    EXPECT_EQ(text(server.caption(IDC_HIDE_SHOW)), "Ocultar");
    EXPECT_EQ(clock.frames, 2 * (24 + 23));
    server.dialog.canvas().setFrameClock(nullptr);

    client.type(IDC_CHAT_EDIT, QStringLiteral("boa sorte"));
    client.click(IDC_SEND);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return server.log()->count() > 0
                && server.log()->item(0)->text().endsWith(QStringLiteral("] <ADV> boa sorte"));
        },
        5000));

    client.click(IDC_CLOSE_COM);
    EXPECT_EQ(text(client.status()),
        "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return text(server.status()) == "O outro jogador fechou a conecção\nJogo terminado.";
        },
        5000));
    EXPECT_EQ(text(server.dialog.windowTitle()), "TCP/IP - Quorvel Naval [ Eu=0 , Adv=0 ]");
    for (Window* side : { &server, &client }) {
        EXPECT_TRUE(side->enabled(IDC_LISTEN_CONNECT));
        EXPECT_FALSE(side->enabled(IDC_CHAT_EDIT));
        EXPECT_FALSE(side->enabled(IDC_LOG));
        EXPECT_TRUE(side->control(IDC_GENERATOR_GROUP)->isVisible());
        EXPECT_FALSE(side->enabled(IDC_GENERATOR_GROUP));
    }
}

TEST(MainDialogTest, WindowCommandsOpenTheAboutBox)
{
    Window window;
    struct Case {
        int id;
        bool opens;
    };
    for (const Case& test : { Case { 16, true }, Case { 17, true }, Case { 31, true },
             Case { 15, false }, Case { 32, false }, Case { 0xF060, false } }) {
        SCOPED_TRACE(test.id);
        ModalCloser closer(&window.dialog);
        window.dialog.onSysCommand(test.id);
        ASSERT_EQ(closer.seen.size(), test.opens ? 1u : 0u);
        if (test.opens) {
            EXPECT_EQ(text(closer.seen[0].className), "AboutDialog");
        }
    }

    // F1 opens it too.
    {
        window.dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window.dialog));
        ModalCloser closer(&window.dialog);
        QTest::keyClick(window.control(IDC_PORT), Qt::Key_F1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !closer.seen.empty(); }, 5000));
        EXPECT_EQ(text(closer.seen[0].className), "AboutDialog");
    }

    // And so does the window's menu, on a right click between the grids.
    {
        ModalCloser closer(&window.dialog);
        bool offered = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            for (QAction* action : menu->actions()) {
                if (action->text() == QStringLiteral("Acerca do quorvel...")) {
                    offered = true;
                    menu->close();
                    action->trigger();
                    return;
                }
            }
            menu->close();
        });
        const QPoint between(292, 300);
        QWidget* target = window.dialog.childAt(between);
        ASSERT_EQ(target, &window.dialog.canvas());
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, between, window.dialog.mapToGlobal(between));
        QApplication::sendEvent(target, &event);
        EXPECT_TRUE(offered);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !closer.seen.empty(); }, 5000));
        EXPECT_EQ(text(closer.seen[0].className), "AboutDialog");
    }
}

TEST(MainDialogTest, EscapeEndsTheWindow)
{
    MainDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &dialog, Qt::Key_Escape);
    });
    // Should Escape be lost, this ends the run instead of leaving it hanging.
    QTimer::singleShot(10000, &dialog, [&] { dialog.done(-1); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
