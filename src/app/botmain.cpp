// quorvel-bot: a computer opponent that plays Quorvel Naval over TCP with no window. It
// listens or connects like the game, prints one line per event as the window would show it,
// and ends with a summary line.

#include "net/computeropponent.h"
#include "net/gametexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <limits>
#include <optional>

namespace {

constexpr int BadArgument = 2;
constexpr int ConnectionFailure = 1;

void printLine(std::FILE* stream, const QString& line)
{
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// Prints the event lines, each run of identical lines once and then its count, so that an
// opponent that repeats itself cannot fill the screen or a log file.
class EventPrinter {
public:
    ~EventPrinter() { endRun(); }

    void print(const QString& line)
    {
        if (line == last && repeats > 0) {
            ++repeats;
            return;
        }
        endRun();
        printLine(stdout, line);
        last = line;
        repeats = 1;
    }

    void endRun()
    {
        if (repeats > 1)
            printLine(stdout,
                QCoreApplication::translate("quorvel-bot", "(a linha acima %1 vezes seguidas)")
                    .arg(repeats));
        repeats = 0;
    }

private:
    QString last;
    qint64 repeats = 0;
};

// A whole number in [low, high], or nothing.
std::optional<qint64> wholeNumber(const QString& text, qint64 low, qint64 high)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

struct Arguments {
    bool listening = true;
    QString host;
    std::uint16_t port = 4000;
    ComputerOpponent::Settings settings;
    bool quiet = false;
    std::optional<Language> language; // none: the desktop's
};

// The arguments, or an error message.
std::optional<Arguments> readArguments(const QCommandLineParser& parser, QString& error)
{
    Arguments arguments;
    const bool listen = parser.isSet(QStringLiteral("listen"));
    const bool connect = parser.isSet(QStringLiteral("connect"));
    if (listen && connect) {
        error = QStringLiteral("--listen and --connect cannot be used together");
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error
            = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("port")) && !connect) {
        error = QStringLiteral("--port goes with --connect; a server takes its port from --listen");
        return std::nullopt;
    }
    arguments.listening = !connect;
    const QString portText
        = connect ? parser.value(QStringLiteral("port")) : parser.value(QStringLiteral("listen"));
    const auto port = wholeNumber(portText, connect ? 1 : 0, 65535);
    if (!port) {
        error = QStringLiteral("the port must be a number from %1 to 65535, not '%2'")
                    .arg(connect ? 1 : 0)
                    .arg(portText);
        return std::nullopt;
    }
    arguments.port = static_cast<std::uint16_t>(*port);
    if (connect) {
        arguments.host = parser.value(QStringLiteral("connect")).trimmed();
        if (arguments.host.isEmpty()) {
            error = QStringLiteral("--connect needs the address of the game to connect to");
            return std::nullopt;
        }
    }

    const QString levelText = parser.value(QStringLiteral("level"));
    const auto level = plannerLevelFromName(levelText.toStdString());
    if (!level) {
        error = QStringLiteral("--level must be easy, normal or hard, not '%1'").arg(levelText);
        return std::nullopt;
    }
    arguments.settings.level = *level;

    const QString matchesText = parser.value(QStringLiteral("matches"));
    const auto matches = wholeNumber(matchesText, 0, std::numeric_limits<int>::max());
    if (!matches) {
        error = QStringLiteral("--matches must be a number of matches (0 for no limit), not '%1'")
                    .arg(matchesText);
        return std::nullopt;
    }
    arguments.settings.matches = static_cast<int>(*matches);

    const QString delayText = parser.value(QStringLiteral("delay"));
    const auto delay = wholeNumber(delayText, 0, 3'600'000);
    if (!delay) {
        error = QStringLiteral("--delay must be a number of milliseconds from 0 to 3600000, "
                               "not '%1'")
                    .arg(delayText);
        return std::nullopt;
    }
    arguments.settings.delayMs = static_cast<int>(*delay);

    const QString readyWaitText = parser.value(QStringLiteral("ready-wait"));
    const auto readyWait = wholeNumber(readyWaitText, 0, 3600);
    if (!readyWait) {
        error = QStringLiteral("--ready-wait must be a number of seconds from 0 to 3600, not '%1'")
                    .arg(readyWaitText);
        return std::nullopt;
    }
    arguments.settings.readyWaitMs = static_cast<int>(*readyWait) * 1000;

    if (parser.isSet(QStringLiteral("seed"))) {
        const QString seedText = parser.value(QStringLiteral("seed"));
        const auto seed = wholeNumber(seedText, 0, std::numeric_limits<std::uint32_t>::max());
        if (!seed) {
            error = QStringLiteral("--seed must be a number from 0 to 4294967295, not '%1'")
                        .arg(seedText);
            return std::nullopt;
        }
        arguments.settings.seed = static_cast<std::uint32_t>(*seed);
    }
    arguments.quiet = parser.isSet(QStringLiteral("quiet"));
    if (parser.isSet(QStringLiteral("language"))) {
        const QString name = parser.value(QStringLiteral("language"));
        arguments.language = languageFromName(name);
        if (!arguments.language) {
            error = QStringLiteral("--language must be pt or en, not '%1'").arg(name);
            return std::nullopt;
        }
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-bot"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A computer opponent for Quorvel Naval: it plays over TCP like the game, "
                       "with no window, printing one line per event."));
    parser.addHelpOption();
    parser.addOptions({
        { QStringLiteral("listen"),
            QStringLiteral("Listen for the game as the server (the default mode; port 4000, "
                           "0 takes a free port)."),
            QStringLiteral("PORT"), QStringLiteral("4000") },
        { QStringLiteral("connect"), QStringLiteral("Connect as the client to the game at HOST."),
            QStringLiteral("HOST") },
        { QStringLiteral("port"),
            QStringLiteral("The port to connect to, with --connect (default 4000)."),
            QStringLiteral("PORT"), QStringLiteral("4000") },
        { QStringLiteral("level"), QStringLiteral("How it plays: easy, normal or hard (default)."),
            QStringLiteral("LEVEL"), QStringLiteral("hard") },
        { QStringLiteral("matches"),
            QStringLiteral("Stop after N finished matches; 0 (default) plays until the "
                           "connection ends."),
            QStringLiteral("N"), QStringLiteral("0") },
        { QStringLiteral("delay"),
            QStringLiteral("Milliseconds before declaring the fleet and before each shot "
                           "(default 400)."),
            QStringLiteral("MS"), QStringLiteral("400") },
        { QStringLiteral("seed"), QStringLiteral("Seed of the fleets and shots, for a replay."),
            QStringLiteral("N") },
        { QStringLiteral("ready-wait"),
            QStringLiteral("After a match, seconds to wait for the opponent to declare its "
                           "fleet first before declaring anyway (default 20)."),
            QStringLiteral("SECONDS"), QStringLiteral("20") },
        { QStringLiteral("quiet"), QStringLiteral("Print only the summary and errors.") },
        { QStringLiteral("language"),
            QStringLiteral("Print the game's texts in LANGUAGE: pt or en (default: English on "
                           "an English desktop, Portuguese on any other)."),
            QStringLiteral("LANGUAGE") },
    });
    if (!parser.parse(QCoreApplication::arguments())) {
        printLine(stderr, QStringLiteral("quorvel-bot: ") + parser.errorText());
        printLine(stderr, QStringLiteral("Try 'quorvel-bot --help'."));
        return BadArgument;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    QString error;
    const std::optional<Arguments> arguments = readArguments(parser, error);
    if (!arguments) {
        printLine(stderr, QStringLiteral("quorvel-bot: ") + error);
        printLine(stderr, QStringLiteral("Try 'quorvel-bot --help'."));
        return BadArgument;
    }

    installLanguage(application, arguments->language.value_or(desktopLanguage()));
    ComputerOpponent opponent(arguments->settings);
    EventPrinter events;
    if (!arguments->quiet) {
        QObject::connect(&opponent, &ComputerOpponent::eventLine,
            [&events](const QString& line) { events.print(line); });
    }
    QObject::connect(&opponent, &ComputerOpponent::finished,
        [&opponent, &arguments, &events](ComputerOpponent::Outcome outcome) {
            events.endRun();
            int code = 0;
            if (outcome == ComputerOpponent::Outcome::ConnectionFailed
                || outcome == ComputerOpponent::Outcome::RulesBroken) {
                printLine(stderr, opponent.failureText());
                code = ConnectionFailure;
            } else if (arguments->settings.matches > 0
                && opponent.matchesPlayed() < arguments->settings.matches) {
                printLine(stderr,
                    QCoreApplication::translate("quorvel-bot",
                        "quorvel-bot: a ligação terminou ao fim de %1 de %2 partidas")
                        .arg(opponent.matchesPlayed())
                        .arg(arguments->settings.matches));
                code = ConnectionFailure;
            }
            printLine(stdout,
                QCoreApplication::translate("quorvel-bot",
                    "partidas jogadas: %1  [ Eu=%2 , Adv=%3 ]  média de tiros por partida "
                    "ganha: %4")
                    .arg(opponent.matchesPlayed())
                    .arg(opponent.myWins())
                    .arg(opponent.peerWins())
                    .arg(opponent.meanShotsPerWonMatch(), 0, 'f', 1));
            QCoreApplication::exit(code);
        });

    if (arguments->listening) {
        if (opponent.listen(arguments->port) && !arguments->quiet) {
            printLine(stdout,
                QCoreApplication::translate("quorvel-bot", "a escutar no porto %1")
                    .arg(opponent.listeningPort()));
        }
    } else {
        opponent.connectTo(arguments->host, arguments->port);
    }
    return QCoreApplication::exec();
}
