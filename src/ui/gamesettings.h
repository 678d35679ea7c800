#pragma once

#include "ai/shotplanner.h"
#include "net/gametexts.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

// What the game remembers between runs, in a file of its own beside colours.ini
// (~/.config/quorvel-naval/quorvel-naval.ini). Each value is read once and checked; what cannot
// be understood is left out, so the game starts with its default for it. A value is written
// only when the player changes it, so nonsense in the file stays the user's until then; and it
// is compared with, and written over, what the file holds at that moment rather than what was
// read at the start, so two copies of the game running at once keep each other's choices. A
// file that cannot be read, or holds something other than settings (a note, a comment), is
// never written at all: the INI writer would drop what it does not understand.
class GameSettings {
public:
    struct Values {
        std::optional<int> mode; // 0 server, 1 client
        std::optional<int> port;
        QStringList addresses; // connected to, the latest first
        std::optional<PlannerLevel> level;
        std::optional<bool> sounds;
        std::optional<Language> language;
        std::optional<QPoint> position; // of the window's frame
    };

    static constexpr int RecentAddresses = 8;
    // A host name is at most 253 characters; anything longer is not an address.
    static constexpr int LongestAddress = 255;

    explicit GameSettings(const QString& path);
    ~GameSettings();
    GameSettings(const GameSettings&) = delete;
    GameSettings& operator=(const GameSettings&) = delete;

    // quorvel-naval.ini in the program's configuration folder.
    static QString defaultPath();

    // What was read at the start, with what this copy has set since; the recent addresses as
    // the last one added left them, with those another copy added.
    const Values& values() const { return read; }
    // False when the file could not be read or understood: nothing is written then.
    bool writable() const { return canWrite; }

    void setMode(int mode);
    void setPort(int port);
    // Puts the address first among the recent ones.
    void addAddress(const QString& address);
    void setLevel(PlannerLevel level);
    void setSounds(bool on);
    void setLanguage(Language language);
    void setPosition(QPoint position);

private:
    bool reread();
    void write(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> file;
    bool canWrite = false;
    Values read;
};
