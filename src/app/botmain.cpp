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
        error = QCoreApplication::translate(
            "quorvel-bot", "--listen e --connect não podem ser usados juntos");
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QCoreApplication::translate("quorvel-bot", "argumento inesperado '%1'")
                    .arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("port")) && !connect) {
        error = QCoreApplication::translate(
            "quorvel-bot", "--port vai com --connect; um servidor toma o seu porto de --listen");
        return std::nullopt;
    }
    arguments.listening = !connect;
    const QString portText
        = connect ? parser.value(QStringLiteral("port")) : parser.value(QStringLiteral("listen"));
    const auto port = wholeNumber(portText, connect ? 1 : 0, 65535);
    if (!port) {
        error = QCoreApplication::translate(
            "quorvel-bot", "o porto tem de ser um número de %1 a 65535, não '%2'")
                    .arg(connect ? 1 : 0)
                    .arg(portText);
        return std::nullopt;
    }
    arguments.port = static_cast<std::uint16_t>(*port);
    if (connect) {
        arguments.host = parser.value(QStringLiteral("connect")).trimmed();
        if (arguments.host.isEmpty()) {
            error = QCoreApplication::translate(
                "quorvel-bot", "--connect precisa do endereço do jogo a que se conectar");
            return std::nullopt;
        }
    }

    const QString levelText = parser.value(QStringLiteral("level"));
    const auto level = plannerLevelFromName(levelText.toStdString());
    if (!level) {
        error = QCoreApplication::translate(
            "quorvel-bot", "--level tem de ser easy, normal ou hard, não '%1'")
                    .arg(levelText);
        return std::nullopt;
    }
    arguments.settings.level = *level;

    const QString matchesText = parser.value(QStringLiteral("matches"));
    const auto matches = wholeNumber(matchesText, 0, std::numeric_limits<int>::max());
    if (!matches) {
        error = QCoreApplication::translate("quorvel-bot",
            "--matches tem de ser um número de partidas (0 para sem limite), não '%1'")
                    .arg(matchesText);
        return std::nullopt;
    }
    arguments.settings.matches = static_cast<int>(*matches);

    const QString delayText = parser.value(QStringLiteral("delay"));
    const auto delay = wholeNumber(delayText, 0, 3'600'000);
    if (!delay) {
        error = QCoreApplication::translate(
            "quorvel-bot", "--delay tem de ser um número de milissegundos de 0 a 3600000, não '%1'")
                    .arg(delayText);
        return std::nullopt;
    }
    arguments.settings.delayMs = static_cast<int>(*delay);

    const QString readyWaitText = parser.value(QStringLiteral("ready-wait"));
    const auto readyWait = wholeNumber(readyWaitText, 0, 3600);
    if (!readyWait) {
        error = QCoreApplication::translate(
            "quorvel-bot", "--ready-wait tem de ser um número de segundos de 0 a 3600, não '%1'")
                    .arg(readyWaitText);
        return std::nullopt;
    }
    arguments.settings.readyWaitMs = static_cast<int>(*readyWait) * 1000;

    if (parser.isSet(QStringLiteral("seed"))) {
        const QString seedText = parser.value(QStringLiteral("seed"));
        const auto seed = wholeNumber(seedText, 0, std::numeric_limits<std::uint32_t>::max());
        if (!seed) {
            error = QCoreApplication::translate(
                "quorvel-bot", "--seed tem de ser um número de 0 a 4294967295, não '%1'")
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
            error = QCoreApplication::translate(
                "quorvel-bot", "--language tem de ser pt ou en, não '%1'")
                        .arg(name);
            return std::nullopt;
        }
    }
    return arguments;
}

// Refuses the command line: the complaint, and where to look for what it takes.
int refuse(const QString& complaint)
{
    printLine(stderr, QStringLiteral("quorvel-bot: ") + complaint);
    printLine(
        stderr, QCoreApplication::translate("quorvel-bot", "Experimente 'quorvel-bot --help'."));
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
    parser.setApplicationDescription(QCoreApplication::translate("quorvel-bot",
        "Um adversário do Quorvel Naval jogado pelo computador: joga sobre TCP como o jogo, sem "
        "janela, e escreve uma linha por acontecimento."));
    parser.addHelpOption();
    const QString port = QCoreApplication::translate("quorvel-bot", "PORTO");
    const QString number = QCoreApplication::translate("quorvel-bot", "N");
    parser.addOptions({
        { QStringLiteral("listen"),
            QCoreApplication::translate("quorvel-bot",
                "Escutar o jogo como servidor (o modo por omissão; porto 4000, 0 toma um porto "
                "livre)."),
            port, QStringLiteral("4000") },
        { QStringLiteral("connect"),
            QCoreApplication::translate(
                "quorvel-bot", "Conectar como cliente ao jogo em ENDEREÇO."),
            QCoreApplication::translate("quorvel-bot", "ENDEREÇO") },
        { QStringLiteral("port"),
            QCoreApplication::translate(
                "quorvel-bot", "O porto a que se conectar, com --connect (por omissão 4000)."),
            port, QStringLiteral("4000") },
        { QStringLiteral("level"),
            QCoreApplication::translate(
                "quorvel-bot", "Como joga: easy, normal ou hard (por omissão)."),
            QCoreApplication::translate("quorvel-bot", "NÍVEL"), QStringLiteral("hard") },
        { QStringLiteral("matches"),
            QCoreApplication::translate("quorvel-bot",
                "Parar ao fim de N partidas acabadas; 0 (por omissão) joga até a ligação "
                "terminar."),
            number, QStringLiteral("0") },
        { QStringLiteral("delay"),
            QCoreApplication::translate("quorvel-bot",
                "Milissegundos antes de declarar a frota e antes de cada tiro (por omissão "
                "400)."),
            QCoreApplication::translate("quorvel-bot", "MS"), QStringLiteral("400") },
        { QStringLiteral("seed"),
            QCoreApplication::translate(
                "quorvel-bot", "Semente das frotas e dos tiros, para repetir um jogo."),
            number },
        { QStringLiteral("ready-wait"),
            QCoreApplication::translate("quorvel-bot",
                "Depois de uma partida, segundos à espera de que o adversário declare a frota "
                "primeiro, antes de a declarar mesmo assim (por omissão 20)."),
            QCoreApplication::translate("quorvel-bot", "SEGUNDOS"), QStringLiteral("20") },
        { QStringLiteral("quiet"),
            QCoreApplication::translate("quorvel-bot", "Escrever só o resumo e os erros.") },
        { QStringLiteral("language"),
            QCoreApplication::translate("quorvel-bot",
                "Escrever os textos do jogo na LÍNGUA: pt ou en (por omissão: inglês num "
                "ambiente de trabalho inglês, português em qualquer outro)."),
            QCoreApplication::translate("quorvel-bot", "LÍNGUA") },
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
