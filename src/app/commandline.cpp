#include "commandline.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cassert>

namespace {

using Kind = CommandLine::Kind;

bool takesValue(Kind kind)
{
    return kind != Kind::Switch && kind != Kind::Help && kind != Kind::Version;
}

QString optionName(const char* name) { return QStringLiteral("--") + QLatin1String(name); }

// A whole number in [low, high], spaces around it allowed, or nothing.
std::optional<qint64> wholeNumber(const QString& text, qint64 low, qint64 high)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QString badPort(const QString& text, qint64 lowest)
{
    return CommandLine::tr("o porto tem de ser um número de %1 a 65535, não '%2'")
        .arg(lowest)
        .arg(text);
}

QString noHost()
{
    return CommandLine::tr("--connect precisa do endereço do jogo a que se conectar");
}

// HOST, HOST:PORT, [IPv6] or [IPv6]:PORT; an IPv6 address without brackets has no port.
// The complaint, or nothing with the address read.
std::optional<QString> readAddress(const QString& text, CommandLine::Address& address)
{
    QString host = text.trimmed();
    QString port;
    bool hasPort = false;
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return CommandLine::tr("'%1' abre um parêntese recto que não fecha").arg(text);
        const QString rest = host.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return CommandLine::tr("'%1' tem '%2' depois do endereço").arg(text, rest);
        hasPort = !rest.isEmpty();
        port = rest.mid(1);
        host = host.mid(1, close - 1);
    } else if (host.count(QLatin1Char(':')) == 1) {
        hasPort = true;
        port = host.section(QLatin1Char(':'), 1);
        host = host.section(QLatin1Char(':'), 0, 0);
    }
    if (host.isEmpty())
        return noHost();
    address.host = host;
    if (hasPort) {
        const auto number = wholeNumber(port, 1, 65535);
        if (!number)
            return badPort(port, 1);
        address.port = static_cast<std::uint16_t>(*number);
    }
    return std::nullopt;
}

// The check of an option's value: the complaint, or nothing when the value will do.
std::optional<QString> check(
    const CommandLine::Option& option, const QString& value, const char* context)
{
    const auto complaint
        = [&] { return QCoreApplication::translate(context, option.complaint).arg(value); };
    switch (option.kind) {
    case Kind::Port:
        if (!wholeNumber(value, option.low, 65535))
            return badPort(value, option.low);
        break;
    case Kind::Number:
        if (!wholeNumber(value, option.low, option.high))
            return complaint();
        break;
    case Kind::Level:
        if (!plannerLevelFromName(value.toStdString()))
            return complaint();
        break;
    case Kind::Language:
        if (!languageFromName(value))
            return complaint();
        break;
    case Kind::Address: {
        CommandLine::Address address;
        return readAddress(value, address);
    }
    case Kind::Switch:
    case Kind::Help:
    case Kind::Version:
        break;
    }
    return std::nullopt;
}

// A mistake in the command line, as the program tells it.
QString refusal(const char* program, const QString& complaint)
{
    return CommandLine::tr("%1: %2\nExperimente '%1 --help'.\n")
        .arg(QLatin1String(program), complaint);
}

// QCommandLineParser wants a value after an option that takes one: an option that may be
// given bare gets its value written in when none follows. A negative number is a value, to
// be refused as one.
QStringList withBareValues(QStringList arguments, std::span<const CommandLine::Option> options)
{
    const auto isOption = [](const QString& argument) {
        return argument.size() > 1 && argument[0] == QLatin1Char('-') && !argument[1].isDigit();
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        for (const CommandLine::Option& option : options) {
            if (option.bare == nullptr || arguments[i] != optionName(option.name))
                continue;
            const bool valueFollows = i + 1 < arguments.size() && !isOption(arguments[i + 1]);
            if (!valueFollows)
                arguments.insert(i + 1, QLatin1String(option.bare));
        }
    }
    return arguments;
}

} // namespace

QString CommandLine::programVersion() { return QStringLiteral(QUORVEL_VERSION); }

