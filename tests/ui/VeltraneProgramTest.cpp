// The desktop program itself: its entry function finds its translation, opens the window, and
// ends cleanly (log closed and zipped) when the session ends it with SIGTERM, at whatever moment of
// its start.
#include "support/LibraryXmlWriter.h"
#include "support/TestHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Starts the program in aHome (French, offscreen); its log is aHome/Desktop/VLT/log.txt.
void start(QProcess& aProgram, const TestHome& aHome)
{
    QDir().mkpath(aHome.path() + "/Desktop/VLT");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", aHome.path());
    environment.insert("XDG_CONFIG_HOME", aHome.path() + "/.config");
    environment.insert("XDG_DATA_HOME", aHome.path() + "/.local/share");
    environment.remove("XDG_DESKTOP_DIR");
    environment.insert("LC_ALL", "fr_FR.UTF-8");
    environment.insert("LANG", "fr_FR.UTF-8");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    aProgram.setProcessEnvironment(environment);
    aProgram.setProcessChannelMode(QProcess::MergedChannels);
    aProgram.start(VELTRANE_PATH, {});
    ASSERT_TRUE(aProgram.waitForStarted(10000));
}

// Waits until the program's log holds aLine; false after aTimeoutMs.
bool waitForLog(const TestHome& aHome, const QByteArray& aLine, int aTimeoutMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    while (!readWholeFile(aHome.path() + "/Desktop/VLT/log.txt").contains(aLine)) {
        if (clock.elapsed() > aTimeoutMs)
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace

TEST(VeltraneProgram, StartsTranslatedAndEndsCleanlyOnSigterm)
{
    TestHome home;
    QProcess program;
    start(program, home);
    const QString log = home.path() + "/Desktop/VLT/log.txt";
    waitForLog(home, ">> SyncUi::waitExpired");
    const QByteArray started = readWholeFile(log);
    EXPECT_TRUE(started.startsWith(started.left(12) + "    KORDA LOG\r\n")) << started.left(200).constData();
    EXPECT_TRUE(started.contains("    locale = fr_FR\r\n"));
    EXPECT_TRUE(started.contains("    Translation loaded\r\n")) << started.constData();
    EXPECT_TRUE(started.contains(">> SyncUi::SyncUi\r\n"));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << program.readAll().constData();
    EXPECT_EQ(program.exitCode(), 0);
    const QByteArray ended = readWholeFile(log);
    // The entry function's exit and result, then the window's own destruction.
    const qsizetype exit = ended.indexOf("<< mainInt\r\n");
    ASSERT_GE(exit, 0);
    EXPECT_TRUE(ended.mid(exit).contains("Returns: 0\r\n"));
    EXPECT_GT(ended.indexOf(">> SyncUi::~SyncUi"), exit);
    EXPECT_TRUE(QFile::exists(home.path() + "/Desktop/VLT/compressed_log.zip"))
        << QDir(home.path() + "/Desktop/VLT").entryList().join(",").toStdString()
        << program.readAll().constData();
}

TEST(VeltraneProgram, ALargeLibraryStartClosesAtEveryMoment)
{
    // 30,000 tracks: reading takes seconds, then the podcast names are read, then (with no
    // settings yet) the setup wizard opens over the window.
    TestHome home;
    LibraryXmlWriter writer;
    XmlPlaylistEntry all{"Library", true, -1, false, false, false, {}};
    for (int i = 1; i <= 30000; ++i) {
        writer.tracks.append({i, QString("Track %1").arg(i), QString("Artist %1").arg(i / 100),
                              QString("Album %1").arg(i / 10),
                              "file:///Z:/Music/" + QString::number(i) + ".mp3"});
        all.trackIds.append(i);
    }
    writer.playlists.append(all);
    QDir().mkpath(home.path() + "/Music/iTunes");
    ASSERT_TRUE(writer.writeTo(home.path() + "/Music/iTunes/iTunes Music Library.xml"));
    for (const QByteArray& moment : {QByteArray("Reading iTunes library"), QByteArray(">> PodcastRamCache"),
                                     QByteArray("Config not found - go to setup wizard")}) {
        QFile::remove(home.path() + "/Desktop/VLT/log.txt");
        QProcess program;
        start(program, home);
        ASSERT_TRUE(waitForLog(home, moment)) << moment.constData();
        QElapsedTimer clock;
        clock.start();
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(15000)) << moment.constData();
        EXPECT_LT(clock.elapsed(), 5000) << moment.constData();
        EXPECT_EQ(program.exitCode(), 0) << moment.constData() << program.readAll().constData();
    }
}
