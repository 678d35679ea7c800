#include "gameoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

constexpr int BadArgument = 2;

// The options whose value may be left out, and what it then is.
struct OptionalValue {
    const char* option;
    const char* value;
};
constexpr OptionalValue optionalValues[] = { { "--listen", "4000" }, { "--computer", "hard" } };

// QCommandLineParser wants a value after an option that takes one: a bare option gets its
// default written in.
QStringList withDefaultValues(QStringList arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        for (const OptionalValue& optional : optionalValues) {
            if (arguments[i] != QLatin1String(optional.option))
                continue;
            const bool valueFollows
                = i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1Char('-'));
            if (!valueFollows)
                arguments.insert(i + 1, QLatin1String(optional.value));
        }
    }
    return arguments;
}

std::optional<std::uint16_t> portNumber(const QString& text, int lowest)
{
    bool ok = false;
    const int port = text.toInt(&ok, 10);
    if (!ok || port < lowest || port > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

GameCommandLine mistake(const QString& text)
{
    return { std::nullopt,
        QStringLiteral("quorvel-naval: %1\nTry 'quorvel-naval --help'.\n").arg(text), BadArgument };
}

// HOST, HOST:PORT, [IPv6] or [IPv6]:PORT; an IPv6 address without brackets has no port.
GameCommandLine readConnect(const QString& text, GameOptions options)
{
    QString host = text.trimmed();
    QString port;
    bool hasPort = false;
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return mistake(QStringLiteral("'%1' opens a bracket it does not close").arg(text));
        const QString rest = host.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return mistake(QStringLiteral("'%1' has '%2' after the address").arg(text, rest));
        hasPort = !rest.isEmpty();
        port = rest.mid(1);
        host = host.mid(1, close - 1);
    } else if (host.count(QLatin1Char(':')) == 1) {
        hasPort = true;
        port = host.section(QLatin1Char(':'), 1);
        host = host.section(QLatin1Char(':'), 0, 0);
    }
    if (host.isEmpty())
        return mistake(QStringLiteral("--connect needs the address of the game to connect to"));
    options.host = host;
    if (hasPort) {
        const auto number = portNumber(port, 1);
        if (!number)
            return mistake(
                QStringLiteral("the port must be a number from 1 to 65535, not '%1'").arg(port));
        options.port = *number;
    }
    return { options, {}, 0 };
}

} // namespace

GameCommandLine readGameCommandLine(QStringList arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Quorvel Naval, a naval battle for two over TCP. With no option the window opens "
        "disconnected; each option below starts straight into a game."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption listen(QStringLiteral("listen"),
        QStringLiteral("Listen as the server, on PORT (4000 if left out; 0 takes a free one)."),
        QStringLiteral("PORT"));
    const QCommandLineOption connect(QStringLiteral("connect"),
        QStringLiteral("Connect as the client to HOST, or HOST:PORT (port 4000 if left out; an "
                       "IPv6 address in brackets, as [::1]:4000)."),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption computer(QStringLiteral("computer"),
        QStringLiteral("Play against the computer at LEVEL: easy, normal or hard (if left out)."),
        QStringLiteral("LEVEL"));
    const QCommandLineOption language(QStringLiteral("language"),
        QStringLiteral("Speak LANGUAGE: pt (Portuguese) or en (English). Without it the game "
                       "speaks English on an English desktop and Portuguese on any other."),
        QStringLiteral("LANGUAGE"));
    parser.addOptions({ listen, connect, computer, language });

    if (!parser.parse(withDefaultValues(arguments)))
        return mistake(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // With no application object yet the parser does not know the program's name.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("quorvel-naval"));
        return { std::nullopt, text, 0 };
    }
    if (parser.isSet(version)) {
        return { std::nullopt,
            QStringLiteral("%1 %2\n").arg(
                QCoreApplication::applicationName(), QCoreApplication::applicationVersion()),
            0 };
    }
    if (!parser.positionalArguments().isEmpty()) {
        return mistake(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    }
    const int starts = static_cast<int>(parser.isSet(listen))
        + static_cast<int>(parser.isSet(connect)) + static_cast<int>(parser.isSet(computer));
    if (starts > 1)
        return mistake(QStringLiteral("--listen, --connect and --computer exclude each other"));
    for (const QCommandLineOption& option : { listen, connect, computer, language }) {
        if (parser.values(option).size() > 1) {
            return mistake(
                QStringLiteral("--%1 is given more than once").arg(option.names().first()));
        }
    }

    GameOptions options;
    if (parser.isSet(language)) {
        options.language = languageFromName(parser.value(language));
        if (!options.language) {
            return mistake(
                QStringLiteral("--language takes pt or en, not '%1'").arg(parser.value(language)));
        }
    }
    if (parser.isSet(listen)) {
        const auto port = portNumber(parser.value(listen), 0);
        if (!port) {
            return mistake(QStringLiteral("the port must be a number from 0 to 65535, not '%1'")
                               .arg(parser.value(listen)));
        }
        options.start = GameOptions::Start::Listen;
        options.port = *port;
    } else if (parser.isSet(connect)) {
        options.start = GameOptions::Start::Connect;
        return readConnect(parser.value(connect), options);
    } else if (parser.isSet(computer)) {
        const auto level = plannerLevelFromName(parser.value(computer).toStdString());
        if (!level) {
            return mistake(QStringLiteral("--computer takes easy, normal or hard, not '%1'")
                               .arg(parser.value(computer)));
        }
        options.start = GameOptions::Start::Computer;
        options.level = *level;
    }
    return { options, {}, 0 };
}
