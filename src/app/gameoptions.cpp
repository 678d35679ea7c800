#include "gameoptions.h"

#include <utility>

namespace {

using Kind = CommandLine::Kind;

// The game's options; --listen and --computer may be given without their value. Each
// starts a game, so no two of those go together, and none may be given twice.
constexpr CommandLine::Option options[] = {
    CommandLine::helpOption(),
    CommandLine::versionOption(),
    { .name = "listen",
        .kind = Kind::Port,
        .help = QT_TRANSLATE_NOOP("GameCommandLine",
            "Escutar como servidor, no PORTO (4000 se omitido; 0 toma um livre)."),
        .valueName = QT_TRANSLATE_NOOP("GameCommandLine", "PORTO"),
        .low = 0,
        .bare = "4000" },
    { .name = "connect",
        .kind = Kind::Address,
        .help = QT_TRANSLATE_NOOP("GameCommandLine",
            "Conectar como cliente a ENDEREÇO, ou ENDEREÇO:PORTO (porto 4000 se omitido; um "
            "endereço IPv6 entre parênteses rectos, como [::1]:4000)."),
        .valueName = QT_TRANSLATE_NOOP("GameCommandLine", "ENDEREÇO[:PORTO]") },
    { .name = "computer",
        .kind = Kind::Level,
        .help = QT_TRANSLATE_NOOP("GameCommandLine",
            "Jogar contra o computador no NÍVEL: easy, normal ou hard (se omitido)."),
        .valueName = QT_TRANSLATE_NOOP("GameCommandLine", "NÍVEL"),
        .complaint
        = QT_TRANSLATE_NOOP("GameCommandLine", "--computer aceita easy, normal ou hard, não '%1'"),
        .bare = "hard" },
    { .name = "language",
        .kind = Kind::Language,
        .help = QT_TRANSLATE_NOOP("GameCommandLine",
            "Falar a LÍNGUA: pt (português) ou en (inglês). Sem ela o jogo fala inglês num "
            "ambiente de trabalho inglês e português em qualquer outro."),
        .valueName = QT_TRANSLATE_NOOP("GameCommandLine", "LÍNGUA"),
        .complaint = QT_TRANSLATE_NOOP("GameCommandLine", "--language aceita pt ou en, não '%1'") },
};

constexpr CommandLine::Rule rules[] = {
    { CommandLine::Rule::Kind::Exclusive, { "listen", "connect", "computer" },
        QT_TRANSLATE_NOOP(
            "GameCommandLine", "--listen, --connect e --computer excluem-se uns aos outros") },
};

constexpr CommandLine::Table table {
    .program = "quorvel-naval",
    .context = "GameCommandLine",
    .description = QT_TRANSLATE_NOOP("GameCommandLine",
        "Quorvel Naval, uma batalha naval a dois sobre TCP. Sem opções a janela abre "
        "desligada; cada opção abaixo começa logo um jogo."),
    .options = options,
    .rules = rules,
    .once = true,
};

} // namespace

GameCommandLine readGameCommandLine(QStringList arguments)
{
    CommandLine::Reading reading = CommandLine::read(table, std::move(arguments));
    if (!reading.values)
        return { std::nullopt, reading.text, reading.exitCode };
    const CommandLine::Values& values = *reading.values;
    GameOptions game;
    game.language = values.language("language");
    if (values.isSet("listen")) {
        game.start = GameOptions::Start::Listen;
        game.port = values.port("listen");
    } else if (values.isSet("connect")) {
        game.start = GameOptions::Start::Connect;
        const CommandLine::Address address = values.address("connect");
        game.host = address.host;
        game.port = address.port.value_or(game.port);
    } else if (values.isSet("computer")) {
        game.start = GameOptions::Start::Computer;
        game.level = values.level("computer");
    }
    return { game, {}, 0 };
}
