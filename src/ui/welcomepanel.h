#pragma once

#include "ai/shotplanner.h"

#include <QWidget>

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

private:
    QPushButton* levelButtons[3] = {};
    QPushButton* listenButton = nullptr;
    QPushButton* connectButton = nullptr;
};
