// The window's menus, the question before a match is thrown away, and what the window
// remembers between runs.

#include "maindialog.h"

#include "controlids.h"
#include "helpwindow.h"
#include "levelnames.h"
#include "recordwindow.h"
#include "windowplacement.h"

#include "about/aboutdialog.h"
#include "net/gametexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringListModel>

namespace {

// A small arrow pointing down, in the text's colour: drawn here, as looking one up in the
// desktop's icon theme took longer than the rest of the window's start.
QIcon dropArrow()
{
    QPixmap arrow(9, 9);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QApplication::palette().color(QPalette::WindowText));
    painter.drawPolygon(QPolygonF({ QPointF(0.5, 2.5), QPointF(8.5, 2.5), QPointF(4.5, 7) }));
    return QIcon(arrow);
}

} // namespace

void MainDialog::createMenus()
{
    menuBar = new QMenuBar(this);
    // The menu stays in the window, whose layout is made for it, even where the desktop
    // gathers the menus of its windows in a bar of its own.
    menuBar->setNativeMenuBar(false);
    // The window's shortcuts work wherever the focus is in it, the menus closed.
    const auto shortcut
        = [this](QAction* action, QKeySequence::StandardKey key, const QKeySequence& otherwise) {
              action->setShortcuts(key);
              // A platform with no binding of its own (as with no desktop at all) gets the usual.
              if (action->shortcuts().isEmpty())
                  action->setShortcut(otherwise);
              addAction(action);
          };

    QMenu* game = menuBar->addMenu(tr("&Jogo"));
    computerMenu = game->addMenu(tr("Jogar contra o &computador"));
    levelChoice = addLevelActions(*computerMenu);
    game->addSeparator();
    listenAction
        = game->addAction(tr("&Escutar como servidor"), this, [this] { startAsPlayer(0); });
    connectAction
        = game->addAction(tr("C&onectar ao servidor"), this, [this] { startAsPlayer(1); });
    closeAction = game->addAction(tr("&Fechar a ligação"), this, [this] { session.close(); });
    game->addSeparator();
    game->addAction(tr("&Registo de partidas..."), this, &MainDialog::showRecord);
    game->addSeparator();
    QAction* quit = game->addAction(tr("&Sair"), this, &QWidget::close);
    quit->setMenuRole(QAction::QuitRole);
    shortcut(quit, QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* options = menuBar->addMenu(tr("&Definições"));
    soundsAction = options->addAction(tr("&Sons"));
    soundsAction->setCheckable(true);
    soundsAction->setChecked(desktopBell.soundsOn());
    connect(soundsAction, &QAction::toggled, this, [this](bool on) {
        desktopBell.setSoundsOn(on);
        if (remembered)
            remembered->setSounds(on);
    });
    QMenu* languages = options->addMenu(tr("&Língua"));
    languageChoice = new QActionGroup(languages);
    // Each language by its own name, whatever the window speaks.
    for (const auto& [language, name] : { std::pair { Language::Portuguese, "Português" },
             std::pair { Language::English, "English" } }) {
        QAction* action = languages->addAction(QString::fromUtf8(name));
        action->setCheckable(true);
        action->setChecked(language == shownLanguage);
        action->setData(static_cast<int>(language));
        languageChoice->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] { chooseLanguage(language); });
    }

    QMenu* help = menuBar->addMenu(tr("Aj&uda"));
    QAction* howToPlay = help->addAction(tr("&Como jogar"), this, &MainDialog::showHelp);
    shortcut(howToPlay, QKeySequence::HelpContents, QKeySequence(Qt::Key_F1));
    help->addAction(tr("&Acerca do quorvel..."), this, [this] { onSysCommand(IDM_ABOUTBOX); });
}

// One action a level; the one last played is ticked.
QActionGroup* MainDialog::addLevelActions(QMenu& menu)
{
    auto* choice = new QActionGroup(&menu);
    for (PlannerLevel level : { PlannerLevel::Easy, PlannerLevel::Normal, PlannerLevel::Hard }) {
        QAction* action = menu.addAction(levelName(level));
        action->setCheckable(true);
        action->setChecked(level == computerGame.level);
        choice->addAction(action);
        connect(action, &QAction::triggered, this, [this, level] { playComputerAt(level); });
    }
    // The tick follows a level chosen from the other menu.
    connect(&menu, &QMenu::aboutToShow, this, [this, choice] {
        choice->actions()[static_cast<int>(computerGame.level)]->setChecked(true);
    });
    return choice;
}

