#include "recordingwindow.h"

#include <functional>

void RecordingWindow::record(std::string line) { transcript.push_back(std::move(line)); }

std::string RecordingWindow::boardName(const Board& board) const
{
    const auto found = boardNames.find(&board);
    return found == boardNames.end() ? std::string("board") : found->second;
}

void RecordingWindow::nameBoard(const Board& board, std::string name)
{
    boardNames[&board] = std::move(name);
}

bool RecordingWindow::enabled(int id) const
{
    const auto found = enabledControls.find(id);
    return found != enabledControls.end() && found->second;
}

void RecordingWindow::setStatusText(std::string_view text)
{
    statusText = text;
    record("status " + statusText);
}

ControlValues RecordingWindow::saveControls()
{
    record("save controls");
    return controls;
}

void RecordingWindow::updateTitle(std::string_view baseTitle, int myWins, int peerWins)
{
    title = std::string(baseTitle) + " [ Eu=" + std::to_string(myWins)
        + " , Adv=" + std::to_string(peerWins) + " ]";
    record("title " + title);
}

void RecordingWindow::showListeningPort(int port)
{
    shownPort = port;
    transcript.push_back("port " + std::to_string(port));
}

void RecordingWindow::enableConnectionControls(bool enable)
{
    connectionControls = enable;
    record(std::string("connection controls ") + (enable ? "on" : "off"));
}

void RecordingWindow::enableChatControls(bool enable)
{
    chatControls = enable;
    record(std::string("chat controls ") + (enable ? "on" : "off"));
}

void RecordingWindow::disableGeneratorControls()
{
    enabledControls[1016] = false;
    enabledControls[1017] = false;
    enabledControls[1018] = false;
    record("generator controls off");
}

void RecordingWindow::enableControl(int id, bool enable)
{
    enabledControls[id] = enable;
    record("control " + std::to_string(id) + (enable ? " on" : " off"));
}

void RecordingWindow::setButtonCaption(int id, std::string_view caption)
{
    captions[id] = caption;
    record("caption " + std::to_string(id) + " " + std::string(caption));
}

void RecordingWindow::addLogLine(std::string_view line)
{
    log.emplace_back(line);
    record("log " + std::string(line));
}

void RecordingWindow::drawBoard(const Board& board) { record("draw " + boardName(board)); }

void RecordingWindow::eraseCursor(const Board& board)
{
    record("erase cursor " + boardName(board));
}

void RecordingWindow::drawCursor(const Board& board) { record("draw cursor " + boardName(board)); }

void RecordingWindow::repaint() { record("repaint"); }

void RecordingWindow::flashHit(const Board& shown)
{
    ++flashes;
    record("flash " + boardName(shown));
}

void RecordingWindow::fadeOut(const Board& leaving) { record("fade out " + boardName(leaving)); }

void RecordingWindow::fadeIn(const Board& arriving) { record("fade in " + boardName(arriving)); }

void RecordingWindow::showGenerator(bool show)
{
    generatorShown = show;
    record(std::string("generator ") + (show ? "shown" : "hidden"));
}

void RecordingWindow::messageBox(
    std::string_view text, std::string_view caption, BoxIcon icon, BoxClosed closed)
{
    boxes.push_back(std::string(caption) + ": " + std::string(text));
    const char* iconName = icon == BoxIcon::Error ? "error"
        : icon == BoxIcon::Exclamation            ? "exclamation"
                                                  : "none";
    record("box [" + std::string(caption) + "] " + std::string(text) + " (" + iconName + ")");
    if (holdBoxes) {
        openBoxes.push_back(std::move(closed));
        return;
    }
    if (duringBox)
        duringBox();
    if (closed)
        closed();
}

void RecordingWindow::closeBox()
{
    if (openBoxes.empty())
        return;
    BoxClosed closed = std::move(openBoxes.front());
    openBoxes.pop_front();
    record("box closed");
    if (closed)
        closed();
}

void RecordingWindow::beep(BeepKind kind)
{
    beeps.push_back(kind);
    const char* name = kind == BeepKind::Error ? "error"
        : kind == BeepKind::Exclamation        ? "exclamation"
                                               : "default";
    record(std::string("beep ") + name);
}