CommandLine::Reading CommandLine::read(const Table& table, QStringList arguments)
{
    const auto text = [&table](const char* source) {
        return source ? QCoreApplication::translate(table.context, source) : QString();
    };
    const auto refuse = [&table](const QString& complaint) {
        return Reading { std::nullopt, refusal(table.program, complaint), BadArgument };
    };

    QCommandLineParser parser;
    parser.setApplicationDescription(text(table.description));
    for (const Option& option : table.options) {
        if (option.kind == Kind::Help) {
            parser.addHelpOption();
        } else if (option.kind == Kind::Version) {
            parser.addVersionOption();
        } else {
            parser.addOption({ QLatin1String(option.name), text(option.help),
                text(option.valueName), QLatin1String(option.absent) });
        }
    }
    if (!parser.parse(withBareValues(std::move(arguments), table.options)))
        return refuse(parser.errorText());

    const auto isSet = [&parser](const char* name) {
        return name != nullptr && parser.isSet(QLatin1String(name));
    };
    const auto has = [&table](Kind kind) {
        return std::ranges::any_of(
            table.options, [kind](const Option& option) { return option.kind == kind; });
    };
    if (has(Kind::Help) && (isSet("help") || isSet("help-all"))) {
        QString help = parser.helpText();
        if (!help.endsWith(QLatin1Char('\n'))) // the parser may leave the last line open
            help += QLatin1Char('\n');
        return { std::nullopt, help, 0 };
    }
    if (has(Kind::Version) && isSet("version")) {
        return { std::nullopt,
            QStringLiteral("%1 %2\n").arg(
                QCoreApplication::applicationName(), QCoreApplication::applicationVersion()),
            0 };
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(tr("argumento inesperado '%1'").arg(parser.positionalArguments().first()));

    for (const Rule& rule : table.rules) {
        const bool broken = rule.kind == Rule::Kind::Exclusive
            ? std::ranges::count_if(rule.options, isSet) > 1
            : isSet(rule.options[0]) && !isSet(rule.options[1]);
        if (broken)
            return refuse(text(rule.complaint));
    }
    if (table.once) {
        for (const Option& option : table.options) {
            if (takesValue(option.kind) && parser.values(QLatin1String(option.name)).size() > 1)
                return refuse(tr("--%1 foi dado mais de uma vez").arg(QLatin1String(option.name)));
        }
    }

    Values values;
    for (const Option& option : table.options) {
        if (!takesValue(option.kind)) {
            values.values.push_back({ &option, isSet(option.name), QString() });
            continue;
        }
        const QString value = parser.value(QLatin1String(option.name));
        if (isSet(option.name)) {
            if (const auto complaint = check(option, value, table.context))
                return refuse(*complaint);
        }
        values.values.push_back({ &option, isSet(option.name), value });
    }
    return { std::move(values), QString(), 0 };
}

const CommandLine::Values::Value& CommandLine::Values::find(std::string_view name) const
{
    const auto found = std::ranges::find_if(
        values, [name](const Value& value) { return value.option->name == name; });
    assert(found != values.end() && "a name of the table");
    return *found;
}

bool CommandLine::Values::isSet(std::string_view name) const { return find(name).set; }

// The values were checked when read: what they hold converts.
std::uint16_t CommandLine::Values::port(std::string_view name) const
{
    return static_cast<std::uint16_t>(wholeNumber(find(name).text, 0, 65535).value_or(0));
}

qint64 CommandLine::Values::number(std::string_view name) const
{
    const Value& value = find(name);
    return wholeNumber(value.text, value.option->low, value.option->high).value_or(0);
}

PlannerLevel CommandLine::Values::level(std::string_view name) const
{
    return plannerLevelFromName(find(name).text.toStdString()).value_or(PlannerLevel::Hard);
}

std::optional<Language> CommandLine::Values::language(std::string_view name) const
{
    const Value& value = find(name);
    return value.set ? languageFromName(value.text) : std::nullopt;
}

CommandLine::Address CommandLine::Values::address(std::string_view name) const
{
    const Value& value = find(name);
    Address address;
    readAddress(value.text, address);
    return address;
}
