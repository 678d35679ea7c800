#include "ui/maindialog.h"

#include "freeport.h"
#include "screenshot.h"
#include "testclocks.h"
#include "waituntil.h"

#include "net/gametexts.h"
#include "ui/controlids.h"
#include "ui/gamecanvas.h"
#include "ui/gamestyle.h"
#include "ui/gridgeometry.h"
#include "ui/helpwindow.h"
#include "ui/welcomepanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// The menus' entries as the player reads them, "*" after a ticked one and "-" before a
// disabled one.
std::string entries(const QMenu& menu)
{
    std::string shown;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        QString text = action->text().remove(QLatin1Char('&'));
        if (!action->isEnabled())
            text.prepend(QLatin1Char('-'));
        if (action->isChecked())
            text.append(QLatin1Char('*'));
        shown += text.toStdString() + "|";
    }
    return shown;
}

QMenu* menuNamed(MainDialog& dialog, const char* title)
{
    for (QAction* action : dialog.menus()->actions()) {
        if (action->text().remove(QLatin1Char('&')) == QString::fromUtf8(title))
            return action->menu();
    }
    return nullptr;
}

// The entries of a menu bar or a menu, and of the menus under them, that one letter with Alt
// would open along with an entry before them.
std::string sharedMnemonics(const QWidget& menu)
{
    std::string shared;
    QList<QKeySequence> keys;
    for (const QAction* action : menu.actions()) {
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        if (!key.isEmpty() && keys.contains(key))
            shared += action->text().toStdString() + "|";
        keys.append(key);
        if (action->menu())
            shared += sharedMnemonics(*action->menu());
    }
    return shared;
}

QAction* actionNamed(QMenu* menu, const char* text)
{
    for (QAction* action : menu->actions()) {
        if (action->text().remove(QLatin1Char('&')) == QString::fromUtf8(text))
            return action;
    }
    ADD_FAILURE() << "no entry " << text;
    return nullptr;
}

// With QUORVEL_SCREENSHOT_DIR set: the window with its game menu open, and how to play beside
// it, as menus.png.
void saveMenusPicture(MainDialog& dialog, QWidget& help)
{
    const QString directory = screenshotDirectory();
    if (directory.isEmpty())
        return;
    QMenu* game = menuNamed(dialog, "Jogo");
    const QRect item = dialog.menus()->actionGeometry(dialog.menus()->actions().first());
    game->popup(dialog.menus()->mapToGlobal(item.bottomLeft()));
    const QImage window = dialog.grab().toImage();
    const QImage menu = game->grab().toImage();
    const QImage guide = help.grab().toImage();
    game->close();
    QImage picture(window.width() + 12 + guide.width(), std::max(window.height(), guide.height()),
        QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, 0, window);
    painter.drawImage(item.bottomLeft(), menu);
    painter.drawImage(window.width() + 12, 0, guide);
    painter.end();
    picture.save(directory + QStringLiteral("/menus.png"));
}

struct Shown {
    explicit Shown(GameSettings* settings = nullptr)
        : dialog(settings)
    {
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.canvas().setFrameClock(&clock);
    }
    // A game against the computer of this process: a connection open in a moment.
    void playTheComputer()
    {
        ComputerOpponent::Settings computer;
        computer.delayMs = 0;
        dialog.playAgainstComputer(computer);
        ASSERT_TRUE(
            waitUntil([&] { return dialog.gameSession().engine().phase() == GamePhase::Placing; }));
    }
    QMessageBox* question()
    {
        return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    }
    QuickClock clock;
    MainDialog dialog;
};

