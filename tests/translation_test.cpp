// The English translation: complete, one Portuguese text and its English for each text id,
// the argument carried into either, and chat left as it was sent; Qt's own words in the
// game's language.

#include "net/gametexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <string_view>

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

bool takesArgument(std::string_view text) { return text.find("%1") != std::string_view::npos; }

// Every text of the game, by its id: the Portuguese source, byte for byte as the game has
// always said it, and its English.
struct Words {
    TextId id;
    const char* portuguese;
    const char* english;
};
constexpr Words everyText[] = {
    { TextId::BuildFleet, "Criar tabuleiro.", "Build your fleet." },
    { TextId::PlaceCell, "Coloque o cano %1", "Place cell %1" },
    { TextId::CorrectFleet, "Corrija o jogo...", "Correct the fleet..." },
    { TextId::WaitingForOpponent, "Jogo preenchido.A aguardar pelo outro jogador",
        "Fleet complete. Waiting for the other player" },
    { TextId::BeginAsTarget, "Let the game BEGIN!\nA receber tiros.",
        "Let the game BEGIN!\nReceiving shots." },
    { TextId::OpponentReady, "O outro jogador está pronto.", "The other player is ready." },
    { TextId::OpponentReadyRandomized, "O outro jogador randomizou o jogo e está pronto.",
        "The other player generated a fleet and is ready." },
    { TextId::BeginAsShooter, "Let the game begin!\nPode atirar.",
        "Let the game begin!\nYou may fire." },
    { TextId::BeginAsTargetAfterAll, "Let the game begin!\nA receber os tiros...",
        "Let the game begin!\nReceiving the shots..." },
    { TextId::AimAtAnEmptyCell, "Aponte num local vazio...para não repetir tiros!",
        "Aim at an empty cell... no shot twice!" },
    { TextId::ReceivingShots, "A receber tiros do adversario.", "Receiving the opponent's shots." },
    { TextId::FiringShot, "A enviar tiro %1 .", "Firing shot %1 ." },
    { TextId::FiringFirstShot, "A enviar tiro 1...", "Firing shot 1..." },
    { TextId::HitShipOfOne, "<CPU> Acertou num barco de 1 cano.", "<CPU> Hit a ship of 1 cell." },
    { TextId::HitShip, "<CPU> Acertou num barco de %1 canos.", "<CPU> Hit a ship of %1 cells." },
    { TextId::SunkShipOfOne, "<CPU> Afundou um barco de 1 cano.", "<CPU> Sank a ship of 1 cell." },
    { TextId::SunkShip, "<CPU> Afundou um barco de %1 canos.", "<CPU> Sank a ship of %1 cells." },
    { TextId::MyChat, "<EU> %1", "<ME> %1" },
    { TextId::PeerChat, "<ADV> %1", "<OPP> %1" },
    { TextId::ProbeCameAndWent, "Uma conecção chegou e fechou-se sem jogar.",
        "A connection came and closed without playing." },
    { TextId::LostText, "O outro jogador ganhou. Carrege em OK para novo jogo.",
        "The other player won. Press OK for a new match." },
    { TextId::LostCaption, "Melhor sorte para a próxima...", "Better luck next time..." },
    { TextId::WonText, "Ganhou o jogo. Carrege em OK para novo.",
        "You won the match. Press OK for a new one." },
    { TextId::WonCaption, "BUM! he he he...", "BOOM! he he he..." },
    { TextId::SendFailedText, "Erro ao comunicar dados.Buffer underrun?",
        "Error sending data. Buffer underrun?" },
    { TextId::SendFailedCaption, "Envio de mensagem", "Sending a message" },
    { TextId::Listening, "A esperar pela conecção...", "Waiting for a connection..." },
    { TextId::ListeningOnPort, "A esperar pela conecção...\nPorto %1.",
        "Waiting for a connection...\nPort %1." },
    { TextId::ListenFailedText,
        "Impossível criar o socket\nPode estar o porto já estar definido\nou não tem o "
        "protocolo TCP/IP instalado.",
        "Cannot create the socket\nThe port may be in use already\nor TCP/IP is not installed." },
    { TextId::ListenFailedCaption, "TCP/IP Quorvel Naval", "TCP/IP Quorvel Naval" },
    { TextId::CheckServerSettings, "Reveja as definições\nde conecção.",
        "Check the connection\nsettings." },
    { TextId::Connecting, "A estabelecer conecção ao servidor...", "Connecting to the server..." },
    { TextId::ConnectFailedText, "Impossível fazer conecção ao servidor/porto\nExpecificado.",
        "Cannot connect to the server/port\ngiven." },
    { TextId::ConnectFailedCaption, "Conecção TCP/IP", "TCP/IP connection" },
    { TextId::CheckNetworkSettings, "Reveja as definições de rede.",
        "Check the network settings." },
    { TextId::ClosedByUs, "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.",
        "The connection is closed. Connect again for a new match." },
    { TextId::ClosedByPeer, "O outro jogador fechou a conecção\nJogo terminado.",
        "The other player closed the connection\nGame over." },
    { TextId::AnotherPlayerTried, "Houve tentativa de conecção ao jogo por outro utilizador.",
        "Another player tried to join the game." },
    { TextId::ThisComputersAddresses, "Endereços deste computador: %1 — porto %2",
        "This computer's addresses: %1 — port %2" },
    { TextId::PortOutOfRange, "o porto tem de estar entre 0 e 65535",
        "the port must be from 0 to 65535" },
    { TextId::ConnectionRefused, "ligação recusada", "connection refused" },
    { TextId::HostNotFound, "servidor desconhecido", "unknown host" },
    { TextId::ConnectionTimedOut, "tempo esgotado sem resposta", "timed out without an answer" },
    { TextId::PortInUse, "porto já em uso", "port already in use" },
    { TextId::PermissionDenied, "permissão negada", "permission denied" },
    { TextId::NetworkUnreachable, "rede inacessível", "network unreachable" },
    { TextId::HostUnreachable, "servidor inacessível", "host unreachable" },
    { TextId::ServerTitle, "Quorvel Naval - Programa TCP/IP SERVIDOR",
        "Quorvel Naval - TCP/IP program SERVER" },
    { TextId::ClientTitle, "Quorvel Naval - Programa TCP/IP CLIENTE",
        "Quorvel Naval - TCP/IP program CLIENT" },
    { TextId::ClosedTitle, "TCP/IP - Quorvel Naval", "TCP/IP - Quorvel Naval" },
    { TextId::NewMatchTitle, "Redefinir novo jogo...", "New match..." },
    { TextId::Hide, "Ocultar", "Hide" },
    { TextId::Show, "Mostrar", "Show" },
    { TextId::Listen, "Escutar", "Listen" },
    { TextId::Connect, "Conectar", "Connect" },
};

