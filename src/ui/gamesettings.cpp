#include "gamesettings.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString modeKey = QStringLiteral("connection/mode");
const QString portKey = QStringLiteral("connection/port");
const QString addressesKey = QStringLiteral("connection/addresses");
const QString levelKey = QStringLiteral("computer/level");
const QString soundsKey = QStringLiteral("settings/sounds");
const QString languageKey = QStringLiteral("settings/language");
const QString positionKey = QStringLiteral("window/position");

const QString modeNames[] = { QStringLiteral("server"), QStringLiteral("client") };

// The game's own file is a few hundred bytes. One far larger, or anything but a file (a
// folder, or a pipe, whose reading would hold the start up until something wrote to it), is
// somebody else's: it is neither read nor written.
constexpr qint64 LargestFile = 64 * 1024;

bool mayRead(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() <= LargestFile);
}

// What a file that may be read holds as text: empty when there is no file yet, none when it
// cannot be read or is not text (the INI reader takes almost anything for settings; a file
// that is not text is somebody else's, not ours to write over).
std::optional<QString> textOf(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    QString text = QString::fromUtf8(bytes);
    if (bytes.contains('\0') || text.toUtf8() != bytes)
        return std::nullopt;
    return text;
}

// A line as the INI writer writes one: a "[group]", or a "key=value" whose key is spelled as
// the writer spells keys (letters, digits, "_-.", "\" for "/", %-escapes for the rest).
bool isSettingsLine(const QString& line)
{
    static const QString name
        = QStringLiteral("(?:[A-Za-z0-9_.\\\\-]|%[0-9A-Fa-f]{2}|%U[0-9A-Fa-f]{4})+");
    static const QRegularExpression group(QStringLiteral("^\\[") + name + QStringLiteral("\\]$"));
    static const QRegularExpression setting(QLatin1Char('^') + name + QStringLiteral("[ \t]*="));
    return group.match(line).hasMatch() || setting.match(line).hasMatch();
}

// Every line is one the INI writer would write again. Anything else (a note, a line without a
// key, a comment after ';') is the user's: the writer would drop it, or spell it as a setting
// of its own, so such a file is read but never written. A backslash carries a line on over its
// end, as the reader takes it; the writer ends no line inside quotes.
bool holdsOnlySettings(const QString& text)
{
    QString line;
    bool quoted = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const QChar c = i < text.size() ? text[i] : QLatin1Char('\n');
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            const QString whole = line.trimmed();
            if (quoted || (!whole.isEmpty() && !isSettingsLine(whole)))
                return false;
            line.clear();
            continue;
        }
        line += c;
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            line += text[++i];
            if (text[i] == QLatin1Char('\r') && i + 1 < text.size()
                && text[i + 1] == QLatin1Char('\n'))
                line += text[++i];
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(';') && !quoted) {
            return false;
        }
    }
    return true;
}

// A file that may be read may be written when there is none yet, or when it is text and
// settings only.
bool mayWrite(const QString& path)
{
    const std::optional<QString> text = textOf(path);
    return text && holdsOnlySettings(*text);
}

std::optional<int> wholeNumber(const QVariant& value, int low, int high)
{
    bool isNumber = false;
    const int number = value.toString().trimmed().toInt(&isNumber);
    if (!isNumber || number < low || number > high)
        return std::nullopt;
    return number;
}

// An address as the window takes one: some text, no control characters, not too long.
bool isAddress(const QString& text)
{
    return !text.trimmed().isEmpty() && text.size() <= GameSettings::LongestAddress
        && std::ranges::none_of(text, [](QChar c) { return c.category() == QChar::Other_Control; });
}

std::optional<bool> truth(const QVariant& value)
{
    const QString text = value.toString().trimmed();
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    return std::nullopt;
}

