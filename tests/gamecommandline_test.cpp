// The game's command line: what each option starts, the mistakes it refuses with status 2
// before any window opens, and the program started straight into a connection; quorvel-bot's
// command line, read by the same reader, and what the two share.

#include "waituntil.h"

#include "app/botoptions.h"
#include "app/gameoptions.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string describe(const GameCommandLine& line)
{
    if (!line.options)
        return "exit " + std::to_string(line.exitCode);
    const GameOptions& options = *line.options;
    const char* starts[] = { "window", "listen", "connect", "computer" };
    return std::string(starts[static_cast<int>(options.start)]) + " " + options.host.toStdString()
        + ":" + std::to_string(options.port) + " " + std::string(plannerLevelName(options.level));
}

TEST(GameCommandLine, EachOptionStartsAGameOrIsRefused)
{
    const struct {
        QStringList arguments;
        std::string read;
    } cases[] = {
        { {}, "window :4000 hard" },
        { { "--listen" }, "listen :4000 hard" },
        { { "--listen", "0" }, "listen :0 hard" },
        { { "--listen=65535" }, "listen :65535 hard" },
        { { "--connect", "example.org" }, "connect example.org:4000 hard" },
        { { "--connect", "192.0.2.1:1" }, "connect 192.0.2.1:1 hard" },
        { { "--connect", "[::1]:4001" }, "connect ::1:4001 hard" },
        { { "--connect", "[::1]" }, "connect ::1:4000 hard" },
        { { "--connect", "::1" }, "connect ::1:4000 hard" },
        { { "--computer" }, "computer :4000 hard" },
        { { "--computer", "easy" }, "computer :4000 easy" },
        { { "--help" }, "exit 0" },
        { { "--help-all" }, "exit 0" },
        { { "--version" }, "exit 0" },
        { { "--listen", "65536" }, "exit 2" },
        { { "--listen", "x" }, "exit 2" },
        { { "--connect" }, "exit 2" },
        { { "--connect", "host:0" }, "exit 2" },
        { { "--connect", "host:" }, "exit 2" },
        { { "--connect", "[::1" }, "exit 2" },
        { { "--connect", "[::1]4000" }, "exit 2" },
        { { "--computer", "expert" }, "exit 2" },
        { { "--listen", "--computer" }, "exit 2" },
        { { "--listen", "1", "--listen", "2" }, "exit 2" },
        { { "--fast" }, "exit 2" },
        { { "stray" }, "exit 2" },
    };
    for (const auto& c : cases) {
        const GameCommandLine line
            = readGameCommandLine(QStringList { QStringLiteral("quorvel-naval") } + c.arguments);
        EXPECT_EQ(describe(line), c.read) << c.arguments.join(QLatin1Char(' ')).toStdString();
        if (line.exitCode == 2) {
            EXPECT_TRUE(line.text.startsWith(QStringLiteral("quorvel-naval: "))
                && line.text.endsWith(QStringLiteral("Experimente 'quorvel-naval --help'.\n")))
                << line.text.toStdString();
        }
    }
}