// The menu bar sits over the page, which keeps its layout; its entries follow the connection.
TEST(DialogMenus, TheMenusOfferWhatTheConnectionAllows)
{
    Shown window;
    const int menuHeight = window.dialog.menus()->height();
    EXPECT_GT(menuHeight, 10);
    EXPECT_EQ(window.dialog.page()->size(), QSize(579, 489));
    EXPECT_EQ(window.dialog.page()->pos(), QPoint(0, menuHeight));
    EXPECT_EQ(window.dialog.size(), QSize(579, 489 + menuHeight));
    QMenu* game = menuNamed(window.dialog, "Jogo");
    QMenu* settings = menuNamed(window.dialog, "Definições");
    QMenu* help = menuNamed(window.dialog, "Ajuda");
    ASSERT_TRUE(game && settings && help);
    EXPECT_EQ(entries(*game),
        "Jogar contra o computador|Escutar como servidor|Conectar ao servidor|-Fechar a "
        "ligação|Registo de partidas...|Sair|");
    EXPECT_EQ(game->actions().last()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(entries(*game->actions().first()->menu()), "Fácil|Normal|Difícil*|");
    EXPECT_EQ(entries(*settings), "Sons*|Língua|");
    EXPECT_EQ(entries(*settings->actions()[1]->menu()), "Português*|English|");
    EXPECT_EQ(entries(*help), "Como jogar|Acerca do quorvel...|");
    EXPECT_EQ(sharedMnemonics(*window.dialog.menus()), "");
    {
        QTranslator* english = installLanguage(*QCoreApplication::instance(), Language::English);
        ASSERT_NE(english, nullptr);
        const MainDialog inEnglish;
        QCoreApplication::removeTranslator(english);
        delete english;
        EXPECT_EQ(sharedMnemonics(*inEnglish.menus()), "");
    }

    window.playTheComputer();
    EXPECT_EQ(entries(*game),
        "-Jogar contra o computador|-Escutar como servidor|-Conectar ao servidor|Fechar a "
        "ligação|Registo de partidas...|Sair|");
    actionNamed(game, "Fechar a ligação")->trigger();
    EXPECT_FALSE(window.dialog.gameSession().peerConnected());
    EXPECT_EQ(entries(*game),
        "Jogar contra o computador|Escutar como servidor|Conectar ao servidor|-Fechar a "
        "ligação|Registo de partidas...|Sair|");

    // "Escutar" from the menu listens as the button would, in server mode.
    window.dialog.control(IDC_MODE_CLIENT)->setProperty("checked", true);
    qobject_cast<QLineEdit*>(window.dialog.control(IDC_PORT))->setText(QStringLiteral("0"));
    actionNamed(game, "Escutar como servidor")->trigger();
    EXPECT_TRUE(window.dialog.control(IDC_MODE_SERVER)->property("checked").toBool());
    EXPECT_NE(window.dialog.gameSession().listeningPort(), 0);
}

// F1 opens how to play, one window however often it is asked for; a right click where the
// enemy grid will be opens the window's menu while no game is on.
TEST(DialogMenus, HelpIsOneKeyAwayAndTheEmptyGridAreaHasTheMenu)
{
    Shown window;
    for (int time = 0; time < 2; ++time) {
        QTest::keyClick(window.dialog.control(IDC_PORT), Qt::Key_F1);
        const QList<HelpWindow*> helps = window.dialog.findChildren<HelpWindow*>();
        ASSERT_EQ(helps.size(), 1);
        EXPECT_TRUE(helps[0]->isVisible());
    }
    saveMenusPicture(window.dialog, *window.dialog.findChild<HelpWindow*>());
    const QPoint enemyGrid(310 + 120, 10 + 120);
    QTest::mouseMove(&window.dialog.canvas(), enemyGrid);
    QContextMenuEvent event(
        QContextMenuEvent::Mouse, enemyGrid, window.dialog.canvas().mapToGlobal(enemyGrid));
    QApplication::sendEvent(&window.dialog.canvas(), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(entries(*menu),
        "Acerca do quorvel...|Jogar contra o computador|Registo de partidas...|Como jogar|");
    menu->close();
}

// With no connection the right half tells how to start, in the generator's place: a level
// plays the computer at once, "Escutar" listens, "Conectar..." asks for the friend's address.
// It goes while a connection is there or awaited, and comes back when it ends.
TEST(DialogMenus, TheWelcomeStartsAGameInOneClick)
{
    Shown window;
    auto* welcome = window.dialog.findChild<WelcomePanel*>();
    ASSERT_NE(welcome, nullptr);
    const auto button = [&](const char* text) {
        for (QPushButton* candidate : welcome->findChildren<QPushButton*>()) {
            if (candidate->text() == QString::fromUtf8(text))
                return candidate;
        }
        ADD_FAILURE() << "no button " << text;
        return static_cast<QPushButton*>(nullptr);
    };
    QWidget* generator = window.dialog.control(IDC_GENERATOR_GROUP);
    const auto shows = [&](bool welcomed) {
        EXPECT_EQ(welcome->isVisible(), welcomed);
        EXPECT_EQ(generator->isVisible(), !welcomed);
    };
    shows(true);
    saveScreenshot(window.dialog, "welcome");
    EXPECT_TRUE(welcome->geometry().contains(enemyGrid.fullArea().center()));
    // Its texts and buttons each stand whole inside the panel, none over another, and every
    // text as high as its lines.
    const QList<QWidget*> parts = welcome->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(parts.size(), 11);
    for (QWidget* part : parts) {
        const QRect placed = part->geometry();
        EXPECT_TRUE(welcome->rect().contains(placed));
        for (QWidget* other : parts)
            EXPECT_TRUE(other == part || !other->geometry().intersects(placed));
        if (auto* text = qobject_cast<QLabel*>(part)) {
            EXPECT_EQ(placed.height(), text->heightForWidth(placed.width()))
                << text->text().toStdString();
        }
    }

    window.dialog.computerSettings().delayMs = 0;
    QTest::mouseClick(button("Normal"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil(
        [&] { return window.dialog.gameSession().engine().phase() == GamePhase::Placing; }));
    EXPECT_EQ(window.dialog.computerSettings().level, PlannerLevel::Normal);
    shows(false);
    QTest::mouseClick(window.dialog.control(IDC_CLOSE_COM), Qt::LeftButton);
    shows(true);

    QTest::mouseClick(button("Conectar..."), Qt::LeftButton);
    EXPECT_TRUE(window.dialog.control(IDC_MODE_CLIENT)->property("checked").toBool());
    EXPECT_EQ(window.dialog.focusWidget(), window.dialog.control(IDC_ADDRESS));
    qobject_cast<QLineEdit*>(window.dialog.control(IDC_PORT))->setText(QStringLiteral("0"));
    QTest::mouseClick(button("Escutar"), Qt::LeftButton);
    EXPECT_TRUE(window.dialog.control(IDC_MODE_SERVER)->property("checked").toBool());
    EXPECT_NE(window.dialog.gameSession().listeningPort(), 0);
    shows(false);
    QTest::mouseClick(window.dialog.control(IDC_CLOSE_COM), Qt::LeftButton);
    shows(true);
}

// With a match open, Escape does nothing and closing asks first, staying the default;
// without one the window closes at once.
TEST(DialogMenus, ClosingAMatchAsksFirst)
{
    {
        Shown window;
        window.dialog.close();
        EXPECT_FALSE(window.dialog.isVisible());
        EXPECT_EQ(window.question(), nullptr);
    }
    Shown window;
    window.playTheComputer();
    QTest::keyClick(window.dialog.focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(window.dialog.isVisible());
    EXPECT_EQ(window.question(), nullptr);

    const auto ask = [&](const std::function<void()>& how) {
        how();
        QMessageBox* question = window.question();
        EXPECT_NE(question, nullptr);
        return question;
    };
    // Enter keeps the game; so does a second Escape, in the question.
    for (Qt::Key key : { Qt::Key_Return, Qt::Key_Escape }) {
        QMessageBox* question = ask([&] { window.dialog.close(); });
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->defaultButton()->text().toStdString(), "Continuar a jogar");
        QTest::keyClick(question, key);
        ASSERT_TRUE(waitUntil([&] { return window.question() == nullptr; }));
        EXPECT_TRUE(window.dialog.isVisible());
        EXPECT_TRUE(window.dialog.gameSession().peerConnected());
    }
    QMessageBox* question = ask(
        [&] { QTest::keyClick(window.dialog.focusWidget(), Qt::Key_Q, Qt::ControlModifier); });
    ASSERT_NE(question, nullptr);
    for (QAbstractButton* button : question->buttons()) {
        if (button->text() == QStringLiteral("Sair do jogo"))
            button->click();
    }
    ASSERT_TRUE(waitUntil([&] { return !window.dialog.isVisible(); }));
}

// A connection the command line asked for is not the player's choice and leaves no trace;
// where the window stood is remembered once it has come to rest, and however it closes,
// Escape too.
TEST(DialogMenus, TheCommandLineLeavesNoTraceAndEscapeKeepsThePlace)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("quorvel-naval.ini"));
    {
        GameSettings settings(path);
        settings.setMode(1);
        settings.setPort(4321);
        settings.addAddress(QStringLiteral("friend.example"));
        Shown window(&settings);
        window.dialog.startConnection(0, 0, QString());
        ASSERT_TRUE(waitUntil([&] { return window.dialog.gameSession().listeningPort() != 0; }));
        window.dialog.gameSession().close();
        window.dialog.move(20, 30); // kept while the window is open, whatever ends it then
        ASSERT_TRUE(
            waitUntil([&] { return GameSettings(path).values().position == QPoint(20, 30); }));
        window.dialog.move(40, 50);
        QTest::keyClick(window.dialog.focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(window.dialog.isVisible());
    }
    const GameSettings settings(path);
    EXPECT_EQ(settings.values().mode, 1);
    EXPECT_EQ(settings.values().port, 4321);
    EXPECT_EQ(settings.values().addresses, QStringList { QStringLiteral("friend.example") });
    EXPECT_EQ(settings.values().position, QPoint(40, 50));
}

// What the player set, chose and where the window stood come back at the next start; a game
// against the computer leaves the connection controls as the player had them.
TEST(DialogMenus, TheNextStartRemembersThePlayersChoices)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("quorvel-naval.ini"));
    const quint16 refused = portNobodyListensOn();
    ASSERT_NE(refused, 0);
    {
        GameSettings settings(path);
        Shown first(&settings);
        EXPECT_TRUE(first.dialog.control(IDC_MODE_SERVER)->property("checked").toBool());
        first.dialog.control(IDC_MODE_CLIENT)->setProperty("checked", true);
        qobject_cast<QLineEdit*>(first.dialog.control(IDC_PORT))->setText(QString::number(refused));
        for (const char* address : { "192.0.2.1", "127.0.0.1" }) {
            qobject_cast<QLineEdit*>(first.dialog.control(IDC_ADDRESS))
                ->setText(QString::fromLatin1(address));
            QTest::mouseClick(first.dialog.control(IDC_LISTEN_CONNECT), Qt::LeftButton);
            first.dialog.gameSession().close();
        }
        QMenu* game = menuNamed(first.dialog, "Jogo");
        game->actions().first()->menu()->actions()[1]->trigger(); // Normal
        ASSERT_TRUE(waitUntil([&] { return first.dialog.gameSession().peerConnected(); }));
        first.dialog.gameSession().close();
        ASSERT_TRUE(waitUntil([&] { return first.dialog.computerOpponent() == nullptr; }));
        menuNamed(first.dialog, "Definições")->actions().first()->trigger(); // sounds off
        first.dialog.move(40, 50);
        first.dialog.close();
    }
    GameSettings settings(path);
    Shown next(&settings);
    EXPECT_TRUE(next.dialog.control(IDC_MODE_CLIENT)->property("checked").toBool());
    EXPECT_EQ(next.dialog.control(IDC_PORT)->property("text").toString(), QString::number(refused));
    auto* address = qobject_cast<QLineEdit*>(next.dialog.control(IDC_ADDRESS));
    EXPECT_EQ(address->text(), QStringLiteral("127.0.0.1"));
    ASSERT_NE(address->completer(), nullptr);
    QStringList offered;
    for (int row = 0; row < address->completer()->model()->rowCount(); ++row)
        offered << address->completer()->model()->index(row, 0).data().toString();
    EXPECT_EQ(offered, QStringList({ "127.0.0.1", "192.0.2.1" }));
    EXPECT_EQ(entries(*menuNamed(next.dialog, "Jogo")->actions().first()->menu()),
        "Fácil|Normal*|Difícil|");
    EXPECT_EQ(entries(*menuNamed(next.dialog, "Definições")), "Sons|Língua|");
    EXPECT_FALSE(next.dialog.bell().soundsOn());
    EXPECT_EQ(next.dialog.pos(), QPoint(40, 50));
}

