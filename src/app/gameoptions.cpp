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
        GameCommandLine::tr("quorvel-naval: %1\nExperimente 'quorvel-naval --help'.\n").arg(text),
        BadArgument };
}

GameCommandLine badPort(const QString& text, int lowest)
{
    return mistake(GameCommandLine::tr("o porto tem de ser um número de %1 a 65535, não '%2'")
                       .arg(lowest)
                       .arg(text));
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
            return mistake(
                GameCommandLine::tr("'%1' abre um parêntese recto que não fecha").arg(text));
        const QString rest = host.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return mistake(GameCommandLine::tr("'%1' tem '%2' depois do endereço").arg(text, rest));
        hasPort = !rest.isEmpty();
        port = rest.mid(1);
        host = host.mid(1, close - 1);
    } else if (host.count(QLatin1Char(':')) == 1) {
        hasPort = true;
        port = host.section(QLatin1Char(':'), 1);
        host = host.section(QLatin1Char(':'), 0, 0);
    }
    if (host.isEmpty())
        return mistake(
            GameCommandLine::tr("--connect precisa do endereço do jogo a que se conectar"));
    options.host = host;
    if (hasPort) {
        const auto number = portNumber(port, 1);
        if (!number)
            return badPort(port, 1);
        options.port = *number;
    }
    return { options, {}, 0 };
}

} // namespace

GameCommandLine readGameCommandLine(QStringList arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(GameCommandLine::tr(
        "Quorvel Naval, uma batalha naval a dois sobre TCP. Sem opções a janela abre desligada; "
        "cada opção abaixo começa logo um jogo."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption listen(QStringLiteral("listen"),
        GameCommandLine::tr("Escutar como servidor, no PORTO (4000 se omitido; 0 toma um livre)."),
        GameCommandLine::tr("PORTO"));
    const QCommandLineOption connect(QStringLiteral("connect"),
        GameCommandLine::tr("Conectar como cliente a ENDEREÇO, ou ENDEREÇO:PORTO (porto 4000 se "
                            "omitido; um endereço IPv6 entre parênteses rectos, como [::1]:4000)."),
        GameCommandLine::tr("ENDEREÇO[:PORTO]"));
    const QCommandLineOption computer(QStringLiteral("computer"),
        GameCommandLine::tr("Jogar contra o computador no NÍVEL: easy, normal ou hard (se "
                            "omitido)."),
        GameCommandLine::tr("NÍVEL"));
    const QCommandLineOption language(QStringLiteral("language"),
        GameCommandLine::tr("Falar a LÍNGUA: pt (português) ou en (inglês). Sem ela o jogo fala "
                            "inglês num ambiente de trabalho inglês e português em qualquer "
                            "outro."),
        GameCommandLine::tr("LÍNGUA"));
    parser.addOptions({ listen, connect, computer, language });

    if (!parser.parse(withDefaultValues(arguments)))
        return mistake(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        if (!text.endsWith(QLatin1Char('\n'))) // the parser may leave the last line open
            text += QLatin1Char('\n');
        return { std::nullopt, text, 0 };
    }
    if (parser.isSet(version)) {
        return { std::nullopt,
            QStringLiteral("%1 %2\n").arg(
                QCoreApplication::applicationName(), QCoreApplication::applicationVersion()),
            0 };
    }
    if (!parser.positionalArguments().isEmpty()) {
        return mistake(GameCommandLine::tr("argumento inesperado '%1'")
                           .arg(parser.positionalArguments().first()));
    }
    const int starts = static_cast<int>(parser.isSet(listen))
        + static_cast<int>(parser.isSet(connect)) + static_cast<int>(parser.isSet(computer));
    if (starts > 1)
        return mistake(
            GameCommandLine::tr("--listen, --connect e --computer excluem-se uns aos outros"));
    for (const QCommandLineOption& option : { listen, connect, computer, language }) {
        if (parser.values(option).size() > 1) {
            return mistake(
                GameCommandLine::tr("--%1 foi dado mais de uma vez").arg(option.names().first()));
        }
    }

    GameOptions options;
    if (parser.isSet(language)) {
        options.language = languageFromName(parser.value(language));
        if (!options.language) {
            return mistake(GameCommandLine::tr("--language aceita pt ou en, não '%1'")
                               .arg(parser.value(language)));
        }
    }
    if (parser.isSet(listen)) {
        const auto port = portNumber(parser.value(listen), 0);
        if (!port) {
            return badPort(parser.value(listen), 0);
        }
        options.start = GameOptions::Start::Listen;
        options.port = *port;
    } else if (parser.isSet(connect)) {
        options.start = GameOptions::Start::Connect;
        return readConnect(parser.value(connect), options);
    } else if (parser.isSet(computer)) {
        const auto level = plannerLevelFromName(parser.value(computer).toStdString());
        if (!level) {
            return mistake(GameCommandLine::tr("--computer aceita easy, normal ou hard, não '%1'")
                               .arg(parser.value(computer)));
        }
        options.start = GameOptions::Start::Computer;
        options.level = *level;
    }
    return { options, {}, 0 };
}