// The help and the complaints come in the language of the translation installed, Qt's own
// words included.
TEST(GameCommandLine, SpeaksTheLanguageInstalled)
{
    const QStringList mistake { QStringLiteral("quorvel-naval"), QStringLiteral("--connect"),
        QStringLiteral("[::1]x") };
    const QStringList unknown { QStringLiteral("quorvel-naval"), QStringLiteral("--fast") };
    const QStringList help { QStringLiteral("quorvel-naval"), QStringLiteral("--help") };
    for (const Language language : { Language::Portuguese, Language::English }) {
        QTranslator* translator = installLanguage(*QCoreApplication::instance(), language);
        ASSERT_NE(translator, nullptr);
        const bool english = language == Language::English;
        EXPECT_EQ(readGameCommandLine(mistake).text.toStdString(),
            english ? "quorvel-naval: '[::1]x' has 'x' after the address\n"
                      "Try 'quorvel-naval --help'.\n"
                    : "quorvel-naval: '[::1]x' tem 'x' depois do endereço\n"
                      "Experimente 'quorvel-naval --help'.\n");
        EXPECT_TRUE(readGameCommandLine(unknown).text.startsWith(english
                ? QStringLiteral("quorvel-naval: Unknown option 'fast'.")
                : QStringLiteral("quorvel-naval: Opção desconhecida 'fast'.")));
        const QString helpText = readGameCommandLine(help).text;
        EXPECT_TRUE(helpText.contains(
            english ? QStringLiteral("--computer <LEVEL>") : QStringLiteral("--computer <NÍVEL>")))
            << helpText.toStdString();
        EXPECT_TRUE(helpText.contains(english ? QStringLiteral("Displays version information.")
                                              : QStringLiteral("Mostra a versão.")));
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

std::string describe(const BotCommandLine& line)
{
    if (!line.options)
        return "exit " + std::to_string(line.exitCode);
    const BotOptions& options = *line.options;
    const ComputerOpponent::Settings& settings = options.settings;
    return std::string(options.listening ? "listen " : "connect ") + options.host.toStdString()
        + ":" + std::to_string(options.port) + " " + std::string(plannerLevelName(settings.level))
        + " matches " + std::to_string(settings.matches) + " delay "
        + std::to_string(settings.delayMs) + " wait " + std::to_string(settings.readyWaitMs)
        + " seed " + (settings.seed ? std::to_string(*settings.seed) : "-")
        + (options.quiet ? " quiet" : "") + (options.language == Language::English ? " en" : "");
}

// Every option of quorvel-bot read into its settings, the last of one given twice counting,
// and its mistakes refused with status 2, as its own program tells them.
TEST(BotCommandLine, EachOptionIsReadOrRefused)
{
    const struct {
        QStringList arguments;
        std::string read;
    } cases[] = {
        { {}, "listen :4000 hard matches 0 delay 400 wait 20000 seed -" },
        { { "--listen", "0", "--quiet" },
            "listen :0 hard matches 0 delay 400 wait 20000 seed - quiet" },
        { { "--connect", " example.org ", "--port", "1" },
            "connect example.org:1 hard matches 0 delay 400 wait 20000 seed -" },
        { { "--connect=::1" }, "connect ::1:4000 hard matches 0 delay 400 wait 20000 seed -" },
        { { "--connect", "[::1]:5000" },
            "connect ::1:5000 hard matches 0 delay 400 wait 20000 seed -" },
        { { "--connect", "127.0.0.1:5000", "--port", "6000" },
            "connect 127.0.0.1:5000 hard matches 0 delay 400 wait 20000 seed -" },
        { { "--connect", "[::1" }, "exit 2" },
        { { "--connect", "host:" }, "exit 2" },
        { { "--level", "easy", "--matches", "3", "--delay", "0", "--ready-wait", "0", "--seed",
              "4294967295", "--language", "en" },
            "listen :4000 easy matches 3 delay 0 wait 0 seed 4294967295 en" },
        { { "--delay", "5", "--delay", " 6 " },
            "listen :4000 hard matches 0 delay 6 wait 20000 seed -" },
        { { "--help" }, "exit 0" },
        { { "--level", "expert" }, "exit 2" },
        { { "--listen", "65536" }, "exit 2" },
        { { "--listen", "1", "--connect", "h" }, "exit 2" },
        { { "--port", "4000" }, "exit 2" },
        { { "--connect", "h", "--port", "0" }, "exit 2" },
        { { "--connect", " " }, "exit 2" },
        { { "--matches", "-1" }, "exit 2" },
        { { "--delay", "3600001" }, "exit 2" },
        { { "--seed", "4294967296" }, "exit 2" },
        { { "--ready-wait", "3601" }, "exit 2" },
        { { "--language", "fr" }, "exit 2" },
        { { "--version" }, "exit 0" },
        { { "-v" }, "exit 0" },
        { { "--listen" }, "listen :4000 hard matches 0 delay 400 wait 20000 seed -" },
        { { "--listen", "--quiet" },
            "listen :4000 hard matches 0 delay 400 wait 20000 seed - quiet" },
        { { "stray" }, "exit 2" },
    };
    for (const auto& c : cases) {
        const BotCommandLine line
            = readBotCommandLine(QStringList { QStringLiteral("quorvel-bot") } + c.arguments);
        EXPECT_EQ(describe(line), c.read) << c.arguments.join(QLatin1Char(' ')).toStdString();
        if (line.exitCode == 2) {
            EXPECT_TRUE(line.text.startsWith(QStringLiteral("quorvel-bot: "))
                && line.text.endsWith(QStringLiteral("Experimente 'quorvel-bot --help'.\n")))
                << line.text.toStdString();
        }
    }
}

// Where the two programs agree they say the same: a port, an address left blank, an argument
// that is no option's, an unknown option, each after the program's own name and in the
// language installed; and each lists its own options in its help.
TEST(CommandLine, TheTwoProgramsShareTheirChecksAndTheirWords)
{
    const struct {
        QStringList arguments;
        const char* portuguese;
        const char* english;
    } mistakes[] = {
        { { "--listen", "70000" }, "o porto tem de ser um número de 0 a 65535, não '70000'",
            "the port must be a number from 0 to 65535, not '70000'" },
        { { "--listen", "-1" }, "o porto tem de ser um número de 0 a 65535, não '-1'",
            "the port must be a number from 0 to 65535, not '-1'" },
        { { "--connect", " " }, "--connect precisa do endereço do jogo a que se conectar",
            "--connect needs the address of the game to connect to" },
        { { "stray" }, "argumento inesperado 'stray'", "unexpected argument 'stray'" },
        { { "--fast" }, "Opção desconhecida 'fast'.", "Unknown option 'fast'." },
    };
    for (const Language language : { Language::Portuguese, Language::English }) {
        QTranslator* translator = installLanguage(*QCoreApplication::instance(), language);
        ASSERT_NE(translator, nullptr);
        const bool english = language == Language::English;
        for (const auto& mistake : mistakes) {
            const QString complaint
                = QString::fromUtf8(english ? mistake.english : mistake.portuguese);
            const QString game = readGameCommandLine(
                QStringList { QStringLiteral("quorvel-naval") } + mistake.arguments)
                                     .text;
            const QString bot = readBotCommandLine(
                QStringList { QStringLiteral("quorvel-bot") } + mistake.arguments)
                                    .text;
            const QString tryHelp = english ? QStringLiteral("Try '%1 --help'.\n")
                                            : QStringLiteral("Experimente '%1 --help'.\n");
            EXPECT_EQ(game,
                QStringLiteral("quorvel-naval: ") + complaint + QLatin1Char('\n')
                    + tryHelp.arg(QStringLiteral("quorvel-naval")));
            EXPECT_EQ(bot,
                QStringLiteral("quorvel-bot: ") + complaint + QLatin1Char('\n')
                    + tryHelp.arg(QStringLiteral("quorvel-bot")));
        }
        const QString gameHelp
            = readGameCommandLine({ QStringLiteral("quorvel-naval"), QStringLiteral("--help") })
                  .text;
        const QString botHelp
            = readBotCommandLine({ QStringLiteral("quorvel-bot"), QStringLiteral("-h") }).text;
        for (const QString& help : { gameHelp, botHelp }) {
            EXPECT_TRUE(help.contains(english ? QStringLiteral("--language <LANGUAGE>")
                                              : QStringLiteral("--language <LÍNGUA>")))
                << help.toStdString();
            EXPECT_TRUE(help.endsWith(QLatin1Char('\n')));
        }
        EXPECT_TRUE(botHelp.contains(QStringLiteral("--ready-wait <")));
        EXPECT_FALSE(gameHelp.contains(QStringLiteral("--ready-wait")));
        EXPECT_FALSE(botHelp.contains(QStringLiteral("--computer")));
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// The program itself: a mistake ends it with status 2 and a message, and no display is
// needed for it; --connect meets the server before anyone touches the window.
TEST(GameCommandLine, TheProgramRefusesAMistakeAndConnectsAtOnce)
{
    QProcess game;
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.remove(QStringLiteral("DISPLAY"));
    noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
    noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    game.setProcessEnvironment(noDisplay);
    game.start(QStringLiteral(QUORVEL_GAME), { QStringLiteral("--computer"), QStringLiteral("x") });
    ASSERT_TRUE(game.waitForFinished(10000));
    EXPECT_EQ(game.exitCode(), 2);
    EXPECT_TRUE(
        game.readAllStandardError().contains("--computer aceita easy, normal ou hard, não 'x'"));
    game.start(QStringLiteral(QUORVEL_GAME),
        { QStringLiteral("--language"), QStringLiteral("en"), QStringLiteral("--computer"),
            QStringLiteral("x") });
    ASSERT_TRUE(game.waitForFinished(10000));
    EXPECT_EQ(game.exitCode(), 2);
    EXPECT_TRUE(game.readAllStandardError().contains("--computer takes easy, normal or hard"));
    game.start(QStringLiteral(QUORVEL_GAME), { QStringLiteral("--help") });
    ASSERT_TRUE(game.waitForFinished(10000));
    EXPECT_EQ(game.exitCode(), 0);
    const QByteArray help = game.readAllStandardOutput();
    EXPECT_TRUE(help.startsWith("Utilização: quorvel-naval [opções]\n")) << help.toStdString();
    EXPECT_TRUE(help.endsWith(".\n")) << help.toStdString();
    game.start(QStringLiteral(QUORVEL_GAME),
        { QStringLiteral("--help"), QStringLiteral("--language=en") });
    ASSERT_TRUE(game.waitForFinished(10000));
    EXPECT_TRUE(game.readAllStandardOutput().startsWith("Usage: quorvel-naval [options]\n"));
    game.start(QStringLiteral(QUORVEL_GAME), { QStringLiteral("--version") });
    ASSERT_TRUE(game.waitForFinished(10000));
    EXPECT_EQ(game.exitCode(), 0);
    EXPECT_EQ(game.readAllStandardOutput(), "quorvel-naval 3.0\n");

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    game.setProcessEnvironment(QProcessEnvironment::systemEnvironment()); // offscreen
    game.start(QStringLiteral(QUORVEL_GAME),
        { QStringLiteral("--connect"), QStringLiteral("127.0.0.1:%1").arg(server.serverPort()) });
    EXPECT_TRUE(waitUntil([&] { return server.hasPendingConnections(); }));
    game.kill();
    game.waitForFinished(10000);
}

// quorvel-bot tells its version as its help says, and its help names it quorvel-bot however
// it was started.
TEST(BotProgram, TellsItsVersionAndItsName)
{
    QProcess bot;
    for (const char* option : { "--version", "-v" }) {
        bot.start(QStringLiteral(QUORVEL_BOT), { QString::fromLatin1(option) });
        ASSERT_TRUE(bot.waitForFinished(10000));
        EXPECT_EQ(bot.exitCode(), 0);
        EXPECT_EQ(bot.readAllStandardOutput(), "quorvel-bot 3.0\n") << option;
    }
    QTemporaryDir directory;
    const QString renamed = directory.filePath(QStringLiteral("opponent"));
    ASSERT_TRUE(QFile::link(QStringLiteral(QUORVEL_BOT), renamed));
    bot.start(renamed, { QStringLiteral("--help") });
    ASSERT_TRUE(bot.waitForFinished(10000));
    const QByteArray help = bot.readAllStandardOutput();
    EXPECT_TRUE(help.startsWith("Utilização: quorvel-bot [opções]\n")) << help.toStdString();
    EXPECT_TRUE(help.contains("-v, --version")) << help.toStdString();
}

// The desktop shows the program's name after the window's own title, the score included:
// the game under an X server of its own, its window listed by the server.
TEST(GameProgram, TheDesktopNamesTheGameAfterEveryTitle)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        GTEST_SKIP() << "xvfb-run and xwininfo are installed by tools/install-deps";
    QTemporaryDir home;
    QProcess desktop;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    desktop.setProcessEnvironment(environment);
    // Lists the windows until the title with the score shows, for ten seconds at most.
    const QString script
        = QStringLiteral("\"$0\" --listen 0 & game=$!; for i in $(seq 200); do "
                         "xwininfo -root -tree | grep -q SERVIDOR && break; sleep 0.05; done; "
                         "xwininfo -root -tree | grep -o '\"[^\"]*SERVIDOR[^\"]*\"'; kill $game");
    desktop.start(QStringLiteral("xvfb-run"),
        { QStringLiteral("-a"), QStringLiteral("sh"), QStringLiteral("-c"), script,
            QStringLiteral(QUORVEL_GAME) });
    ASSERT_TRUE(desktop.waitForFinished(30000));
    EXPECT_EQ(desktop.readAllStandardOutput(),
        "\"Quorvel Naval - Programa TCP/IP SERVIDOR [ Eu=0 , Adv=0 ] \xe2\x80\x94 Quorvel "
        "Naval\"\n");
}

} // namespace
