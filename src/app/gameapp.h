#pragma once

#include "gameoptions.h"

#include <QApplication>

class GameSettings;
class MatchRecord;

// The application object: names the program, gives every window its icon and runs the
// game window.
class GameApp : public QApplication {
    Q_OBJECT

public:
    GameApp(int& argc, char** argv);

    // The program's name and version, which the command line shows before the game's
    // application object exists.
    static void nameProgram();

    // Runs the game window modally, started as the options ask, speaking the language
    // installed, remembering in the settings and counting its matches in the record (neither
    // owned); the program ends when the player closes it. Returns false, as there is nothing
    // left for an event loop to do.
    bool initInstance(
        const GameOptions& options, Language language, GameSettings& settings, MatchRecord& record);
};
