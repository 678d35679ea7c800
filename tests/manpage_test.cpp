// The manual pages made at build time from the programs' help, in English and in Portuguese:
// each names every option of its program, long and short, as the program's own option table
// gives them, tells the program's description in the page's language, and has the sections
// the help does not give.

#include "app/botoptions.h"
#include "app/gameoptions.h"

#include <QFile>
#include <QRegularExpression>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The page as its reader sees the words: roff's escaped hyphens and font changes taken out.
QString readPage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    static const QRegularExpression fonts(QStringLiteral(R"(\\f[BIRP]|\\[,/&])"));
    text.remove(fonts);
    return text;
}

// Every option an option line of a help names: "-h", "--help", "--listen"... An option line
// starts two spaces in with a dash; the lines that carry on an option's help start further in.
QStringList optionsOf(const QString& help)
{
    static const QRegularExpression line(
        QStringLiteral(R"(^  (-\S.*?)(?: {2,}|$))"), QRegularExpression::MultilineOption);
    static const QRegularExpression name(QStringLiteral(R"((?<![\w<-])--?[A-Za-z][\w-]*)"));
    QStringList options;
    for (const QRegularExpressionMatch& found : line.globalMatch(help)) {
        for (const QRegularExpressionMatch& option : name.globalMatch(found.captured(1)))
            options.append(option.captured());
    }
    return options;
}

bool names(const QString& page, const QString& option)
{
    const QRegularExpression word(QStringLiteral(R"((^|[^\w-]))")
        + QRegularExpression::escape(option) + QStringLiteral(R"(($|[^\w-]))"));
    return page.contains(word);
}

TEST(ManualPages, NameEveryOptionInTheirLanguageWithTheirSections)
{
    const std::function<QString(QStringList)> gameHelp
        = [](QStringList arguments) { return readGameCommandLine(std::move(arguments)).text; };
    const std::function<QString(QStringList)> botHelp
        = [](QStringList arguments) { return readBotCommandLine(std::move(arguments)).text; };
    const QStringList english { "NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "PROTOCOL",
        "EXIT STATUS", "ENVIRONMENT", "FILES", "SEE ALSO" };
    const QStringList portuguese { "NOME", "SINOPSE", "DESCRIÇÃO", "OPÇÕES", "PROTOCOLO",
        "ESTADO DE SAÍDA", "AMBIENTE", "FICHEIROS", "VER TAMBÉM" };
    const struct {
        const char* page;
        const char* program;
        std::function<QString(QStringList)> help;
        Language language;
        QStringList sections;
    } cases[] = {
        { "man6/quorvel-naval.6", "quorvel-naval", gameHelp, Language::English, english },
        { "pt/man6/quorvel-naval.6", "quorvel-naval", gameHelp, Language::Portuguese, portuguese },
        { "man6/quorvel-bot.6", "quorvel-bot", botHelp, Language::English, english },
        { "pt/man6/quorvel-bot.6", "quorvel-bot", botHelp, Language::Portuguese, portuguese },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        const QString page = readPage(QStringLiteral(QUORVEL_MAN_DIR "/") + QLatin1String(c.page));
        ASSERT_FALSE(page.isEmpty());

        QTranslator* translator = installLanguage(*QCoreApplication::instance(), c.language);
        const QString help = c.help({ QLatin1String(c.program), QStringLiteral("--help") });
        QCoreApplication::removeTranslator(translator);
        delete translator;

        const QStringList options = optionsOf(help);
        for (const char* always : { "-h", "--help", "-v", "--version", "--listen", "--language" })
            EXPECT_TRUE(options.contains(QLatin1String(always))) << always << " in the help";
        for (const QString& option : options)
            EXPECT_TRUE(names(page, option)) << option.toStdString();

        // The description, the second line of the help, shows the page's language.
        const QString description = help.section(QLatin1Char('\n'), 1, 1);
        EXPECT_TRUE(page.contains(description)) << description.toStdString();
        const QString program = QLatin1String(c.program);
        const QString title = QStringLiteral(".TH %1 \"6\"").arg(program.toUpper());
        EXPECT_TRUE(page.contains(title)) << title.toStdString();
        const QString version
            = QStringLiteral("\"%1 %2\"").arg(program, CommandLine::programVersion());
        EXPECT_TRUE(page.contains(version)) << version.toStdString();
        for (const QString& section : c.sections) {
            EXPECT_TRUE(page.contains(QStringLiteral("\n.SH ") + section + QLatin1Char('\n'))
                || page.contains(QStringLiteral("\n.SH \"") + section + QStringLiteral("\"\n")))
                << section.toStdString();
        }
    }
}

} // namespace
