// quorvel-bot: a computer opponent that plays Quorvel Naval over TCP with no window. It
// listens or connects like the game, prints one line per event as the window would show it
// (the opponent's control characters escaped, its chat a few lines a second at most: see
// ComputerOpponent), and ends with a summary line.

#include "botoptions.h"

#include "net/computeropponent.h"
#include "net/gametexts.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

namespace {

// The program's own texts, in Portuguese, translated as the game's are.
struct BotProgram {
    Q_DECLARE_TR_FUNCTIONS(BotProgram)
};

constexpr int FailureExitCode = 1;

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
            printLine(stdout, BotProgram::tr("(a linha acima %1 vezes seguidas)").arg(repeats));
        repeats = 0;
    }

private:
    QString last;
    qint64 repeats = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    // Qt's help names the program after the first argument: quorvel-bot, however it was
    // started.
    char name[] = "quorvel-bot";
    std::vector<char*> arguments(argv, argv + argc);
    if (!arguments.empty())
        arguments[0] = name;
    QCoreApplication application(argc, arguments.data());
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-bot"));
    QCoreApplication::setApplicationVersion(CommandLine::programVersion());
    // The language first, so that the help and any complaint come in it.
    installLanguage(application,
        languageInArguments(QCoreApplication::arguments()).value_or(desktopLanguage()));

    const BotCommandLine commandLine = readBotCommandLine(QCoreApplication::arguments());
    if (!commandLine.options) {
        std::fputs(
            commandLine.text.toUtf8().constData(), commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }
    const BotOptions& options = *commandLine.options;

    ComputerOpponent opponent(options.settings);
    EventPrinter events;
    if (!options.quiet) {
        QObject::connect(&opponent, &ComputerOpponent::eventLine,
            [&events](const QString& line) { events.print(line); });
    }
    QObject::connect(&opponent, &ComputerOpponent::finished,
        [&opponent, &options, &events](ComputerOpponent::Outcome outcome) {
            events.endRun();
            int code = 0;
            if (outcome == ComputerOpponent::Outcome::ConnectionFailed
                || outcome == ComputerOpponent::Outcome::RulesBroken) {
                printLine(stderr, opponent.failureText());
                code = FailureExitCode;
            } else if (options.settings.matches > 0
                && opponent.matchesPlayed() < options.settings.matches) {
                printLine(stderr,
                    BotProgram::tr("quorvel-bot: a ligação terminou ao fim de %1 de %2 partidas")
                        .arg(opponent.matchesPlayed())
                        .arg(options.settings.matches));
                code = FailureExitCode;
            }
            printLine(stdout,
                BotProgram::tr(
                    "partidas jogadas: %1  [ Eu=%2 , Adv=%3 ]  média de tiros por partida "
                    "ganha: %4")
                    .arg(opponent.matchesPlayed())
                    .arg(opponent.myWins())
                    .arg(opponent.peerWins())
                    .arg(opponent.meanShotsPerWonMatch(), 0, 'f', 1));
            QCoreApplication::exit(code);
        });

    if (options.listening) {
        if (opponent.listen(options.port) && !options.quiet) {
            printLine(
                stdout, BotProgram::tr("a escutar no porto %1").arg(opponent.listeningPort()));
        }
    } else {
        opponent.connectTo(options.host, options.port);
    }
    return QCoreApplication::exec();
}
