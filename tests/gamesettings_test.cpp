#include "ui/gamesettings.h"

#include "filebytes.h"
#include "permissionshold.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSize>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// A first run finds no file and writes none; what is set is read back by the next run.
TEST(GameSettings, RemembersWhatWasSetAndNothingElse)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("quorvel-naval.ini"));
    {
        GameSettings first(path);
        EXPECT_TRUE(first.writable());
        EXPECT_FALSE(first.values().mode || first.values().port || first.values().level
            || first.values().sounds || first.values().language || first.values().position);
        EXPECT_TRUE(first.values().addresses.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path));
    {
        GameSettings settings(path);
        settings.setMode(1);
        settings.setPort(4321);
        for (int i = 0; i < GameSettings::RecentAddresses + 2; ++i)
            settings.addAddress(QStringLiteral("host%1.example").arg(i));
        settings.addAddress(QStringLiteral(" host3.example "));
        settings.setLevel(PlannerLevel::Easy);
        settings.setSounds(false);
        settings.setLanguage(Language::English);
        settings.setPosition(QPoint(-20, 300));
    }
    // Whatever else the INI writer puts in the file is settings too, the game's to write.
    {
        QSettings other(path, QSettings::IniFormat);
        other.setValue("other/odd key", QStringList { "a;b", "line\nbreak \"q\"", " lead" });
        other.setValue("other/size", QSize(3, 4));
        other.setValue("other/bytes", QByteArray("\0\xff=;", 4));
        other.setValue("other/ключ", "ü");
    }
    GameSettings next(path);
    EXPECT_TRUE(next.writable());
    EXPECT_EQ(next.values().mode, 1);
    EXPECT_EQ(next.values().port, 4321);
    EXPECT_EQ(next.values().addresses,
        QStringList({ "host3.example", "host9.example", "host8.example", "host7.example",
            "host6.example", "host5.example", "host4.example", "host2.example" }));
    EXPECT_EQ(next.values().level, PlannerLevel::Easy);
    EXPECT_EQ(next.values().sounds, false);
    EXPECT_EQ(next.values().language, Language::English);
    EXPECT_EQ(next.values().position, QPoint(-20, 300));
}

// Two copies of the game, one listening and one connecting, share the file: each writes what
// its player chose over what the file holds then, not over what it read at its start.
TEST(GameSettings, TwoCopiesKeepEachOthersChoices)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("quorvel-naval.ini"));
    write(path, "[computer]\nlevel=normal\n");
    GameSettings first(path);
    // Named through a link to the folder: within one program Qt keeps one copy of the file's
    // settings for all who name it alike, where two programs keep two.
    ASSERT_TRUE(QFile::link(home.path(), home.filePath(QStringLiteral("link"))));
    GameSettings second(home.filePath(QStringLiteral("link/quorvel-naval.ini")));
    first.addAddress(QStringLiteral("127.0.0.2"));
    second.addAddress(QStringLiteral("127.0.0.3"));
    second.setLevel(PlannerLevel::Hard);
    first.setLevel(PlannerLevel::Normal);
    const GameSettings next(path);
    EXPECT_EQ(next.values().addresses, QStringList({ "127.0.0.3", "127.0.0.2" }));
    EXPECT_EQ(next.values().level, PlannerLevel::Normal);
}

// Nonsense is read as nothing, and stays in the file, byte for byte, until the player sets
// that value; a file that cannot be read, or is not text, is never written.
TEST(GameSettings, NonsenseIsLeftAloneAndAnUnreadableFileNeverWritten)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("quorvel-naval.ini"));
    const QByteArray nonsense
        = "[connection]\nmode=both\nport=99999\naddresses=" + QByteArray(10'000, 'x')
        + "\n[computer]\nlevel=expert\n[settings]\nsounds=loud\n"
          "language=fr\n[window]\nposition=1e9,2\n";
    write(path, nonsense);
    {
        GameSettings settings(path);
        EXPECT_TRUE(settings.writable());
        EXPECT_FALSE(settings.values().mode || settings.values().port || settings.values().level
            || settings.values().sounds || settings.values().language
            || settings.values().position);
        EXPECT_TRUE(settings.values().addresses.isEmpty());
    }
    EXPECT_EQ(contents(path), nonsense);
    {
        GameSettings settings(path);
        settings.setLevel(PlannerLevel::Normal);
    }
    const QByteArray after = contents(path);
    EXPECT_TRUE(after.contains("level=normal")) << after.constData();
    for (const char* kept : { "mode=both", "port=99999", "sounds=loud", "language=fr" })
        EXPECT_TRUE(after.contains(kept)) << kept;

    // Somebody else's file, or the user's notes among the settings, which the INI writer would
    // drop or spell as settings, are read for what they give and never written over.
    const QString folder = home.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::pair<QString, QByteArray> others[] = {
        { "binary.ini", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rport=1\n", 17) },
        { "latin1.ini", "[connection]\naddresses=Jo\xe3o\n" },
        { "list.ini", "Shopping list\n- milk\n- eggs = 12\nCall Ana at 5\n" },
        { "notes.ini", "[connection]\n; the club's\nport=4001\nask Ana first\n" },
        { "comment.ini", "[connection]\nport=4001 ; the club's\n" },
    };
    // A pipe would hold the start up until something wrote to it; a file of settings far
    // larger than the game ever writes is not its own either.
    const QString pipe = home.filePath(QStringLiteral("pipe.ini"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QByteArray large
        = "[connection]\nport=4001\n[notes]\nx=" + QByteArray(70'000, 'a') + "\n";
    write(home.filePath(QStringLiteral("large.ini")), large);
    QStringList unreadables { folder, pipe, home.filePath(QStringLiteral("large.ini")) };
    for (const auto& [name, bytes] : others) {
        write(home.filePath(name), bytes);
        unreadables << home.filePath(name);
    }
    for (const QString& unreadable : unreadables) {
        GameSettings settings(unreadable);
        EXPECT_FALSE(settings.writable()) << unreadable.toStdString();
        settings.setPort(4000);
        settings.addAddress(QStringLiteral("example.org"));
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(contents(home.filePath(QStringLiteral("large.ini"))), large);
    for (const auto& [name, bytes] : others)
        EXPECT_EQ(contents(home.filePath(name)), bytes) << name.toStdString();
    EXPECT_EQ(GameSettings(home.filePath("notes.ini")).values().port, 4001);

    // Notes written while the game runs are kept as well.
    write(path, "[computer]\nlevel=easy\n");
    {
        GameSettings running(path);
        write(path, "[computer]\nlevel=easy\n; Ana's\n");
        running.setLevel(PlannerLevel::Hard);
    }
    EXPECT_EQ(contents(path), "[computer]\nlevel=easy\n; Ana's\n");

    // A file the player may not read is one the game may not replace.
    const QString locked = home.filePath(QStringLiteral("locked.ini"));
    write(locked, "[connection]\nport=4001\n");
    ASSERT_TRUE(QFile::setPermissions(locked, {}));
    {
        const PermissionsHold asPlayer;
        if (!asPlayer.holds())
            GTEST_SKIP() << "this thread reads any file";
        GameSettings settings(locked);
        EXPECT_FALSE(settings.writable());
        EXPECT_FALSE(settings.values().port);
        settings.setPort(4000);
    }
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(contents(locked), "[connection]\nport=4001\n");
}

} // namespace
