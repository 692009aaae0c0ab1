// Device paths held by the tracks of a run, and the local files tracks are copied from.
#include "tracks/DevicePaths.h"
#include "tracks/SourceFile.h"

#include "support/TestHome.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(DevicePaths, ASecondTrackGetsANumberedNameAndEachKeepsItsOwn)
{
    DevicePaths paths;
    const QString intro = "\\Music\\Unknown\\Unknown\\01 Intro.mp3";
    EXPECT_EQ(paths.freePathFor(intro, u"first"), intro);
    EXPECT_TRUE(paths.claim(intro, u"first"));
    EXPECT_TRUE(paths.claim(intro, u"first")); // its own again
    EXPECT_FALSE(paths.claim(intro, u"second"));
    // Case and Unicode composition don't make another file on a phone or a FAT drive.
    EXPECT_FALSE(paths.claim("\\music\\UNKNOWN\\unknown\\01 intro.MP3", u"second"));
    EXPECT_EQ(paths.freePathFor(intro, u"second"), "\\Music\\Unknown\\Unknown\\01 Intro (2).mp3");
    EXPECT_TRUE(paths.claim("\\Music\\Unknown\\Unknown\\01 Intro (2).mp3", u"second"));
    EXPECT_EQ(paths.freePathFor(intro, u"third"), "\\Music\\Unknown\\Unknown\\01 Intro (3).mp3");
    EXPECT_EQ(paths.freePathFor(intro, u"first"), intro);
    EXPECT_EQ(paths.freePathFor("\\Music\\A\\B\\caf\u00e9", u"x"), "\\Music\\A\\B\\caf\u00e9");
    paths.claim("\\Music\\A\\B\\cafe\u0301", u"y");
    EXPECT_EQ(paths.holder("\\Music\\A\\B\\caf\u00e9"), "y");
    EXPECT_EQ(paths.freePathFor("\\Music\\A\\B\\caf\u00e9", u"x"),
              "\\Music\\A\\B\\caf\u00e9 (2)"); // no extension
    // An ASCII path is the same file as one whose characters fold to it (the Kelvin sign is k).
    paths.claim("\\Music\\Kelvin.mp3", u"k");
    EXPECT_EQ(paths.holder("\\music\\\u212Aelvin.MP3"), "k");
    EXPECT_FALSE(paths.claim("\\MUSIC\\\u212Aelvin.mp3", u"kelvin"));

    paths.release(intro, u"second"); // not its holder: nothing happens
    EXPECT_EQ(paths.holder(intro), "first");
    paths.release(intro, u"first");
    EXPECT_EQ(paths.freePathFor(intro, u"third"), intro);
}

// A track claims a path as itself: a copy of it, or any track of the same unique id, holds it
// too; another track doesn't.
TEST(DevicePaths, ATrackHoldsItsPathUnderItsUniqueId)
{
    const QString intro = "\\Music\\Unknown\\Unknown\\01 Intro.mp3";
    const Track first("Intro", "Unknown", "Unknown", 1, "/m/a/01 Intro.mp3", true, true, true, intro);
    const Track second("Intro", "Other", "Unknown", 1, "/m/b/01 Intro.mp3", true, true, true, intro);
    DevicePaths paths;
    EXPECT_TRUE(paths.claim(intro, first));
    EXPECT_TRUE(paths.claim(intro, first));
    EXPECT_TRUE(paths.claim(intro, Track(first)));
    EXPECT_TRUE(paths.claim(intro, first.uniqueId()));
    EXPECT_FALSE(paths.claim(intro, second));
    EXPECT_EQ(paths.holder(intro), first.uniqueId());
    EXPECT_EQ(paths.freePathFor(intro, second.uniqueId()), "\\Music\\Unknown\\Unknown\\01 Intro (2).mp3");
    paths.release(intro, second.uniqueId()); // not its holder: nothing happens
    EXPECT_FALSE(paths.claim(intro, second));
    paths.release(intro, first.uniqueId());
    EXPECT_TRUE(paths.claim(intro, second));
    EXPECT_EQ(paths.holder(intro), second.uniqueId());
}

// Paths released among many others leave every other path found, and free to claim again.
TEST(DevicePaths, ManyPathsClaimedAndReleased)
{
    DevicePaths paths;
    const auto path = [](int aN) { return QString("\\Music\\A%1\\B\\%2.mp3").arg(aN % 37).arg(aN); };
    for (int n = 0; n < 3000; ++n)
        ASSERT_TRUE(paths.claim(path(n), QString::number(n)));
    for (int n = 0; n < 3000; n += 2)
        paths.release(path(n), QString::number(n));
    for (int n = 0; n < 3000; ++n) {
        EXPECT_EQ(paths.holder(path(n).toUpper()), n % 2 ? QString::number(n) : QString()) << n;
        EXPECT_EQ(paths.claim(path(n), u"again"), n % 2 == 0);
    }
}

TEST(DevicePaths, NumberedNamesStayWithin255Bytes)
{
    DevicePaths paths;
    const QString longName = QString(250, QChar(0x00e9)) + ".mp3"; // 504 bytes: cut by the device first
    const QString name = DevicePaths::cutToUtf8Bytes(QString(130, QChar(0x00e9)), 251) + ".mp3";
    EXPECT_EQ(name.toUtf8().size(), 254);
    const QString path = "\\Music\\A\\B\\" + name;
    paths.claim(path, u"one");
    const QString second = paths.freePathFor(path, u"two");
    const QString secondName = second.mid(second.lastIndexOf('\\') + 1);
    EXPECT_LE(secondName.toUtf8().size(), 255);
    EXPECT_TRUE(secondName.endsWith(" (2).mp3"));
    EXPECT_EQ(DevicePaths::cutToUtf8Bytes(longName, 3), QString(1, QChar(0x00e9)));
    EXPECT_EQ(DevicePaths::cutToUtf8Bytes("abc", 0), QString());
}

TEST(SourceFile, OnlyRegularFilesOfThisComputerAreCopied)
{
    TestHome home;
    const QString file = home.writeFile("a.mp3", "x");
    EXPECT_EQ(SourceFile::check(file), SourceFile::Present);
    EXPECT_EQ(SourceFile::check(home.path() + "/b.mp3"), SourceFile::Missing);
    EXPECT_EQ(SourceFile::check(home.path()), SourceFile::NotRegular);
    const QString fifo = home.path() + "/pipe.mp3";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(SourceFile::check(fifo), SourceFile::NotRegular); // never opened: that would block
    EXPECT_EQ(SourceFile::check("/dev/zero"), SourceFile::NotRegular);

    // Paths of another computer are never looked for here, even where the working folder holds them.
    home.writeFile("Z:/Music/a.mp3", "x");
    QDir::setCurrent(home.path());
    EXPECT_EQ(SourceFile::check("Z:/Music/a.mp3"), SourceFile::Foreign);
    EXPECT_EQ(SourceFile::check("relative/a.mp3"), SourceFile::Missing);
    QDir::setCurrent(QDir::rootPath());
    EXPECT_EQ(SourceFile::foreignPrefix("z:\\Music\\a.mp3"), "z:/");
    EXPECT_EQ(SourceFile::foreignPrefix("//nas/music/Artist/a.mp3"), "//nas/music/");
    EXPECT_EQ(SourceFile::foreignPrefix("/home/u/a.mp3"), QString());
    EXPECT_TRUE(SourceFile::problem("Z:/Music/a.mp3").contains("--map-path \"Z:/=FOLDER\""));
    EXPECT_TRUE(SourceFile::problem(file).isEmpty());
}