std::optional<QPoint> point(const QVariant& value)
{
    const QStringList parts = value.toString().split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    // Screens lie within a few tens of thousands of pixels of the origin.
    const auto x = wholeNumber(parts[0], -100'000, 100'000);
    const auto y = wholeNumber(parts[1], -100'000, 100'000);
    if (!x || !y)
        return std::nullopt;
    return QPoint(*x, *y);
}

// The recent addresses the file holds, leaving out what is not an address.
QStringList addressesIn(const QSettings& file)
{
    QStringList addresses;
    for (const QString& address : file.value(addressesKey).toStringList()) {
        if (isAddress(address) && !addresses.contains(address.trimmed())
            && addresses.size() < GameSettings::RecentAddresses)
            addresses.append(address.trimmed());
    }
    return addresses;
}

} // namespace

GameSettings::GameSettings(const QString& path)
{
    if (!mayRead(path))
        return;
    file = std::make_unique<QSettings>(path, QSettings::IniFormat);
    canWrite = file->status() == QSettings::NoError && mayWrite(path);
    if (file->status() == QSettings::AccessError)
        return;

    const QString mode = file->value(modeKey).toString().trimmed();
    if (const auto* found = std::ranges::find(modeNames, mode); found != std::end(modeNames))
        read.mode = static_cast<int>(found - std::begin(modeNames));
    read.port = wholeNumber(file->value(portKey), 0, 65535);
    read.addresses = addressesIn(*file);
    read.level = plannerLevelFromName(file->value(levelKey).toString().trimmed().toStdString());
    read.sounds = truth(file->value(soundsKey));
    read.language = languageFromName(file->value(languageKey).toString().trimmed());
    read.position = point(file->value(positionKey));
}

GameSettings::~GameSettings() = default;

QString GameSettings::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/quorvel-naval.ini");
}

// The file is read again before each write: another copy of the game may have written to it
// since this one read it, or the user may have written notes in it. False when it may not be
// written.
bool GameSettings::reread()
{
    if (!canWrite || !mayRead(file->fileName()))
        return false;
    file->sync();
    return file->status() == QSettings::NoError && mayWrite(file->fileName());
}

// Written through at once: a program that is killed keeps what the player chose. A value the
// file holds already is not written again, whatever this copy read at its start.
void GameSettings::write(const QString& key, const QVariant& value)
{
    if (!reread() || file->value(key) == value)
        return;
    file->setValue(key, value);
    file->sync();
    if (file->status() != QSettings::NoError)
        canWrite = false;
}

void GameSettings::setMode(int mode)
{
    if (mode < 0 || mode > 1)
        return;
    read.mode = mode;
    write(modeKey, modeNames[mode]);
}

void GameSettings::setPort(int port)
{
    if (port < 0 || port > 65535)
        return;
    read.port = port;
    write(portKey, QString::number(port));
}

// The address goes before those the file holds now, so that two copies of the game keep the
// addresses both connected to.
void GameSettings::addAddress(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (!isAddress(trimmed))
        return;
    if (reread())
        read.addresses = addressesIn(*file);
    if (!read.addresses.isEmpty() && read.addresses.first() == trimmed)
        return;
    read.addresses.removeAll(trimmed);
    read.addresses.prepend(trimmed);
    while (read.addresses.size() > RecentAddresses)
        read.addresses.removeLast();
    write(addressesKey, read.addresses);
}

void GameSettings::setLevel(PlannerLevel level)
{
    read.level = level;
    write(levelKey, QString::fromLatin1(plannerLevelName(level)));
}

void GameSettings::setSounds(bool on)
{
    read.sounds = on;
    write(soundsKey, on ? QStringLiteral("true") : QStringLiteral("false"));
}

void GameSettings::setLanguage(Language language)
{
    read.language = language;
    write(languageKey, language == Language::English ? QStringLiteral("en") : QStringLiteral("pt"));
}

void GameSettings::setPosition(QPoint position)
{
    read.position = position;
    write(positionKey, QStringLiteral("%1,%2").arg(position.x()).arg(position.y()));
}
