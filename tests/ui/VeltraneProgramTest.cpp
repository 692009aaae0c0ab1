// The desktop program itself: its entry function finds its translation, opens the window, and
// ends cleanly (log closed and zipped) when the session ends it with SIGTERM.
#include "support/TestHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

TEST(VeltraneProgram, StartsTranslatedAndEndsCleanlyOnSigterm)
{
    TestHome home;
    QDir().mkpath(home.path() + "/Desktop/VLT");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    environment.insert("XDG_DATA_HOME", home.path() + "/.local/share");
    environment.remove("XDG_DESKTOP_DIR");
    environment.insert("LC_ALL", "fr_FR.UTF-8");
    environment.insert("LANG", "fr_FR.UTF-8");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(VELTRANE_PATH, {});
    ASSERT_TRUE(program.waitForStarted(10000));
    const QString log = home.path() + "/Desktop/VLT/log.txt";
    QElapsedTimer clock;
    clock.start();
    while (!readWholeFile(log).contains(">> SyncUi::waitExpired") && clock.elapsed() < 30000)
        QThread::msleep(50);
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
