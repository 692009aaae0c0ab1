#include "app/DiagnosticLog.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

const QRegularExpression kTimeStamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d"));

// The lines of a log file, split at CR LF, each without its time stamp.
QList<QByteArray> logBodies(const QString& aPath)
{
    const QByteArray content = readWholeFile(aPath);
    EXPECT_TRUE(content.endsWith("\r\n"));
    QList<QByteArray> bodies;
    for (qsizetype start = 0, end = 0; (end = content.indexOf("\r\n", start)) >= 0; start = end + 2) {
        const QByteArray line = content.mid(start, end - start);
        if (kTimeStamp.match(QString::fromUtf8(line)).hasMatch()) {
            bodies.append(line.mid(12));
        } else {
            // A message with line ends of its own (the fault report) goes on without a stamp.
            EXPECT_FALSE(bodies.isEmpty()) << line.constData();
            if (!bodies.isEmpty())
                bodies.last() += "\r\n" + line;
        }
    }
    return bodies;
}

// Runs the log probe with aHome as its home folder.
int runProbe(const QString& aHome, const QStringList& aArguments)
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", aHome);
    environment.insert("XDG_CONFIG_HOME", aHome + "/.config");
    environment.remove("PROCESSOR_ARCHITECTURE");
    probe.setProcessEnvironment(environment);
    probe.start(LOG_PROBE_PATH, aArguments);
    EXPECT_TRUE(probe.waitForFinished(60000));
    return probe.exitCode();
}

} // namespace

TEST(DiagnosticLog, WritesEachLineKindInTheLogFormat)
{
    QTemporaryDir folder;
    {
        DiagnosticLog log(folder.path());
        ASSERT_TRUE(log.isOn());
        log.writeEnter("SyncUi::startSync");
        log.writeValue("Tracks to copy", 12);
        log.writeValue("x", -1);
        log.writeValue("big", static_cast<int>(2147483648u));
        log.writeValue("album", QStringLiteral("Caf\u00e9"));
        log.writeValue("name", "plain");
        log.writeMessage("! Failed to set WPD_OBJECT_NAME");
        log.writeLeave("MusicSync::hasBeenCancelled");
        log.writeReturn(0);
    }
    const QList<QByteArray> bodies = logBodies(folder.path() + "/log.txt");
    const QList<QByteArray> expected = {
        ">> SyncUi::startSync",
        "    Tracks to copy = 12",
        "    x = -1",
        "    big = -2147483648",
        "    album = Caf\xc3\xa9",
        "    name = plain",
        "    ! Failed to set WPD_OBJECT_NAME",
        "<< MusicSync::hasBeenCancelled",
        "Returns: 0",
    };
    EXPECT_EQ(bodies, expected);
}

TEST(DiagnosticLog, IsOffWithoutTheFolderAndWritesNothing)
{
    QTemporaryDir parent;
    const QString folder = parent.path() + "/VLT";
    DiagnosticLog log(folder);
    EXPECT_FALSE(log.isOn());
    log.writeMessage("nothing");
    log.copyToFolder(parent.path(), "x");
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QDir(parent.path()).isEmpty());
}

TEST(DiagnosticLog, LinesFromManyThreadsNeverInterleaveAndTimeNeverGoesBack)
{
    QTemporaryDir folder;
    {
        DiagnosticLog log(folder.path());
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&log, t] {
                for (int i = 0; i < 300; ++i) {
                    log.writeValue("thread", t);
                    log.writeEnter("Worker::step");
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    }
    const QByteArray content = readWholeFile(folder.path() + "/log.txt");
    const QList<QByteArray> lines = content.split('\n');
    ASSERT_EQ(lines.size(), 4 * 300 * 2 + 1);
    const QRegularExpression line(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d(    thread = [0-3]|>> Worker::step)\r$"));
    QByteArray previous;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_TRUE(line.match(QString::fromUtf8(lines[i])).hasMatch()) << lines[i].constData();
        const QByteArray stamp = lines[i].left(12);
        EXPECT_LE(previous, stamp);
        previous = stamp;
    }
}

TEST(DiagnosticLog, CopyToFolderReplacesAnEarlierCopyAndStaysInTheFolder)
{
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    const QString source = elsewhere.path() + "/messages.xml";
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<messages/>");
    }
    DiagnosticLog log(folder.path());
    log.copyToFolder(source, "messages.xml");
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<messages>new</messages>");
    }
    log.copyToFolder(source, "messages.xml");
    EXPECT_EQ(readWholeFile(folder.path() + "/messages.xml"), QByteArray("<messages>new</messages>"));
    log.copyToFolder(source, "../escaped.xml");
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(folder.path()).absolutePath() + "/escaped.xml"));
    EXPECT_TRUE(QFileInfo::exists(folder.path() + "/escaped.xml"));
}

