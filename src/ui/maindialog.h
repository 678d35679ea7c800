#pragma once

#include "bell.h"

#include "about/systemcolours.h"
#include "match/windowrequests.h"
#include "net/computeropponent.h"
#include "net/gamesession.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <map>
#include <optional>
#include <string>

class EventLog;
class GameCanvas;
class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

// The game window: one fixed-size dialog with the two grids (drawn by the canvas beneath
// the controls), the connection controls, the chat line, the event log and the status
// text. It holds no game rules: it forwards the player's clicks to the connection layer and
// the match engine, and carries out what they ask of the window.
class MainDialog : public QDialog, public WindowRequests {
    Q_OBJECT

public:
    explicit MainDialog(QWidget* parent = nullptr);
    ~MainDialog() override;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // The window menu's commands: ids 16 to 31 open the About box, others do nothing.
    void onSysCommand(int id);
    // Starts a computer opponent in this process, listening on a free loopback port, and
    // connects to it as a client would. Only while no connection is open or being made.
    void playAgainstComputer(const ComputerOpponent::Settings& settings);
    // Sets the mode (0 server, 1 client), port and address in the controls and presses
    // "Escutar" or "Conectar", as the player would.
    void startConnection(int mode, int port, const QString& address);

    // What "Jogar contra o computador" plays with; its menu sets the level, which is kept
    // until the program ends.
    ComputerOpponent::Settings& computerSettings() { return computerGame; }
    ComputerOpponent* computerOpponent() const { return computer; }

    GameSession& gameSession() { return session; }
    GameCanvas& canvas() { return *gameCanvas; }
    Bell& bell() { return desktopBell; }
    QWidget* control(int id) const; // nullptr for an id the dialog does not have

    // WindowRequests
    void setStatusText(std::string_view text) override;
    ControlValues saveControls() override;
    void updateTitle(std::string_view baseTitle, int myWins, int peerWins) override;
    void showListeningPort(int port) override;
    void enableConnectionControls(bool enable) override;
    void enableChatControls(bool enable) override;
    void disableGeneratorControls() override;
    void enableControl(int id, bool enable) override;
    void setButtonCaption(int id, std::string_view caption) override;
    void addLogLine(std::string_view line) override;
    void drawBoard(const Board& board) override;
    void eraseCursor(const Board& board) override;
    void drawCursor(const Board& board) override;
    void repaint() override;
    void flashHit(const Board& shown) override;
    void fadeOut(const Board& leaving) override;
    void fadeIn(const Board& arriving) override;
    void showGenerator(bool show) override;
    void messageBox(
        std::string_view text, std::string_view caption, BoxIcon icon, BoxClosed closed) override;
    void beep(BeepKind kind) override;

    // The event log keeps this many entries, newest first.
    static constexpr int LogEntries = 25;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createControls();
    void onInitDialog();
    // Copies the fields into the controls (load) or the controls into the fields (save);
    // a save stops at a port text that is not a whole number in 0..65535 and returns false.
    bool updateData(bool save);
    void onSendChat();
    void fillContextMenu(QMenu& menu);
    void passFocusOn();
    void restorePlayerControls();

    // Fields exchanged with the controls. The chat text is read and cleared by onSendChat
    // alone, so a load never throws away a line the player is typing.
    int socketMode = -1; // 0 server, 1 client
    int port = 0;
    QString address;
    QString statusText;
    // The last status text and log line asked for, as the engine gave them, and that log
    // line as shown: a flood repeats its texts, and a status set again or a log line repeated
    // is not looked up again.
    std::string statusSource;
    std::string logSource;
    QString logText;

    SystemColours systemColours {};
    Bell desktopBell;

    // Destroyed before the base class deletes the controls, so whatever the sockets report
    // while they close still finds them.
    GameSession session;
    GameCanvas* gameCanvas = nullptr; // child widget
    QPointer<ComputerOpponent> computer; // child; deletes itself when its connection ends
    ComputerOpponent::Settings computerGame;
    // The mode, port and address the player had set before a game against the computer
    // borrowed the controls; put back when that game ends.
    struct PlayerControls {
        int mode = 0;
        QString port;
        QString address;
    };
    std::optional<PlayerControls> playerControls;

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
    QGroupBox* generatorGroup = nullptr;

    std::map<int, QWidget*> controls; // by control id
};
