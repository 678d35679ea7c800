// The English translation: complete, and applied to the engine's texts by their pattern
// with chat left as it was sent.

#include "net/gametexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// The entries of a translators' file that are not translated (unfinished, vanished or
// empty), and how many there are in all.
std::pair<QStringList, int> untranslated(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return { { QStringLiteral("cannot read ") + path }, 0 };
    QXmlStreamReader xml(&file);
    QStringList missing;
    int messages = 0;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            if (!type.isEmpty() || xml.readElementText().isEmpty())
                missing << source + QStringLiteral(" (") + type + QLatin1Char(')');
        }
    }
    if (xml.hasError())
        missing << xml.errorString();
    return { missing, messages };
}

// Every entry of the translators' file is translated, and the file holds every text of the
// sources: brought up to date from them, as tools/update-translations does, it gains no
// entry to translate and loses none.
TEST(Translation, EveryTextHasItsEnglish)
{
    const QString file = QStringLiteral(QUORVEL_SOURCE_DIR "/res/translations/quorvel_en.ts");
    const auto [missing, messages] = untranslated(file);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(messages, 60);

    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("quorvel_en.ts"));
    ASSERT_TRUE(QFile::copy(file, copy));
    QProcess lupdate;
    lupdate.start(QStringLiteral(QUORVEL_LUPDATE),
        { QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("-no-obsolete"),
            QStringLiteral("-source-language"), QStringLiteral("pt"),
            QStringLiteral("-target-language"), QStringLiteral("en"),
            QStringLiteral(QUORVEL_SOURCE_DIR "/src"), QStringLiteral("-ts"), copy });
    ASSERT_TRUE(lupdate.waitForFinished(60000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    const auto [missingNow, messagesNow] = untranslated(copy);
    EXPECT_TRUE(missingNow.isEmpty()) << missingNow.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(messagesNow, messages) << "texts no longer in the sources";

    // Qt's own words in a command line's help and complaints, in Portuguese.
    const auto [missingQt, messagesQt]
        = untranslated(QStringLiteral(QUORVEL_SOURCE_DIR "/res/translations/qt_pt.ts"));
    EXPECT_TRUE(missingQt.isEmpty()) << missingQt.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(messagesQt, 5);
}

TEST(Translation, TheEnginesTextsByTheirPatternChatAsSent)
{
    const char* const texts[][2] = {
        { "Criar tabuleiro.", "Build your fleet." },
        { "Coloque o cano 17", "Place cell 17" },
        { "A enviar tiro 2 .", "Firing shot 2 ." },
        { "A esperar pela conecção...\nPorto 40123.", "Waiting for a connection...\nPort 40123." },
        { "<CPU> Acertou num barco de 1 cano.", "<CPU> Hit a ship of 1 cell." },
        { "<CPU> Afundou um barco de 4 canos.", "<CPU> Sank a ship of 4 cells." },
        { "<CPU> Acertou num barco de ? canos.", "<CPU> Hit a ship of ? cells." },
        { "<ADV> Coloque o cano 3", "<OPP> Coloque o cano 3" },
        { "<EU> olá\n%1 %2", "<ME> olá\n%1 %2" },
        { "Redefinir novo jogo...", "New match..." },
        { "um texto que o jogo não tem", "um texto que o jogo não tem" },
    };
    for (const auto& [portuguese, english] : texts)
        EXPECT_EQ(gameText(portuguese).toStdString(), portuguese);
    QTranslator* translator = installLanguage(*QCoreApplication::instance(), Language::English);
    ASSERT_NE(translator, nullptr);
    for (const auto& [portuguese, english] : texts)
        EXPECT_EQ(gameText(portuguese).toStdString(), english);
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_EQ(gameText("Criar tabuleiro.").toStdString(), "Criar tabuleiro.");

    EXPECT_EQ(languageFromName(QStringLiteral("en")), Language::English);
    EXPECT_EQ(languageFromName(QStringLiteral("pt")), Language::Portuguese);
    EXPECT_EQ(languageFromName(QStringLiteral("EN")), std::nullopt);
    const auto asked = [](std::initializer_list<const char*> words) {
        QStringList arguments { QStringLiteral("quorvel-bot") };
        for (const char* word : words)
            arguments << QString::fromUtf8(word);
        return languageInArguments(arguments);
    };
    EXPECT_EQ(asked({ "--listen", "0", "--language", "en" }), Language::English);
    EXPECT_EQ(asked({ "--language=en", "--language", "pt" }), Language::Portuguese);
    EXPECT_EQ(asked({ "--language", "fr" }), std::nullopt);
    EXPECT_EQ(asked({ "--language" }), std::nullopt);
    EXPECT_EQ(asked({ "en" }), std::nullopt);
}

} // namespace
