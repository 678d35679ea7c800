#pragma once

#include "commandline.h"

#include "ai/shotplanner.h"
#include "net/gametexts.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the game's command line asks for: a window as it always starts, or one that at once
// listens, connects or plays the computer.
struct GameOptions {
    enum class Start { Window, Listen, Connect, Computer };
    Start start = Start::Window;
    std::uint16_t port = 4000; // to listen on or connect to
    QString host; // to connect to, without brackets
    PlannerLevel level = PlannerLevel::Hard;
    std::optional<Language> language; // none: the desktop's
};

// The outcome of reading the command line: options to start with, or a text to print and
// the status to exit with (help and version with 0 on standard output, a mistake with 2 on
// standard error).
using GameCommandLine = ProgramCommandLine<GameOptions>;

// Reads the arguments, the program's name first, and writes its texts in the language of
// the translator installed (Portuguese with none, or with no application object).
GameCommandLine readGameCommandLine(QStringList arguments);
