#pragma once

#include "bell.h"
#include "gamesettings.h"
#include "matchrecord.h"

#include "about/systemcolours.h"
#include "match/gameevents.h"
#include "net/computeropponent.h"
#include "net/gamesession.h"

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class EventLog;
class FleetGuide;
class GameCanvas;
class HelpWindow;
class RecordWindow;
class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QAction;
class QActionGroup;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QStringListModel;
class WelcomePanel;

// The game window: one fixed-size dialog with a menu bar over a page that holds the two
// grids (drawn by the canvas beneath the controls), the connection controls, the chat line,
// the event log and the status text. It holds no game rules: it forwards the player's clicks to the
// connection layer and the match engine, and listens to the game's events. Which control is
// enabled, what a button says and when the generator shows are its own decisions, from those events
// and the engine's state.
class MainDialog : public QDialog, public GameEvents {
    Q_OBJECT

public:
    // With settings (not owned), the window starts with what they remember and remembers
    // what the player changes; without, it starts as on a first run and remembers nothing.
    // Each match decided counts in the record (not owned); without one, in a record of the
    // window's own that ends with it.
    explicit MainDialog(
        GameSettings* settings = nullptr, MatchRecord* played = nullptr, QWidget* parent = nullptr);
    ~MainDialog() override;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // The window menu's commands: ids 16 to 31 open the About box, others do nothing.
    void onSysCommand(int id);
    // Starts a computer opponent in this process, listening on a free loopback port, and
    // connects to it as a client would. Only while no connection is open or being made.
    void playAgainstComputer(const ComputerOpponent::Settings& settings);
    // Sets the mode (0 server, 1 client), port and address in the controls and presses
    // "Escutar" or "Conectar", as the player would; the values are not remembered, being the
    // command line's or the computer's rather than the player's choice.
    void startConnection(int mode, int port, const QString& address);

    // What "Jogar contra o computador" plays with; its menu sets the level, which is
    // remembered.
    ComputerOpponent::Settings& computerSettings() { return computerGame; }
    ComputerOpponent* computerOpponent() const { return computer; }

    GameSession& gameSession() { return session; }
    MatchRecord& matchRecord() { return *record; }
    GameCanvas& canvas() { return *gameCanvas; }
    FleetGuide& fleetGuide() { return *guide; }
    Bell& bell() { return desktopBell; }
    QWidget* control(int id) const; // nullptr for an id the dialog does not have
    QMenuBar* menus() const { return menuBar; }
    // The page beneath the menu bar, where the grids and the controls are laid out.
    QWidget* page() const { return gamePage; }
    // Ticks the language the window speaks in the settings menu.
    void showLanguage(Language language);

    // GameEvents
    void phaseChanged(GamePhase phase) override;
    void fleetChanged(const FleetChange& change) override;
    void readyDeclared(Side side, bool randomized) override;
    void shotFired(GridCell cell) override;
    void shotRefused(GridCell cell) override;
    void shotAnswered(const Shot& shot) override;
    void matchDecided(bool won, int match) override;
    void scoreChanged(const Score& score) override;
    void fleetShown(bool shown) override;
    void chatLine(Side side, const std::string& text) override;
    void sendFailed(bool chat) override;
    void sendResumed() override;
    void statusChanged(const Text& status) override;
    void logLine(const Text& line) override;
    void connectionChanged(const ConnectionChange& change) override;

    // The event log keeps this many entries, newest first.
    static constexpr int LogEntries = 25;

    // Escape, the close button and "Sair" while a match is open ask first.
    void reject() override;
    // Remembers where the window stood.
    void done(int result) override;
    // A moved window is remembered where it came to rest, a second later: a program ended
    // by a signal, or the power, never reaches done().
    static constexpr int PlaceSettleMs = 1000;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void rememberPlace();
    void createMenus();
    QActionGroup* addLevelActions(QMenu& menu);
    void startAsPlayer(int mode);
    // The computer's level chosen, remembered, and a game against it started.
    void playComputerAt(PlannerLevel level);
    // Client mode, and the address field ready for the friend's address.
    void askForAddress();
    void chooseLanguage(Language language);
    void askBeforeLeaving();
    void showHelp();
    void showRecord();
    // Tells in the log a record file set aside or that cannot be written, at the start and
    // whenever it happens later.
    void reportRecord();
    void rememberPlayerControls();
    void offerAddresses();
    void moveOntoScreen(QPoint position);
    void onInitDialog();
    // Copies the fields into the controls (load) or the controls into the fields (save);
    // a save stops at a port text that is not a whole number in 0..65535 and returns false.
    bool updateData(bool save);
    void onModeChanged();
    void onModeClicked();
    void onListenConnect();
    // What the controls hold, listened on or connected to; remembered if the player chose it.
    void listenOrConnect(bool playersChoice);
    void onSendChat();
    void fillContextMenu(QMenu& menu);
    void passFocusOn();
    void restorePlayerControls();
    void enableControl(int id, bool enable);
    // Every control as the connection and the match now stand.
    void updateControls();
    void setTitle(TextId base);
    void addLogLine(const Text& line);
    // A line of the window's own, already in the player's language.
    void addWindowLine(const QString& line);
    // The engine's status, and under it the rule the fleet being built breaks, if any.
    void showStatus();
    QString opponentsHitText(const Shot& shot) const;
    void logMatchEnd(bool won);
    void countMatch(bool won);
    QMessageBox* openBox(const QString& text, const QString& caption, QMessageBox::Icon icon,
        std::function<void()> closed = {});
    // Below the grids, over the controls: the box speaks of the grids, which stay in view.
    void placeBelowGrids(QWidget* box) const;

