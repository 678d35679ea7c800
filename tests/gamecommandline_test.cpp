// The game's command line: what each option starts, the mistakes it refuses with status 2
// before any window opens, and the program started straight into a connection.

#include "waituntil.h"

#include "app/gameoptions.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
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

} // namespace
