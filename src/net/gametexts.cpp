#include "gametexts.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <array>
#include <string_view>

namespace {

constexpr const char* context = "GameText";

// Each text of the game, in the order of TextId; "%1" stands for its argument, which is
// carried into the translation as it is.
constexpr std::array<const char*, TextCount> sources {
    QT_TRANSLATE_NOOP("GameText", "Criar tabuleiro."),
    QT_TRANSLATE_NOOP("GameText", "Coloque o cano %1"),
    QT_TRANSLATE_NOOP("GameText", "Corrija o jogo..."),
    QT_TRANSLATE_NOOP("GameText", "Jogo preenchido.A aguardar pelo outro jogador"),
    QT_TRANSLATE_NOOP("GameText", "Let the game BEGIN!\nA receber tiros."),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador está pronto."),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador randomizou o jogo e está pronto."),
    QT_TRANSLATE_NOOP("GameText", "Let the game begin!\nPode atirar."),
    QT_TRANSLATE_NOOP("GameText", "Let the game begin!\nA receber os tiros..."),
    QT_TRANSLATE_NOOP("GameText", "Aponte num local vazio...para não repetir tiros!"),
    QT_TRANSLATE_NOOP("GameText", "A receber tiros do adversario."),
    QT_TRANSLATE_NOOP("GameText", "A enviar tiro %1 ."),
    QT_TRANSLATE_NOOP("GameText", "A enviar tiro 1..."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Acertou num barco de 1 cano."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Acertou num barco de %1 canos."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Afundou um barco de 1 cano."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Afundou um barco de %1 canos."),
    QT_TRANSLATE_NOOP("GameText", "<EU> %1"),
    QT_TRANSLATE_NOOP("GameText", "<ADV> %1"),
    QT_TRANSLATE_NOOP("GameText", "Uma conecção chegou e fechou-se sem jogar."),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador ganhou. Carrege em OK para novo jogo."),
    QT_TRANSLATE_NOOP("GameText", "Melhor sorte para a próxima..."),
    QT_TRANSLATE_NOOP("GameText", "Ganhou o jogo. Carrege em OK para novo."),
    QT_TRANSLATE_NOOP("GameText", "BUM! he he he..."),
    QT_TRANSLATE_NOOP("GameText", "Erro ao comunicar dados.Buffer underrun?"),
    QT_TRANSLATE_NOOP("GameText", "Envio de mensagem"),
    QT_TRANSLATE_NOOP("GameText", "A esperar pela conecção..."),
    QT_TRANSLATE_NOOP("GameText", "A esperar pela conecção...\nPorto %1."),
    QT_TRANSLATE_NOOP("GameText",
        "Impossível criar o socket\nPode estar o porto já estar definido\nou não tem o "
        "protocolo TCP/IP instalado."),
    QT_TRANSLATE_NOOP("GameText", "TCP/IP Quorvel Naval"),
    QT_TRANSLATE_NOOP("GameText", "Reveja as definições\nde conecção."),
    QT_TRANSLATE_NOOP("GameText", "A estabelecer conecção ao servidor..."),
    QT_TRANSLATE_NOOP("GameText", "Impossível fazer conecção ao servidor/porto\nExpecificado."),
    QT_TRANSLATE_NOOP("GameText", "Conecção TCP/IP"),
    QT_TRANSLATE_NOOP("GameText", "Reveja as definições de rede."),
    QT_TRANSLATE_NOOP(
        "GameText", "As comunicações foram encerradas.Pode voltar a conectar para novo jogo."),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador fechou a conecção\nJogo terminado."),
    QT_TRANSLATE_NOOP("GameText", "Houve tentativa de conecção ao jogo por outro utilizador."),
    QT_TRANSLATE_NOOP("GameText", "Endereços deste computador: %1 — porto %2"),
    QT_TRANSLATE_NOOP("GameText", "o porto tem de estar entre 0 e 65535"),
    QT_TRANSLATE_NOOP("GameText", "ligação recusada"),
    QT_TRANSLATE_NOOP("GameText", "servidor desconhecido"),
    QT_TRANSLATE_NOOP("GameText", "tempo esgotado sem resposta"),
    QT_TRANSLATE_NOOP("GameText", "porto já em uso"),
    QT_TRANSLATE_NOOP("GameText", "permissão negada"),
    QT_TRANSLATE_NOOP("GameText", "rede inacessível"),
    QT_TRANSLATE_NOOP("GameText", "servidor inacessível"),
    QT_TRANSLATE_NOOP("GameText", "Quorvel Naval - Programa TCP/IP SERVIDOR"),
    QT_TRANSLATE_NOOP("GameText", "Quorvel Naval - Programa TCP/IP CLIENTE"),
    QT_TRANSLATE_NOOP("GameText", "TCP/IP - Quorvel Naval"),
    QT_TRANSLATE_NOOP("GameText", "Redefinir novo jogo..."),
    QT_TRANSLATE_NOOP("GameText", "Ocultar"),
    QT_TRANSLATE_NOOP("GameText", "Mostrar"),
    QT_TRANSLATE_NOOP("GameText", "Escutar"),
    QT_TRANSLATE_NOOP("GameText", "Conectar"),
};

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The game's words for a failure the system names; none for the rest.
std::optional<TextId> reasonText(ConnectionFailure::Kind kind)
{
    switch (kind) {
    case ConnectionFailure::PortOutOfRange:
        return TextId::PortOutOfRange;
    case ConnectionFailure::Refused:
        return TextId::ConnectionRefused;
    case ConnectionFailure::HostNotFound:
        return TextId::HostNotFound;
    case ConnectionFailure::TimedOut:
        return TextId::ConnectionTimedOut;
    case ConnectionFailure::AddressInUse:
        return TextId::PortInUse;
    case ConnectionFailure::Permission:
        return TextId::PermissionDenied;
    case ConnectionFailure::NetworkUnreachable:
        return TextId::NetworkUnreachable;
    case ConnectionFailure::HostUnreachable:
        return TextId::HostUnreachable;
    case ConnectionFailure::None:
    case ConnectionFailure::Other:
        break;
    }
    return std::nullopt;
}

} // namespace

