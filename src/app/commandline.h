#pragma once

#include "ai/shotplanner.h"
#include "net/gametexts.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// A program's command line, read from a table of its options: each option with its help, the
// name of its value and the check of that value, listed in the order of the help. The game
// and quorvel-bot share this reader and so the checks of a port, a number, a level, a
// language and an address, the help, the version and the refusal of a mistake: the
// complaint after the program's name and "Experimente 'PROGRAM --help'." on standard error,
// with status 2.
//
// The texts of a table are marked with QT_TRANSLATE_NOOP in the table's translation context
// and come out in the language of the translator installed; the reader's own texts are in
// the context CommandLine.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    static constexpr int BadArgument = 2;

    // What an option takes, and so how its value is checked.
    enum class Kind {
        Switch, // no value
        Help, // Qt's -h, --help and --help-all, in Qt's own words
        Version, // Qt's -v and --version: the program's name and version
        Port, // a port number from `low` to 65535
        Number, // a whole number from `low` to `high`
        Level, // easy, normal or hard
        Language, // pt or en
        Address, // HOST, HOST:PORT, [IPv6] or [IPv6]:PORT, a port from 1
    };

    struct Option {
        const char* name = nullptr; // without the dashes
        Kind kind = Kind::Switch;
        const char* help = nullptr;
        const char* valueName = nullptr;
        // A value a Number, Level or Language refuses, %1 the value. The other kinds say it
        // in the reader's words.
        const char* complaint = nullptr;
        qint64 low = 0; // of a Port or a Number
        qint64 high = 0; // of a Number
        const char* absent = nullptr; // the value when the option is not given
        const char* bare = nullptr; // the value when it is given with none after it
    };
    // Qt's own options, as entries of a table.
    static constexpr Option helpOption() { return { .name = "help", .kind = Kind::Help }; }
    static constexpr Option versionOption() { return { .name = "version", .kind = Kind::Version }; }
    // The version both programs print, the project's.
    static QString programVersion();

    // Options that do not go together, each rule with its complaint.
    struct Rule {
        enum class Kind {
            Exclusive, // no two of the options
            Requires, // the first only with the second
        };
        Kind kind = Kind::Exclusive;
        std::array<const char*, 3> options {}; // unused ones null
        const char* complaint = nullptr;
    };

    struct Table {
        const char* program = nullptr; // its name, before a complaint
        const char* context = nullptr; // the translation context of the texts below
        const char* description = nullptr;
        std::span<const Option> options;
        std::span<const Rule> rules;
        bool once = false; // an option given twice is a mistake; otherwise the last counts
    };

    // A host, without brackets, and the port that came with it.
    struct Address {
        QString host;
        std::optional<std::uint16_t> port;
    };

    // The values of a command line that passed every check, by option name. Each is the
    // value given, or the option's `absent` one.
    class Values {
    public:
        bool isSet(std::string_view name) const;
        std::uint16_t port(std::string_view name) const;
        qint64 number(std::string_view name) const;
        PlannerLevel level(std::string_view name) const;
        std::optional<Language> language(std::string_view name) const; // none when not given
        Address address(std::string_view name) const;

    private:
        friend class CommandLine;
        struct Value {
            const Option* option;
            bool set;
            QString text;
        };
        const Value& find(std::string_view name) const;
        std::vector<Value> values;
    };

    // What reading came to: values to start with, or a text to print and the status to exit
    // with (help and version with 0 on standard output, a mistake with 2 on standard error).
    struct Reading {
        std::optional<Values> values;
        QString text;
        int exitCode = 0;
    };

    // Reads the arguments, the program's name first: Qt's complaints, help and version, an
    // argument that is no option's value, the rules in the table's order, options given twice
    // if the table says so, and then each value in the table's order, the first mistake
    // refused. The values point into the table, which outlives them.
    static Reading read(const Table& table, QStringList arguments);
};

// What a program makes of its command line: the options to start with, or a text to print
// and the status to exit with, as CommandLine::Reading says.
template <typename Options> struct ProgramCommandLine {
    std::optional<Options> options;
    QString text;
    int exitCode = 0;
};
