#pragma once

#include <functional>
#include <string>
#include <string_view>

class Board;

enum class BeepKind {
    Default, // the desktop's default sound
    Error, // a refused shot
    Exclamation, // a refused fleet, nothing to remove
};

enum class BoxIcon {
    None,
    Error,
    Exclamation,
};

// What the controls hold, as the connection handlers read them.
struct ControlValues {
    int socketMode = 0; // 0 server, 1 client
    int port = 0;
    std::string address;
    // False when the port text was refused (the user was told, and the focus is on the port
    // field); the port and address above then keep the values they had before.
    bool valid = true;
};

// Everything the match engine and the connection handlers show goes through these
// requests, so they run with no window at all: the game window carries them out, the
// headless opponent prints them, tests record them. Texts are UTF-8.
class WindowRequests {
public:
    virtual ~WindowRequests() = default;

    virtual void setStatusText(std::string_view text) = 0;
    virtual ControlValues saveControls() = 0;
    // Base title followed by the score " [ Eu=%d , Adv=%d ]".
    virtual void updateTitle(std::string_view baseTitle, int myWins, int peerWins) = 0;

    // The port a listen on port 0 was given by the system, shown where the player typed 0.
    virtual void showListeningPort(int port) = 0;

    virtual void enableConnectionControls(bool enable) = 0;
    virtual void enableChatControls(bool enable) = 0;
    virtual void disableGeneratorControls() = 0;
    virtual void enableControl(int id, bool enable) = 0;
    virtual void setButtonCaption(int id, std::string_view caption) = 0;

    // A time-stamped line at the top of the event log.
    virtual void addLogLine(std::string_view line) = 0;

    // Drawing. The board arguments are the engine's own boards, read while drawing.
    virtual void drawBoard(const Board& board) = 0;
    virtual void eraseCursor(const Board& board) = 0;
    virtual void drawCursor(const Board& board) = 0;
    // Both grids and their cursors, as the engine's state now stands.
    virtual void repaint() = 0;
    // The animations play on after the request returns; meanwhile the left grid is left to
    // them, and at their end it is drawn as the engine's state then stands.
    // The left grid fades towards grey and back while the caption flashes; a flash that
    // comes while one plays starts it again.
    virtual void flashHit(const Board& shown) = 0;
    // The hide/show transition: the left grid fades out, then the other board fades in. A
    // transition takes the place of whatever animation was playing.
    virtual void fadeOut(const Board& leaving) = 0;
    virtual void fadeIn(const Board& arriving) = 0;
    // The generator buttons over the right grid's area, with the cover panel beneath them.
    virtual void showGenerator(bool show) = 0;

    // A box with one OK button, modal to the window. It opens and returns at once: the
    // window goes on handling clicks and messages, and calls `closed` (if any) once the
    // user has closed the box.
    using BoxClosed = std::function<void()>;
    virtual void messageBox(
        std::string_view text, std::string_view caption, BoxIcon icon, BoxClosed closed)
        = 0;
    virtual void beep(BeepKind kind) = 0;
};