// Each id has its own Portuguese, unchanged, and an entry of its own in the translators' file
// (two of them read the same in English); a text with no argument reads the same whatever it
// is given.
TEST(Translation, EveryTextIdHasItsPortugueseAndItsEnglish)
{
    ASSERT_EQ(std::ssize(everyText), TextCount);
    for (int index = 0; index < TextCount; ++index) {
        const Words& words = everyText[index];
        SCOPED_TRACE(words.portuguese);
        EXPECT_EQ(static_cast<int>(words.id), index) << "the table follows TextId";
        EXPECT_EQ(sourceText(words.id).toUtf8().toStdString(), words.portuguese);
        if (!takesArgument(words.portuguese)) {
            EXPECT_EQ(gameText(words.id).toStdString(), words.portuguese);
            EXPECT_EQ(gameText(Text { words.id, "%1 e mais" }).toStdString(), words.portuguese);
        }
    }
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/i18n/quorvel_en.qm")));
    for (const Words& words : everyText) {
        SCOPED_TRACE(words.portuguese);
        EXPECT_EQ(english.translate("GameText", words.portuguese).toStdString(), words.english);
    }
    QTranslator* translator = installLanguage(*QCoreApplication::instance(), Language::English);
    ASSERT_NE(translator, nullptr);
    for (const Words& words : everyText) {
        if (!takesArgument(words.portuguese)) {
            EXPECT_EQ(gameText(words.id).toStdString(), words.english);
        }
        EXPECT_EQ(sourceText(words.id).toUtf8().toStdString(), words.portuguese);
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

// The argument takes the place of "%1" as it is, in either language: a count, a length as the
// reply named it, a port, a chat line (never translated, even when it reads like one of the
// game's texts, and its own "%1" left alone); a second one that of "%2", where there is one.
TEST(Translation, TheArgumentIsCarriedAndChatIsSentAsItIs)
{
    const struct {
        Text text;
        const char* portuguese;
        const char* english;
    } texts[] = {
        { { TextId::BuildFleet, {} }, "Criar tabuleiro.", "Build your fleet." },
        { { TextId::PlaceCell, "17" }, "Coloque o cano 17", "Place cell 17" },
        { { TextId::FiringShot, "2" }, "A enviar tiro 2 .", "Firing shot 2 ." },
        { { TextId::ListeningOnPort, "40123" }, "A esperar pela conecção...\nPorto 40123.",
            "Waiting for a connection...\nPort 40123." },
        { { TextId::HitShipOfOne, {} }, "<CPU> Acertou num barco de 1 cano.",
            "<CPU> Hit a ship of 1 cell." },
        { { TextId::SunkShip, "4" }, "<CPU> Afundou um barco de 4 canos.",
            "<CPU> Sank a ship of 4 cells." },
        { { TextId::HitShip, "?" }, "<CPU> Acertou num barco de ? canos.",
            "<CPU> Hit a ship of ? cells." },
        { { TextId::PeerChat, "Coloque o cano 3" }, "<ADV> Coloque o cano 3",
            "<OPP> Coloque o cano 3" },
        { { TextId::PeerChat, "Criar tabuleiro." }, "<ADV> Criar tabuleiro.",
            "<OPP> Criar tabuleiro." },
        { { TextId::MyChat, "olá\n%1 %2" }, "<EU> olá\n%1 %2", "<ME> olá\n%1 %2" },
        { { TextId::NewMatchTitle, {} }, "Redefinir novo jogo...", "New match..." },
        { { TextId::ThisComputersAddresses, "192.0.2.7, 2001:db8::5", "4000" },
            "Endereços deste computador: 192.0.2.7, 2001:db8::5 — porto 4000",
            "This computer's addresses: 192.0.2.7, 2001:db8::5 — port 4000" },
        { { TextId::ThisComputersAddresses, "%2", "1" }, "Endereços deste computador: %2 — porto 1",
            "This computer's addresses: %2 — port 1" },
    };
    for (const auto& [text, portuguese, english] : texts)
        EXPECT_EQ(gameText(text).toStdString(), portuguese);
    QTranslator* translator = installLanguage(*QCoreApplication::instance(), Language::English);
    ASSERT_NE(translator, nullptr);
    for (const auto& [text, portuguese, english] : texts)
        EXPECT_EQ(gameText(text).toStdString(), english);
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_EQ(gameText(TextId::BuildFleet).toStdString(), "Criar tabuleiro.");
}

// The texts of a standard context menu's entries, without their shortcuts.
std::string entryTexts(QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);
    }
    delete menu;
    return texts.join(QStringLiteral(" | ")).toStdString();
}