// In a match Tab goes from the chat line to the grids and on to "Enviar", and back again:
// "Fechar COM" is never one key from the grids.
TEST(DialogMenus, TheGridsComeRightAfterTheChatLine)
{
    Shown window;
    window.playTheComputer();
    QWidget* chat = window.dialog.control(IDC_CHAT_EDIT);
    QWidget* grids = &window.dialog.canvas();
    chat->setFocus();
    QTest::keyClick(chat, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grids);
    QTest::keyClick(grids, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.dialog.control(IDC_SEND));
    grids->setFocus();
    QTest::keyClick(grids, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), chat);
}

} // namespace

namespace {

// The menu bar's overflow button has an arrow of the style's own drawing, and every other icon
// is the desktop style's.
TEST(DialogMenus, TheStyleDrawsTheMenuBarsOverflowArrow)
{
    GameStyle style;
    for (const auto icon : { QStyle::SP_ToolBarHorizontalExtensionButton,
             QStyle::SP_ToolBarVerticalExtensionButton }) {
        const QImage arrow = style.standardIcon(icon).pixmap(16, 16).toImage();
        ASSERT_FALSE(arrow.isNull()) << icon;
        EXPECT_NE(arrow.pixelColor(8, 8).alpha(), 0) << "drawn in the middle: " << icon;
        EXPECT_EQ(arrow.pixelColor(0, 0).alpha(), 0) << "clear at the corner: " << icon;
    }
    EXPECT_FALSE(style.standardIcon(QStyle::SP_MessageBoxWarning).isNull());
}

// A group box's frame, which the style draws from an image of its own reading, is Fusion's
// to the pixel: with a title, without one, and checkable. Over another style, that style's.
TEST(DialogMenus, TheStyleDrawsGroupBoxesAsFusionDoes)
{
    const auto drawn = [](QStyle* style, const QString& title, bool checkable) {
        QGroupBox box(title);
        box.setStyle(style);
        box.setCheckable(checkable);
        box.resize(120, 70);
        return box.grab().toImage();
    };
    for (const QString& base : { QStringLiteral("fusion"), QStringLiteral("windows") }) {
        const std::unique_ptr<QStyle> theirs(QStyleFactory::create(base));
        ASSERT_NE(theirs, nullptr);
        GameStyle ours(QStyleFactory::create(base));
        for (const auto& [title, checkable] :
            { std::pair { QStringLiteral("Situação actual"), false },
                std::pair { QString(), false }, std::pair { QStringLiteral("Porto"), true } }) {
            const QImage expected = drawn(theirs.get(), title, checkable);
            ASSERT_FALSE(expected.isNull());
            EXPECT_EQ(drawn(&ours, title, checkable), expected)
                << base.toStdString() << " " << title.toStdString();
        }
    }
}

// A plain frame (the log's) keeps its four lines at a fractional scale wherever it lies,
// where Fusion loses those of edges that start partway into a device pixel; at a whole scale
// it is Fusion's to the pixel.
TEST(DialogMenus, TheStyleKeepsEveryFrameLineAtFractionalScales)
{
    const QRect places[] = { { 10, 10, 50, 60 }, { 71, 11, 50, 60 }, { 132, 12, 51, 61 } };
    const auto drawn = [&places](QStyle* style, qreal ratio) {
        QWidget parent;
        parent.resize(200, 80);
        for (const QRect& place : places) {
            auto* log = new QListWidget(&parent);
            log->setStyle(style);
            log->setGeometry(place);
        }
        QImage image((QSizeF(parent.size()) * ratio).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::black);
        parent.render(&image);
        return image;
    };
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    GameStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
    EXPECT_EQ(drawn(&ours, 1), drawn(fusion.get(), 1));
    EXPECT_EQ(drawn(&ours, 2), drawn(fusion.get(), 2));

    // Along the middle of each edge, from a logical pixel outside to three inside, some device
    // pixel has the line's colour.
    const QRgb line = QApplication::palette().window().color().darker(140).lighter(108).rgb();
    for (const qreal ratio : { 1.25, 1.5, 1.75 }) {
        const QImage image = drawn(&ours, ratio);
        for (const QRectF place : places) {
            const QPointF middle = place.center();
            const std::pair<QPointF, QPointF> edges[]
                = { { { place.left(), middle.y() }, { 1, 0 } },
                      { { place.right(), middle.y() }, { -1, 0 } },
                      { { middle.x(), place.top() }, { 0, 1 } },
                      { { middle.x(), place.bottom() }, { 0, -1 } } };
            for (const auto& [edge, inwards] : edges) {
                bool crossed = false;
                for (qreal step = -1; step <= 3; step += 0.5)
                    crossed |= image.pixel(((edge + inwards * step) * ratio).toPoint()) == line;
                EXPECT_TRUE(crossed) << "at " << ratio << ", " << edge.x() << "," << edge.y();
            }
        }
    }
}

} // namespace
