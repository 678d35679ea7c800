#pragma once

#include <QListWidget>

class QToolButton;

// The event log: time-stamped lines, the newest on top, no more than a set number kept. The
// view stays on the newest line as lines arrive, unless the player has scrolled down to
// older ones: then it stays on what they are reading, and a button over the top of the log
// counts the lines that came meanwhile and takes the view back up. A line too wide for the
// log shows its whole text as a tooltip. A disabled log cannot be scrolled, so it goes back to
// its newest line.
//
// Each line added is one line of the log: its control characters are shown as visible
// marks (ControlMarks::Pictures). A line longer than ShownCharacters is cut, with an
// ellipsis; its tooltip holds it up to TooltipCharacters, in rows of TooltipRowCharacters.
class EventLog : public QListWidget {
    Q_OBJECT

public:
    static constexpr qsizetype ShownCharacters = 200;
    static constexpr qsizetype TooltipCharacters = 1024;
    static constexpr qsizetype TooltipRowCharacters = 100;

    EventLog(int keptLines, QWidget* parent);

    void addLine(const QString& line);
    void trim(); // down to the lines kept
    int unseenLines() const { return unseen; }
    QToolButton* newLinesButton() const { return newLines; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showTop();
    void placeNewLinesButton();

    int kept;
    int unseen = 0; // lines added since the player scrolled away from the top
    QToolButton* newLines; // child
};