// The menus Qt itself gives the chat line, the port and address fields and the text of how to
// play speak the game's language: in Portuguese they were English.
TEST(Translation, QtsOwnContextMenusSpeakTheLanguage)
{
    const struct {
        Language language;
        QStringList lineEdit;
        QStringList textBrowser;
    } cases[] = {
        { Language::Portuguese,
            { QStringLiteral("&Anular"), QStringLiteral("&Refazer"), QStringLiteral("Cor&tar"),
                QStringLiteral("&Copiar"), QStringLiteral("Co&lar"), QStringLiteral("Eliminar"),
                QStringLiteral("Seleccionar tudo") },
            { QStringLiteral("&Copiar"), QStringLiteral("Copiar &endereço da ligação"),
                QStringLiteral("Seleccionar tudo") } },
        { Language::English,
            { QStringLiteral("&Undo"), QStringLiteral("&Redo"), QStringLiteral("Cu&t"),
                QStringLiteral("&Copy"), QStringLiteral("&Paste"), QStringLiteral("Delete"),
                QStringLiteral("Select All") },
            { QStringLiteral("&Copy"), QStringLiteral("Copy &Link Location"),
                QStringLiteral("Select All") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language == Language::English ? "English" : "Portuguese");
        QTranslator* translator = installLanguage(*QCoreApplication::instance(), c.language);
        ASSERT_NE(translator, nullptr);
        QLineEdit line(QStringLiteral("Olá"));
        EXPECT_EQ(entryTexts(line.createStandardContextMenu()),
            c.lineEdit.join(QStringLiteral(" | ")).toStdString());
        QTextBrowser browser;
        browser.setHtml(QStringLiteral("<a href=\"https://example.org/\">Ajuda</a>"));
        EXPECT_EQ(entryTexts(browser.createStandardContextMenu(QPoint(2, 2))),
            c.textBrowser.join(QStringLiteral(" | ")).toStdString());
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// The language asked for on a command line.
TEST(Translation, TheLanguageByItsName)
{
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
