#pragma once

#include <QApplication>

// The application object: names the program, gives every window its icon and runs the
// game window.
class GameApp : public QApplication {
    Q_OBJECT

public:
    GameApp(int& argc, char** argv);

    // Runs the game window modally; the program ends when the player closes it. Returns
    // false, as there is nothing left for an event loop to do.
    bool initInstance();
};
