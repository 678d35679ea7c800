#pragma once

#include "ai/shotplanner.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

class QLockFile;

// The matches this player has won and lost, against the computer at each of its levels and
// against other players, kept between runs in a small file of its own in the program's data
// folder (~/.local/share/quorvel-naval/records.ini).
//
// The file is written whole each time a match counts, through a temporary file that replaces
// it only once complete, so a crash while writing leaves the record as it was. Before a count
// the file is read again, so two copies of the game on one machine (two players on one
// desktop) add to one record instead of writing over each other's matches; the read and the
// write are made under a lock file beside the record, as both copies count the same match at
// the same moment.
//
// A file this program could not have written is never written over nor deleted: it is set
// aside under a name of its own, and a new record begins. A record that cannot be written is
// kept in memory until the program ends, and the game goes on; the counts the file lacks are
// added to what it holds at the next write that succeeds, beside another copy's.
class MatchRecord : public QObject {
    Q_OBJECT

public:
    // The rows of the record; the computer's levels in PlannerLevel's order.
    enum class Opponent { Easy, Normal, Hard, Players };
    static constexpr int Opponents = 4;

    struct Tally {
        qint64 wins = 0;
        qint64 losses = 0;
        qint64 wonShots = 0; // fired in the matches won, all told

        bool operator==(const Tally&) const = default;
    };
    using Tallies = std::array<Tally, Opponents>;

    // Beyond this many wins or losses a count is nonsense, not a player's.
    static constexpr qint64 MostMatches = 1'000'000'000;
    // No cell is fired at twice, so no match takes more shots than the grid has cells.
    static constexpr int MostShotsPerMatch = 100;

    // How the file was found at the start.
    enum class Start {
        Fresh, // no file (or none asked for): an empty record
        Read,
        SetAside, // unreadable or nonsense: renamed to setAsidePath(), a new record begun
        LeftAlone, // unreadable and could not be renamed: the record stays in memory
    };

    // Reads the record at path; an empty path keeps a record in memory only.
    explicit MatchRecord(const QString& path, QObject* parent = nullptr);

    // records.ini in the program's data folder.
    static QString defaultPath();
    static Opponent computerAt(PlannerLevel level);

    QString path() const { return file; }
    Start started() const { return start; }
    QString setAsidePath() const { return setAsideName; }

    const Tally& tally(Opponent opponent) const;
    // The mean of the shots fired in the matches won; none before a win.
    std::optional<double> shotsPerWin(Opponent opponent) const;

    // Counts a decided match: shots, those this side fired in it.
    void count(Opponent opponent, bool won, int shots);
    // Every count back to nothing, in the file too.
    void clear();

    // Reads the text of a record file; nothing when it is not one this program writes.
    static std::optional<Tallies> parse(const QByteArray& bytes);
    static QByteArray format(const Tallies& tallies);

Q_SIGNALS:
    void changed();
    // A file found unreadable when the record was read again, renamed to path.
    void fileSetAside(const QString& path);
    // The record could not be written to its file; told once, it stays in memory.
    void saveFailed(const QString& path);

private:
    enum class Found { Missing, Record, Nonsense };
    Found readFile(Tallies& into) const;
    bool setAside();
    bool lock(QLockFile& held);
    void takeOtherCounts();
    void save(bool locked);

    QString file;
    Tallies tallies {};
    Start start = Start::Fresh;
    QString setAsideName;
    // An unreadable file could not be set aside: it is left as it is, never written.
    bool leaveFileAlone = false;
    // The counts since the last write that succeeded, which the file lacks.
    Tallies unsavedCounts {};
    // The record was erased and the file, not written since, still holds what was erased.
    bool erasePending = false;
    bool saveFailureTold = false;
};
