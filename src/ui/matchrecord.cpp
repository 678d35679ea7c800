#include "matchrecord.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <string_view>

namespace {

// The sections of the file, in the order of the rows.
constexpr std::string_view groupNames[] = { "easy", "normal", "hard", "players" };
constexpr std::string_view tallyKeys[] = { "wins", "losses", "shots" };
constexpr std::string_view version = "1";

// The program writes a few hundred bytes; anything much larger is somebody else's.
constexpr qint64 LargestFile = 4096;

// A write takes a moment: a lock older than the first was left by a copy that crashed (one on
// this machine is seen to be gone at once). Another copy's lock is waited for no longer than
// the second, as the game waits with it; the count is then written with the next.
constexpr int StaleLockMs = 10'000;
constexpr int LockWaitMs = 500;

// Digits only: no sign, no space, no exponent, and no more than the limit.
std::optional<qint64> wholeCount(const QByteArray& text, qint64 most)
{
    if (text.isEmpty() || text.size() > 12)
        return std::nullopt;
    if (!std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value > most)
        return std::nullopt;
    return value;
}

// A count past the limit is not taken: the file would no longer be read back.
void add(MatchRecord::Tally& to, const MatchRecord::Tally& more)
{
    if (to.wins + more.wins > MatchRecord::MostMatches
        || to.losses + more.losses > MatchRecord::MostMatches)
        return;
    to.wins += more.wins;
    to.losses += more.losses;
    to.wonShots += more.wonShots;
}

} // namespace

MatchRecord::MatchRecord(const QString& path, QObject* parent)
    : QObject(parent)
    , file(path)
{
    if (file.isEmpty())
        return;
    switch (readFile(tallies)) {
    case Found::Missing:
        break;
    case Found::Record:
        start = Start::Read;
        break;
    case Found::Nonsense:
        if (setAside()) {
            start = Start::SetAside;
        } else {
            // Told by started(); a failed save says nothing more.
            start = Start::LeftAlone;
            leaveFileAlone = true;
            saveFailureTold = true;
        }
        break;
    }
}

QString MatchRecord::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/records.ini");
}

MatchRecord::Opponent MatchRecord::computerAt(PlannerLevel level)
{
    switch (level) {
    case PlannerLevel::Easy:
        return Opponent::Easy;
    case PlannerLevel::Normal:
        return Opponent::Normal;
    case PlannerLevel::Hard:
        break;
    }
    return Opponent::Hard;
}

const MatchRecord::Tally& MatchRecord::tally(Opponent opponent) const
{
    return tallies[static_cast<std::size_t>(opponent)];
}

std::optional<double> MatchRecord::shotsPerWin(Opponent opponent) const
{
    const Tally& counted = tally(opponent);
    if (counted.wins == 0)
        return std::nullopt;
    return static_cast<double>(counted.wonShots) / static_cast<double>(counted.wins);
}

void MatchRecord::count(Opponent opponent, bool won, int shots)
{
    Tally match;
    if (won) {
        match.wins = 1;
        match.wonShots = std::clamp(shots, 0, MostShotsPerMatch);
    } else {
        match.losses = 1;
    }
    {
        QLockFile held(file + QStringLiteral(".lock"));
        const bool locked = lock(held);
        if (locked)
            takeOtherCounts();
        add(tallies[static_cast<std::size_t>(opponent)], match);
        add(unsavedCounts[static_cast<std::size_t>(opponent)], match);
        save(locked);
    }
    Q_EMIT changed();
}

void MatchRecord::clear()
{
    tallies = {};
    unsavedCounts = {};
    erasePending = true;
    {
        QLockFile held(file + QStringLiteral(".lock"));
        save(lock(held));
    }
    Q_EMIT changed();
}

std::optional<MatchRecord::Tallies> MatchRecord::parse(const QByteArray& bytes)
{
    Tallies read {};
    // The version, then each group's wins, losses and shots: each once, and all of them.
    std::array<bool, 1 + 3 * Opponents> found {};
    int section = -2; // -2 before any section, -1 in [record], else a group
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            const QByteArray name = line.mid(1, line.size() - 2);
            const auto* group = std::ranges::find(groupNames, name.toStdString());
            if (name == "record")
                section = -1;
            else if (group != std::end(groupNames))
                section = static_cast<int>(group - std::begin(groupNames));
            else
                return std::nullopt;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            return std::nullopt;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        std::size_t slot = 0;
        if (section == -1 && key == "version") {
            if (value.toStdString() != version)
                return std::nullopt;
        } else if (section >= 0) {
            const auto* name = std::ranges::find(tallyKeys, key.toStdString());
            if (name == std::end(tallyKeys))
                return std::nullopt;
            const auto which = static_cast<std::size_t>(name - std::begin(tallyKeys));
            const qint64 most = which == 2 ? MostMatches * MostShotsPerMatch : MostMatches;
            const std::optional<qint64> number = wholeCount(value, most);
            if (!number)
                return std::nullopt;
            Tally& counted = read[static_cast<std::size_t>(section)];
            (which == 0 ? counted.wins : which == 1 ? counted.losses : counted.wonShots) = *number;
            slot = 1 + 3 * static_cast<std::size_t>(section) + which;
        } else {
            return std::nullopt;
        }
        if (found[slot])
            return std::nullopt;
        found[slot] = true;
    }
    if (!std::ranges::all_of(found, [](bool present) { return present; }))
        return std::nullopt;
    // The shots of the matches won: none without a win, and at most a grid's worth each.
    for (const Tally& counted : read) {
        if (counted.wonShots > counted.wins * MostShotsPerMatch)
            return std::nullopt;
    }
    return read;
}

