#pragma once

#include "ai/shotplanner.h"

#include <QList>
#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;

// What the right half of the window says while there is no connection: how to start a game. Against
// the computer, one click per level; against a friend, listen and give the address, or connect to
// theirs with the connection controls below. It draws no background: the cover panel beneath shows
// through.
class WelcomePanel : public QWidget {
    Q_OBJECT

public:
    explicit WelcomePanel(QWidget* parent);

    // Its buttons in the order Tab reaches them.
    QList<QWidget*> tabStops() const;

Q_SIGNALS:
    void levelChosen(PlannerLevel level);
    void listenChosen();
    void connectChosen();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // A line of the panel, top to bottom: a text, or a row of buttons from the left.
    struct Line {
        int spaceAbove = 0; // more than the usual gap
        QLabel* text = nullptr; // wrapped at the panel's width
        QList<QPushButton*> buttons;
    };
    void addText(QLabel* text, int spaceAbove = 0);
    void addButtons(QList<QPushButton*> buttons);
    void placeLines();

    std::vector<Line> lines;
    QPushButton* levelButtons[3] = {};
    QPushButton* listenButton = nullptr;
    QPushButton* connectButton = nullptr;
};
