#include "ui/gamesettings.h"

#include "filebytes.h"
#include "permissionshold.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    GameSettings next(path);
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

    const QString folder = home.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString binary = home.filePath(QStringLiteral("binary.ini"));
    const QByteArray noise("\x89PNG\r\n\x1a\n\0\0\0\rport=1\n", 17);
    write(binary, noise);
    for (const QString& unreadable : { folder, binary }) {
        GameSettings settings(unreadable);
        EXPECT_FALSE(settings.writable());
        settings.setPort(4000);
        settings.addAddress(QStringLiteral("example.org"));
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(contents(binary), noise);

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
