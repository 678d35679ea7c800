// quorvel-bot: a computer opponent that plays Quorvel Naval over TCP with no window. It
// listens or connects like the game, prints one line per event as the window would show it
// (the opponent's control characters escaped, its chat a few lines a second at most: see
// ComputerOpponent), and ends with a summary line.

#include "net/computeropponent.h"
#include "net/gametexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <limits>
#include <optional>

namespace {

// The program's own texts, in Portuguese, translated as the game's are.
struct BotProgram {
    Q_DECLARE_TR_FUNCTIONS(BotProgram)
};

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
            printLine(stdout, BotProgram::tr("(a linha acima %1 vezes seguidas)").arg(repeats));
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
        error = BotProgram::tr("--listen e --connect não podem ser usados juntos");
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error
            = BotProgram::tr("argumento inesperado '%1'").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("port")) && !connect) {
        error
            = BotProgram::tr("--port vai com --connect; um servidor toma o seu porto de --listen");
        return std::nullopt;
    }
    arguments.listening = !connect;
    const QString portText
        = connect ? parser.value(QStringLiteral("port")) : parser.value(QStringLiteral("listen"));
    const auto port = wholeNumber(portText, connect ? 1 : 0, 65535);
    if (!port) {
        error = BotProgram::tr("o porto tem de ser um número de %1 a 65535, não '%2'")
                    .arg(connect ? 1 : 0)
                    .arg(portText);
        return std::nullopt;
    }
    arguments.port = static_cast<std::uint16_t>(*port);
    if (connect) {
        arguments.host = parser.value(QStringLiteral("connect")).trimmed();
        if (arguments.host.isEmpty()) {
            error = BotProgram::tr("--connect precisa do endereço do jogo a que se conectar");
            return std::nullopt;
        }
    }

    const QString levelText = parser.value(QStringLiteral("level"));
    const auto level = plannerLevelFromName(levelText.toStdString());
    if (!level) {
        error = BotProgram::tr("--level tem de ser easy, normal ou hard, não '%1'").arg(levelText);
        return std::nullopt;
    }
    arguments.settings.level = *level;

    const QString matchesText = parser.value(QStringLiteral("matches"));
    const auto matches = wholeNumber(matchesText, 0, std::numeric_limits<int>::max());
    if (!matches) {
        error = BotProgram::tr(
            "--matches tem de ser um número de partidas (0 para sem limite), não '%1'")
                    .arg(matchesText);
        return std::nullopt;
    }
    arguments.settings.matches = static_cast<int>(*matches);

    const QString delayText = parser.value(QStringLiteral("delay"));
    const auto delay = wholeNumber(delayText, 0, 3'600'000);
    if (!delay) {
        error = BotProgram::tr(
            "--delay tem de ser um número de milissegundos de 0 a 3600000, não '%1'")
                    .arg(delayText);
        return std::nullopt;
    }
    arguments.settings.delayMs = static_cast<int>(*delay);

    const QString readyWaitText = parser.value(QStringLiteral("ready-wait"));
    const auto readyWait = wholeNumber(readyWaitText, 0, 3600);
    if (!readyWait) {
        error
            = BotProgram::tr("--ready-wait tem de ser um número de segundos de 0 a 3600, não '%1'")
                  .arg(readyWaitText);
        return std::nullopt;
    }
    arguments.settings.readyWaitMs = static_cast<int>(*readyWait) * 1000;

    if (parser.isSet(QStringLiteral("seed"))) {
        const QString seedText = parser.value(QStringLiteral("seed"));
        const auto seed = wholeNumber(seedText, 0, std::numeric_limits<std::uint32_t>::max());
        if (!seed) {
            error = BotProgram::tr("--seed tem de ser um número de 0 a 4294967295, não '%1'")
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
            error = BotProgram::tr("--language tem de ser pt ou en, não '%1'").arg(name);
            return std::nullopt;
        }
    }
    return arguments;
}