    // Fields exchanged with the controls. The chat text is read and cleared by onSendChat
    // alone, so a load never throws away a line the player is typing.
    int socketMode = -1; // 0 server, 1 client
    int port = 0;
    QString address;
    QString statusText;
    // The engine's last status in the player's language, and the rule line shown under it.
    QString engineStatus;
    QString shownRule;
    // The end of a match is on screen: the status shows its result until its box is closed,
    // whatever the engine says meanwhile, and then the engine's last status.
    std::optional<QString> resultShown;
    // The last status text and log line asked for, and that log line as shown: a flood
    // repeats its texts, and a status set again or a log line repeated is not looked up
    // again.
    std::optional<Text> statusSource;
    std::optional<Text> logSource;
    QString logText;

    // The game as the events told it.
    ConnectionChange::State connection = ConnectionChange::Closed;
    GamePhase shownPhase = GamePhase::Idle;
    bool fleetVisible = true; // the left grid shows the own fleet, not its cover
    // The fleet of the match last begun was declared: it can be hidden or shown until the
    // next match begins, the connection gone or not.
    bool fleetDeclared = false;
    // The shots answered in the match under way, and those that found a ship, by side.
    struct MatchShots {
        int mine = 0;
        int myHits = 0;
        int opponents = 0;
        int opponentsHits = 0;
    };
    MatchShots matchShots;
    // A match of this connection has ended: the next one to begin is told in the log.
    bool matchEnded = false;
    // The address field is enabled for a client only; when the connection controls come back
    // at the end of a connection or of an attempt it comes back with them, in either mode,
    // until a mode is chosen again.
    bool addressFollowsMode = true;
    bool chatSendFailed = false; // until the connection can send again
    QPointer<QMessageBox> sendFailureBox; // one at a time
    // What the controls were last set from. A peer's flood repeats its events; the controls
    // are set again only when something they follow has changed.
    struct ControlsSource {
        ConnectionChange::State connection;
        GamePhase phase;
        bool client;
        bool addressFollowsMode;
        bool chatSendFailed;
        bool wholeFleetReady;
        bool fleetRepeatable;
        bool fleetShown;
        bool fleetDeclared;

        bool operator==(const ControlsSource&) const = default;
    };
    std::optional<ControlsSource> controlsSource;

    GameSettings* remembered = nullptr; // not owned
    std::unique_ptr<MatchRecord> ownRecord; // when none was given
    MatchRecord* record = nullptr; // not owned, or ownRecord
    // The player agreed to leave the match: the window closes without asking again.
    bool leaving = false;
    bool iconGiven = false; // after the first frame
    QTimer* placeSettled; // child
    QPointer<QMessageBox> leaveQuestion;
    Language shownLanguage = Language::Portuguese;

    SystemColours systemColours {};
    Bell desktopBell;

    // Destroyed before the base class deletes the controls, so whatever the sockets report
    // while they close still finds them.
    GameSession session;
    GameCanvas* gameCanvas = nullptr; // child widget
    FleetGuide* guide = nullptr; // child widget, over the cover panel while placing
    QPointer<ComputerOpponent> computer; // child; deletes itself when its connection ends
    ComputerOpponent::Settings computerGame;
    // The level the computer of this process plays at, for the record.
    PlannerLevel computerLevel = PlannerLevel::Hard;
    // The mode, port and address the player had set before a game against the computer
    // borrowed the controls; put back when that game ends.
    struct PlayerControls {
        int mode = 0;
        QString port;
        QString address;
    };
    std::optional<PlayerControls> playerControls;

    QWidget* gamePage = nullptr;
    QMenuBar* menuBar = nullptr;
    QMenu* computerMenu = nullptr;
    QAction* listenAction = nullptr;
    QAction* connectAction = nullptr;
    QAction* closeAction = nullptr;
    QAction* soundsAction = nullptr;
    QActionGroup* levelChoice = nullptr; // of the menu bar's computer menu
    QActionGroup* languageChoice = nullptr;
    QPointer<HelpWindow> helpWindow;
    QPointer<RecordWindow> recordWindow;
    QStringListModel* recentAddresses = nullptr; // what the address field offers

    QGroupBox* modeGroup = nullptr;
    QRadioButton* serverRadio = nullptr;
    QRadioButton* clientRadio = nullptr;
    QButtonGroup* modeButtons = nullptr;
    QPushButton* listenConnectButton = nullptr;
    QPushButton* closeComButton = nullptr;
    QLineEdit* chatEdit = nullptr;
    QPushButton* sendButton = nullptr;
    QLabel* addressLabel = nullptr;
    QGroupBox* addressGroup = nullptr;
    QLineEdit* portEdit = nullptr;
    QLabel* portLabel = nullptr;
    EventLog* logList = nullptr;
    QLineEdit* addressEdit = nullptr;
    QGroupBox* statusGroup = nullptr;
    QLabel* statusLabel = nullptr;
    QPushButton* hideShowButton = nullptr;
    QPushButton* acceptButton = nullptr;
    QPushButton* randomizeButton = nullptr;
    QPushButton* repeatFleetButton = nullptr;
    QGroupBox* generatorGroup = nullptr;
    WelcomePanel* welcome = nullptr; // over the cover panel while no game is on

    std::map<int, QWidget*> controls; // by control id
};