TEST(ProcessLog, IsOnlyWrittenWhenTheDesktopFolderExistsAtStart)
{
    TestHome home;
    EXPECT_EQ(runProbe(home.path(), {"first"}), 0);
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/Desktop/VLT"));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/Desktop/VLT/log.txt"));
}

TEST(ProcessLog, RecordsTheRunAndIsZippedAtExit)
{
    TestHome home;
    const QString folder = home.path() + "/Desktop/VLT";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString source = home.writeFile("Info.plist", "<plist/>");
    ASSERT_EQ(runProbe(home.path(), {"first", source, "Info.plist"}), 0);

    const QList<QByteArray> bodies = logBodies(folder + "/log.txt");
    ASSERT_GE(bodies.size(), 10);
    EXPECT_EQ(bodies[0], "    KORDA LOG");
    EXPECT_EQ(bodies[1], ">> mainInt");
    EXPECT_EQ(bodies[2], "    argc = 4");
    EXPECT_EQ(bodies[3], "    Application data path = " + QFile::encodeName(home.path()));
    EXPECT_EQ(bodies[4], "    marker = first");
    const int leave = bodies.indexOf("<< Probe::run");
    ASSERT_GT(leave, 0);
    EXPECT_EQ(bodies[leave + 1], "Returns: 1");
    EXPECT_TRUE(bodies.contains("    x = -1"));
    EXPECT_TRUE(bodies.contains("    count = -1294967296"));
    EXPECT_TRUE(bodies.contains("    album = Ol\xc3\xa9 \xe2\x80\x93 WALL\xe2\x80\xa2"
                                "E"));
    EXPECT_TRUE(bodies.contains("    wide = na\xc3\xafve"));
    EXPECT_TRUE(bodies.contains("    guarded work completed = 0"));
    EXPECT_EQ(bodies[bodies.size() - 2], "<< mainInt");
    EXPECT_EQ(bodies.last(), "Returns: 0");

    // The fault report is one message whose own lines follow it, innermost frame first.
    const auto report = std::find_if(bodies.begin(), bodies.end(), [](const QByteArray& aBody) {
        return aBody.startsWith("    Exception: ");
    });
    ASSERT_NE(report, bodies.end());
    EXPECT_TRUE(report->startsWith("    Exception: EXCEPTION_ACCESS_VIOLATION\r\n" + QByteArray(66, '-') +
                                   "\r\nFunction : (anonymous namespace)::readThroughNull"))
        << report->constData();
    EXPECT_TRUE(report->contains("LogProbe.cpp]"));
    EXPECT_LE(report->count("Function : "), 6);

    EXPECT_EQ(readWholeFile(folder + "/Info.plist"), QByteArray("<plist/>"));
    ASSERT_TRUE(QFileInfo::exists(folder + "/compressed_log.zip"));
    QProcess list;
    list.start("7z", {"l", folder + "/compressed_log.zip"});
    ASSERT_TRUE(list.waitForFinished(60000));
    EXPECT_TRUE(list.readAllStandardOutput().contains("log.txt"));
}

TEST(ProcessLog, EachRunStartsANewLogAndUpdatesTheZip)
{
    TestHome home;
    const QString folder = home.path() + "/Desktop/VLT";
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(runProbe(home.path(), {"first"}), 0);
    const qint64 firstZip = QFileInfo(folder + "/compressed_log.zip").size();
    ASSERT_GT(firstZip, 0);
    ASSERT_EQ(runProbe(home.path(), {"second"}), 0);
    const QByteArray content = readWholeFile(folder + "/log.txt");
    EXPECT_EQ(content.count("KORDA LOG"), 1);
    EXPECT_TRUE(content.contains("marker = second"));
    EXPECT_FALSE(content.contains("marker = first"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/compressed_log.zip"));
}
