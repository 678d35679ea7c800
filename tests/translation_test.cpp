// The English translation: complete, and applied to the engine's texts by their pattern
// with chat left as it was sent.

#include "net/gametexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// Every entry of the translators' file is translated: none unfinished, vanished or empty.
TEST(Translation, EveryTextHasItsEnglish)
{
    QFile file(QStringLiteral(QUORVEL_SOURCE_DIR "/res/translations/quorvel_en.ts"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
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
            const QString translation = xml.readElementText();
            EXPECT_TRUE(type.isEmpty() && !translation.isEmpty())
                << source.toStdString() << " (" << type.toStdString() << ")";
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 60);
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
}

} // namespace
