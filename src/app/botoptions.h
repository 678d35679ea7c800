#pragma once

#include "commandline.h"

#include "net/computeropponent.h"
#include "net/gametexts.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What quorvel-bot's command line asks for: to listen or to connect, and how to play.
struct BotOptions {
    bool listening = true;
    QString host; // to connect to
    std::uint16_t port = 4000; // to listen on or connect to
    ComputerOpponent::Settings settings;
    bool quiet = false;
    std::optional<Language> language; // none: the desktop's
};

// The outcome of reading the command line: options to start with, or a text to print and
// the status to exit with (the help with 0 on standard output, a mistake with 2 on standard
// error).
using BotCommandLine = ProgramCommandLine<BotOptions>;

// Reads the arguments, the program's name first, in the language of the translator
// installed.
BotCommandLine readBotCommandLine(QStringList arguments);