QByteArray MatchRecord::format(const Tallies& tallies)
{
    QByteArray text = "; Quorvel Naval: the matches won and lost, by opponent; the shots are\n"
                      "; those fired in the matches won.\n"
                      "[record]\nversion=";
    text += QByteArray(version.data(), static_cast<qsizetype>(version.size()));
    text += '\n';
    for (std::size_t group = 0; group < tallies.size(); ++group) {
        const Tally& counted = tallies[group];
        const std::string_view name = groupNames[group];
        text += "\n[" + QByteArray(name.data(), static_cast<qsizetype>(name.size())) + "]\n";
        text += "wins=" + QByteArray::number(counted.wins) + '\n';
        text += "losses=" + QByteArray::number(counted.losses) + '\n';
        text += "shots=" + QByteArray::number(counted.wonShots) + '\n';
    }
    return text;
}

MatchRecord::Found MatchRecord::readFile(Tallies& into) const
{
    QFile source(file);
    if (!QFileInfo::exists(file))
        return Found::Missing;
    // Not a file (a pipe would hold the start up until something wrote to it): not ours.
    if (!QFileInfo(file).isFile() || !source.open(QIODevice::ReadOnly))
        return Found::Nonsense;
    const QByteArray bytes = source.read(LargestFile + 1);
    if (bytes.size() > LargestFile)
        return Found::Nonsense;
    const std::optional<Tallies> read = parse(bytes);
    if (!read)
        return Found::Nonsense;
    into = *read;
    return Found::Record;
}

// Beside the file, named for the moment it was found; a name already taken (two in one
// second) gets a number, as a rename never replaces a file.
bool MatchRecord::setAside()
{
    const QString stamp
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    const QString base = file + QStringLiteral(".corrupt-") + stamp;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString name
            = attempt == 1 ? base : base + QLatin1Char('-') + QString::number(attempt);
        if (QFile::rename(file, name)) {
            setAsideName = name;
            return true;
        }
        if (!QFileInfo::exists(name))
            return false; // the rename failed for another reason
    }
    return false;
}

// Another copy of the game reads and writes the file under the same lock, so neither writes
// over a count the other made between its read and its write.
bool MatchRecord::lock(QLockFile& held)
{
    if (file.isEmpty() || leaveFileAlone)
        return false;
    QDir().mkpath(QFileInfo(file).absolutePath());
    held.setStaleLockTime(StaleLockMs);
    return held.tryLock(LockWaitMs);
}

// Another copy of the game may have counted since, even while this copy's writes failed: its
// counts are the file's, and this copy's that the file lacks are added to them. An erase the
// file lacks leaves out what the file held.
void MatchRecord::takeOtherCounts()
{
    if (file.isEmpty() || leaveFileAlone)
        return;
    Tallies read {};
    switch (readFile(read)) {
    case Found::Missing:
        break;
    case Found::Record:
        tallies = erasePending ? Tallies {} : read;
        for (std::size_t row = 0; row < tallies.size(); ++row)
            add(tallies[row], unsavedCounts[row]);
        break;
    case Found::Nonsense:
        if (setAside()) {
            Q_EMIT fileSetAside(setAsideName);
        } else {
            leaveFileAlone = true;
        }
        break;
    }
}

// Written only under the lock; a count made without it waits in memory for the next.
void MatchRecord::save(bool locked)
{
    if (file.isEmpty())
        return;
    bool saved = false;
    if (locked) {
        QSaveFile out(file);
        const QByteArray text = format(tallies);
        // The text waits in the file's buffer until flushed, and a commit would put the
        // temporary file in place even when that flush failed (a full disk): it is flushed
        // first, and what is not committed is thrown away, the old file staying whole.
        saved = out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.flush()
            && out.commit();
    }
    if (saved) {
        unsavedCounts = {};
        erasePending = false;
    }
    if (!saved && !saveFailureTold) {
        saveFailureTold = true;
        Q_EMIT saveFailed(file);
    }
}