QString gameText(const Text& text)
{
    const char* source = sources[static_cast<std::size_t>(text.id)];
    const QString translated = QCoreApplication::translate(context, source);
    const std::string_view words(source);
    if (words.find("%1") == std::string_view::npos)
        return translated;
    // Both at once, so that a "%2" in the first argument stays as it is.
    if (words.find("%2") != std::string_view::npos)
        return translated.arg(fromUtf8(text.argument), fromUtf8(text.secondArgument));
    return translated.arg(fromUtf8(text.argument));
}

QString gameText(TextId id) { return gameText(Text { id, {} }); }

QString sourceText(TextId id) { return QString::fromUtf8(sources[static_cast<std::size_t>(id)]); }

QString failureLine(const ConnectionFailure& failure)
{
    if (failure.kind == ConnectionFailure::None)
        return {};
    QString where = fromUtf8(failure.address);
    if (where.contains(QLatin1Char(':')))
        where = QLatin1Char('[') + where + QLatin1Char(']');
    where += QLatin1Char(':') + QString::number(failure.port);
    const std::optional<TextId> reason = reasonText(failure.kind);
    const QString why = reason ? gameText(*reason) : fromUtf8(failure.systemReason);
    return why.isEmpty() ? where : where + QStringLiteral(" — ") + why;
}

QString failureMessage(TextId text, const ConnectionFailure& failure)
{
    const QString line = failureLine(failure);
    return line.isEmpty() ? gameText(text) : gameText(text) + QLatin1Char('\n') + line;
}

std::optional<Language> languageFromName(const QString& name)
{
    if (name == QLatin1String("pt"))
        return Language::Portuguese;
    if (name == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

std::optional<Language> languageInArguments(const QStringList& arguments)
{
    // The last one given, as the command-line parser takes it.
    const QString option = QStringLiteral("--language");
    std::optional<QString> name;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size())
            name = arguments[i + 1];
        else if (arguments[i].startsWith(option + QLatin1Char('=')))
            name = arguments[i].mid(option.size() + 1);
    }
    return name ? languageFromName(*name) : std::nullopt;
}

Language desktopLanguage()
{
    const QStringList languages = QLocale::system().uiLanguages();
    const bool english
        = !languages.isEmpty() && QLocale(languages.first()).language() == QLocale::English;
    return english ? Language::English : Language::Portuguese;
}

QTranslator* installLanguage(QCoreApplication& application, Language language)
{
    const QString file = language == Language::English ? QStringLiteral(":/i18n/quorvel_en.qm")
                                                       : QStringLiteral(":/i18n/qt_pt.qm");
    auto* translator = new QTranslator(&application);
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}
