#include "botoptions.h"

#include <limits>
#include <utility>

namespace {

using Kind = CommandLine::Kind;

// quorvel-bot's options. Each has a value when it is not given but --seed and --language;
// given twice, the last counts.
constexpr CommandLine::Option options[] = {
    CommandLine::helpOption(),
    CommandLine::versionOption(),
    { .name = "listen",
        .kind = Kind::Port,
        .help = QT_TRANSLATE_NOOP("BotProgram",
            "Escutar o jogo como servidor (o modo por omissão; porto 4000, 0 toma um porto "
            "livre)."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "PORTO"),
        .low = 0,
        .absent = "4000",
        .bare = "4000" },
    { .name = "connect",
        .kind = Kind::Address,
        .help = QT_TRANSLATE_NOOP("BotProgram",
            "Conectar como cliente ao jogo em ENDEREÇO, ou ENDEREÇO:PORTO (um endereço IPv6 "
            "entre parênteses rectos, como [::1]:4000)."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "ENDEREÇO[:PORTO]") },
    { .name = "port",
        .kind = Kind::Port,
        .help = QT_TRANSLATE_NOOP("BotProgram",
            "O porto a que se conectar, com --connect, se ENDEREÇO não o diz (por "
            "omissão 4000)."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "PORTO"),
        .low = 1,
        .absent = "4000" },
    { .name = "level",
        .kind = Kind::Level,
        .help = QT_TRANSLATE_NOOP("BotProgram", "Como joga: easy, normal ou hard (por omissão)."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "NÍVEL"),
        .complaint
        = QT_TRANSLATE_NOOP("BotProgram", "--level tem de ser easy, normal ou hard, não '%1'"),
        .absent = "hard" },
    { .name = "matches",
        .kind = Kind::Number,
        .help = QT_TRANSLATE_NOOP("BotProgram",
            "Parar ao fim de N partidas acabadas; 0 (por omissão) joga até a ligação terminar."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "N"),
        .complaint = QT_TRANSLATE_NOOP("BotProgram",
            "--matches tem de ser um número de partidas (0 para sem limite), não '%1'"),
        .low = 0,
        .high = std::numeric_limits<int>::max(),
        .absent = "0" },
    { .name = "delay",
        .kind = Kind::Number,
        .help = QT_TRANSLATE_NOOP("BotProgram",
            "Milissegundos antes de declarar a frota e antes de cada tiro (por omissão 400)."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "MS"),
        .complaint = QT_TRANSLATE_NOOP(
            "BotProgram", "--delay tem de ser um número de milissegundos de 0 a 3600000, não '%1'"),
        .low = 0,
        .high = 3'600'000,
        .absent = "400" },
    { .name = "seed",
        .kind = Kind::Number,
        .help
        = QT_TRANSLATE_NOOP("BotProgram", "Semente das frotas e dos tiros, para repetir um jogo."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "N"),
        .complaint = QT_TRANSLATE_NOOP(
            "BotProgram", "--seed tem de ser um número de 0 a 4294967295, não '%1'"),
        .low = 0,
        .high = std::numeric_limits<std::uint32_t>::max() },
    { .name = "ready-wait",
        .kind = Kind::Number,
        .help = QT_TRANSLATE_NOOP("BotProgram",
            "Depois de uma partida, segundos à espera de que o adversário declare a frota "
            "primeiro, antes de a declarar mesmo assim (por omissão 20)."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "SEGUNDOS"),
        .complaint = QT_TRANSLATE_NOOP(
            "BotProgram", "--ready-wait tem de ser um número de segundos de 0 a 3600, não '%1'"),
        .low = 0,
        .high = 3600,
        .absent = "20" },
    { .name = "quiet",
        .kind = Kind::Switch,
        .help = QT_TRANSLATE_NOOP("BotProgram", "Escrever só o resumo e os erros.") },
    { .name = "language",
        .kind = Kind::Language,
        .help = QT_TRANSLATE_NOOP("BotProgram",
            "Escrever os textos do jogo na LÍNGUA: pt ou en (por omissão: inglês num ambiente "
            "de trabalho inglês, português em qualquer outro)."),
        .valueName = QT_TRANSLATE_NOOP("BotProgram", "LÍNGUA"),
        .complaint = QT_TRANSLATE_NOOP("BotProgram", "--language tem de ser pt ou en, não '%1'") },
};

constexpr CommandLine::Rule rules[] = {
    { CommandLine::Rule::Kind::Exclusive, { "listen", "connect" },
        QT_TRANSLATE_NOOP("BotProgram", "--listen e --connect não podem ser usados juntos") },
    { CommandLine::Rule::Kind::Requires, { "port", "connect" },
        QT_TRANSLATE_NOOP(
            "BotProgram", "--port vai com --connect; um servidor toma o seu porto de --listen") },
};

constexpr CommandLine::Table table {
    .program = "quorvel-bot",
    .context = "BotProgram",
    .description = QT_TRANSLATE_NOOP("BotProgram",
        "Um adversário do Quorvel Naval jogado pelo computador: joga sobre TCP como o jogo, sem "
        "janela, e escreve uma linha por acontecimento."),
    .options = options,
    .rules = rules,
};

} // namespace

BotCommandLine readBotCommandLine(QStringList arguments)
{
    CommandLine::Reading reading = CommandLine::read(table, std::move(arguments));
    if (!reading.values)
        return { std::nullopt, reading.text, reading.exitCode };
    const CommandLine::Values& values = *reading.values;
    BotOptions bot;
    bot.listening = !values.isSet("connect");
    if (bot.listening) {
        bot.port = values.port("listen");
    } else {
        const CommandLine::Address address = values.address("connect");
        bot.host = address.host;
        bot.port = address.port.value_or(values.port("port"));
    }
    bot.settings.level = values.level("level");
    bot.settings.matches = static_cast<int>(values.number("matches"));
    bot.settings.delayMs = static_cast<int>(values.number("delay"));
    bot.settings.readyWaitMs = static_cast<int>(values.number("ready-wait")) * 1000;
    if (values.isSet("seed"))
        bot.settings.seed = static_cast<std::uint32_t>(values.number("seed"));
    bot.quiet = values.isSet("quiet");
    bot.language = values.language("language");
    return { bot, {}, 0 };
}