void MainDialog::playComputerAt(PlannerLevel level)
{
    computerGame.level = level;
    if (remembered)
        remembered->setLevel(level);
    playAgainstComputer(computerGame);
}

// "Escutar" or "Conectar" from the menu: the mode set, the button pressed, with the port
// and address the fields hold.
void MainDialog::startAsPlayer(int mode)
{
    if (!listenConnectButton->isEnabled())
        return;
    if (QAbstractButton* button = modeButtons->button(mode))
        button->setChecked(true);
    onModeChanged();
    onListenConnect();
}

void MainDialog::askForAddress()
{
    if (!listenConnectButton->isEnabled())
        return;
    clientRadio->setChecked(true);
    onModeChanged();
    addressEdit->setFocus(Qt::OtherFocusReason);
    addressEdit->selectAll();
}

void MainDialog::showLanguage(Language language)
{
    shownLanguage = language;
    for (QAction* action : languageChoice->actions())
        action->setChecked(action->data().toInt() == static_cast<int>(language));
}

// The window speaks the new language from the next start: a text already shown does not
// change under the player's eyes.
void MainDialog::chooseLanguage(Language language)
{
    if (remembered)
        remembered->setLanguage(language);
    if (language != shownLanguage)
        openBox(tr("A língua escolhida fala-se a partir da próxima vez que abrir o jogo."),
            programName(), QMessageBox::Information);
}

void MainDialog::showHelp() { HelpWindow::present(helpWindow, systemColours, this); }

void MainDialog::showRecord() { RecordWindow::present(recordWindow, *record, this); }

// The values of a game the player started: the computer's games and the command line's
// borrow the controls and leave no trace.
void MainDialog::rememberPlayerControls()
{
    if (remembered == nullptr || playerControls)
        return;
    remembered->setMode(socketMode);
    remembered->setPort(port);
    if (socketMode == 1) {
        remembered->addAddress(address);
        offerAddresses();
    }
}

// The address field offers the addresses connected to before, latest first, as the player
// types or from its arrow, once there are any.
void MainDialog::offerAddresses()
{
    if (remembered == nullptr || remembered->values().addresses.isEmpty())
        return;
    if (recentAddresses == nullptr) {
        recentAddresses = new QStringListModel(this);
        auto* completer = new QCompleter(recentAddresses, this);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        addressEdit->setCompleter(completer);
        QAction* drop = addressEdit->addAction(dropArrow(), QLineEdit::TrailingPosition);
        drop->setToolTip(tr("Endereços usados antes"));
        connect(drop, &QAction::triggered, this, [this, completer] {
            completer->setCompletionPrefix(QString());
            completer->complete();
        });
    }
    recentAddresses->setStringList(remembered->values().addresses);
}

// A remembered place is used only if the window's corner still lies on a screen.
void MainDialog::moveOntoScreen(QPoint position)
{
    if (QGuiApplication::screenAt(position + QPoint(8, 8)) != nullptr)
        move(position);
}

// While a match is open Escape does nothing, so that a stray key cannot throw the match and
// the score away.
void MainDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && connection == ConnectionChange::Open) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDialog::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (remembered && isVisible())
        placeSettled->start();
}

// However the window closes (its button, Alt+F4, "Sair", Escape), it ends here: the last
// moment where it stands is known.
void MainDialog::done(int result)
{
    placeSettled->stop();
    rememberPlace();
    QDialog::done(result);
}

void MainDialog::rememberPlace()
{
    if (remembered && isVisible())
        remembered->setPosition(pos());
}

void MainDialog::reject()
{
    if (connection == ConnectionChange::Open && !leaving) {
        askBeforeLeaving();
        return;
    }
    QDialog::reject();
}

// Staying is the default: Enter or Escape in the question keep the game.
void MainDialog::askBeforeLeaving()
{
    if (leaveQuestion && leaveQuestion->isVisible()) {
        leaveQuestion->raise();
        return;
    }
    leaveQuestion = askFirst(this, Qt::WindowModal, programName(),
        tr("Há um jogo a decorrer. Sair e fechar a ligação?\nO adversário fica a saber que saiu, "
           "e o resultado perde-se."),
        tr("Sair do jogo"), QMessageBox::AcceptRole, tr("Continuar a jogar"), [this] {
            leaving = true;
            close();
        });
}