// Refuses the command line: the complaint, and where to look for what it takes.
int refuse(const QString& complaint)
{
    printLine(stderr, QStringLiteral("quorvel-bot: ") + complaint);
    printLine(stderr, BotProgram::tr("Experimente 'quorvel-bot --help'."));
    return BadArgument;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-bot"));
    // The language first, so that the help and any complaint come in it.
    installLanguage(application,
        languageInArguments(QCoreApplication::arguments()).value_or(desktopLanguage()));

    QCommandLineParser parser;
    parser.setApplicationDescription(BotProgram::tr(
        "Um adversário do Quorvel Naval jogado pelo computador: joga sobre TCP como o jogo, sem "
        "janela, e escreve uma linha por acontecimento."));
    parser.addHelpOption();
    const QString port = BotProgram::tr("PORTO");
    const QString number = BotProgram::tr("N");
    parser.addOptions({
        { QStringLiteral("listen"),
            BotProgram::tr(
                "Escutar o jogo como servidor (o modo por omissão; porto 4000, 0 toma um porto "
                "livre)."),
            port, QStringLiteral("4000") },
        { QStringLiteral("connect"), BotProgram::tr("Conectar como cliente ao jogo em ENDEREÇO."),
            BotProgram::tr("ENDEREÇO") },
        { QStringLiteral("port"),
            BotProgram::tr("O porto a que se conectar, com --connect (por omissão 4000)."), port,
            QStringLiteral("4000") },
        { QStringLiteral("level"), BotProgram::tr("Como joga: easy, normal ou hard (por omissão)."),
            BotProgram::tr("NÍVEL"), QStringLiteral("hard") },
        { QStringLiteral("matches"),
            BotProgram::tr(
                "Parar ao fim de N partidas acabadas; 0 (por omissão) joga até a ligação "
                "terminar."),
            number, QStringLiteral("0") },
        { QStringLiteral("delay"),
            BotProgram::tr(
                "Milissegundos antes de declarar a frota e antes de cada tiro (por omissão "
                "400)."),
            BotProgram::tr("MS"), QStringLiteral("400") },
        { QStringLiteral("seed"),
            BotProgram::tr("Semente das frotas e dos tiros, para repetir um jogo."), number },
        { QStringLiteral("ready-wait"),
            BotProgram::tr(
                "Depois de uma partida, segundos à espera de que o adversário declare a frota "
                "primeiro, antes de a declarar mesmo assim (por omissão 20)."),
            BotProgram::tr("SEGUNDOS"), QStringLiteral("20") },
        { QStringLiteral("quiet"), BotProgram::tr("Escrever só o resumo e os erros.") },
        { QStringLiteral("language"),
            BotProgram::tr(
                "Escrever os textos do jogo na LÍNGUA: pt ou en (por omissão: inglês num "
                "ambiente de trabalho inglês, português em qualquer outro)."),
            BotProgram::tr("LÍNGUA") },
    });
    if (!parser.parse(QCoreApplication::arguments()))
        return refuse(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(parser.helpText().toUtf8().constData(), stdout);
        if (!parser.helpText().endsWith(QLatin1Char('\n'))) // the parser may leave it open
            std::fputc('\n', stdout);
        return 0;
    }
    QString error;
    const std::optional<Arguments> arguments = readArguments(parser, error);
    if (!arguments)
        return refuse(error);

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
                    BotProgram::tr("quorvel-bot: a ligação terminou ao fim de %1 de %2 partidas")
                        .arg(opponent.matchesPlayed())
                        .arg(arguments->settings.matches));
                code = ConnectionFailure;
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

    if (arguments->listening) {
        if (opponent.listen(arguments->port) && !arguments->quiet) {
            printLine(
                stdout, BotProgram::tr("a escutar no porto %1").arg(opponent.listeningPort()));
        }
    } else {
        opponent.connectTo(arguments->host, arguments->port);
    }
    return QCoreApplication::exec();
}
