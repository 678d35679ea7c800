#include "gametexts.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <array>

namespace {

constexpr const char* context = "GameText";

// Every text the engine and the connection handlers show. "%1" stands for the part that
// varies; it is carried into the translation as it is.
constexpr std::array texts {
    QT_TRANSLATE_NOOP("GameText", "Redefinir novo jogo..."),
    QT_TRANSLATE_NOOP("GameText", "Criar tabuleiro."),
    QT_TRANSLATE_NOOP("GameText", "Ocultar"),
    QT_TRANSLATE_NOOP("GameText", "Mostrar"),
    QT_TRANSLATE_NOOP("GameText", "Let the game BEGIN!\nA receber tiros."),
    QT_TRANSLATE_NOOP("GameText", "Jogo preenchido.A aguardar pelo outro jogador"),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador ganhou. Carrege em OK para novo jogo."),
    QT_TRANSLATE_NOOP("GameText", "Melhor sorte para a próxima..."),
    QT_TRANSLATE_NOOP("GameText", "Ganhou o jogo. Carrege em OK para novo."),
    QT_TRANSLATE_NOOP("GameText", "BUM! he he he..."),
    QT_TRANSLATE_NOOP("GameText", "Erro ao comunicar dados.Buffer underrun?"),
    QT_TRANSLATE_NOOP("GameText", "Envio de mensagem"),
    QT_TRANSLATE_NOOP("GameText", "Aponte num local vazio...para não repetir tiros!"),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador randomizou o jogo e está pronto."),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador está pronto."),
    QT_TRANSLATE_NOOP("GameText", "Let the game begin!\nPode atirar."),
    QT_TRANSLATE_NOOP("GameText", "Let the game begin!\nA receber os tiros..."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Acertou num barco de 1 cano."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Acertou num barco de %1 canos."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Afundou um barco de 1 cano."),
    QT_TRANSLATE_NOOP("GameText", "<CPU> Afundou um barco de %1 canos."),
    QT_TRANSLATE_NOOP("GameText", "A receber tiros do adversario."),
    QT_TRANSLATE_NOOP("GameText", "A enviar tiro %1 ."),
    QT_TRANSLATE_NOOP("GameText", "A enviar tiro 1..."),
    QT_TRANSLATE_NOOP("GameText", "Coloque o cano %1"),
    QT_TRANSLATE_NOOP("GameText", "Corrija o jogo..."),
    QT_TRANSLATE_NOOP("GameText", "<EU> %1"),
    QT_TRANSLATE_NOOP("GameText", "<ADV> %1"),
    QT_TRANSLATE_NOOP("GameText", "Quorvel Naval - Programa TCP/IP SERVIDOR"),
    QT_TRANSLATE_NOOP("GameText", "Quorvel Naval - Programa TCP/IP CLIENTE"),
    QT_TRANSLATE_NOOP("GameText", "TCP/IP - Quorvel Naval"),
    QT_TRANSLATE_NOOP("GameText", "Conectar"),
    QT_TRANSLATE_NOOP("GameText", "Escutar"),
    QT_TRANSLATE_NOOP("GameText", "A esperar pela conecção..."),
    QT_TRANSLATE_NOOP("GameText", "A esperar pela conecção...\nPorto %1."),
    QT_TRANSLATE_NOOP("GameText",
        "Impossível criar o socket\nPode estar o porto já estar definido\nou não tem o "
        "protocolo TCP/IP instalado."),
    QT_TRANSLATE_NOOP("GameText", "TCP/IP Quorvel Naval"),
    QT_TRANSLATE_NOOP("GameText", "Reveja as definições\nde conecção."),
    QT_TRANSLATE_NOOP("GameText", "A estabelecer conecção ao servidor..."),
    QT_TRANSLATE_NOOP(
        "GameText", "As comunicações foram encerradas.Pode voltar a conectar para novo jogo."),
    QT_TRANSLATE_NOOP("GameText", "Houve tentativa de conecção ao jogo por outro utilizador."),
    QT_TRANSLATE_NOOP("GameText", "Impossível fazer conecção ao servidor/porto\nExpecificado."),
    QT_TRANSLATE_NOOP("GameText", "Conecção TCP/IP"),
    QT_TRANSLATE_NOOP("GameText", "Reveja as definições de rede."),
    QT_TRANSLATE_NOOP("GameText", "O outro jogador fechou a conecção\nJogo terminado."),
    QT_TRANSLATE_NOOP("GameText", "Uma conecção chegou e fechou-se sem jogar."),
};

// A text with a variable part, as a pattern that finds it.
struct Pattern {
    QRegularExpression expression;
    const char* source;
};

std::vector<Pattern> makePatterns()
{
    std::vector<Pattern> patterns;
    for (const char* source : texts) {
        const QString text = QString::fromUtf8(source);
        const qsizetype at = text.indexOf(QStringLiteral("%1"));
        if (at < 0)
            continue;
        const QString expression = QLatin1Char('^') + QRegularExpression::escape(text.left(at))
            + QStringLiteral("(.*)") + QRegularExpression::escape(text.mid(at + 2))
            + QLatin1Char('$');
        patterns.push_back(
            { QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption),
                source });
    }
    return patterns;
}

} // namespace

QString gameText(std::string_view text)
{
    for (const char* known : texts) {
        if (text == known)
            return QCoreApplication::translate(context, known);
    }
    const QString source = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    static const std::vector<Pattern> patterns = makePatterns();
    for (const Pattern& pattern : patterns) {
        const QRegularExpressionMatch match = pattern.expression.match(source);
        if (match.hasMatch())
            return QCoreApplication::translate(context, pattern.source).arg(match.captured(1));
    }
    return source;
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
