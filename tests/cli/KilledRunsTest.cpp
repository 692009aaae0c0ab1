// Runs killed outright at random points of the copy and of the deletion phase, each followed by
// a run that must repair everything: every chosen track on the drive byte for byte as its file,
// the cache recording exactly what the drive holds, and nothing else on the drive. The points
// are drawn from a seeded generator, so a failure names the seed and the kill that found it.
#include "cli/CliFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <csignal>

namespace {

class KilledRunsTest : public CliFixture
{
protected:
    void SetUp() override
    {
        makeLibrary(kTracks, 20.0); // tracks of about 170 KB
    }

    // Starts a run and kills it once aReady says the drive has reached the drawn point; true
    // when the kill found the run still going.
    bool killWhen(const QStringList& aArguments, const std::function<bool()>& aReady)
    {
        std::unique_ptr<QProcess> process(start(aArguments));
        for (int i = 0; i < 20000 && process->state() == QProcess::Running && !aReady(); ++i)
            QThread::usleep(250);
        process->kill();
        process->waitForFinished(30000);
        return process->exitStatus() == QProcess::CrashExit;
    }

    // The state a repairing run must leave, for the chosen tracks aChosen (1-based numbers).
    void expectRepaired(const QList<int>& aChosen, const QString& aWhere)
    {
        QByteArray output;
        ASSERT_EQ(run({"--device", mDrive, "--yes"}, &output), 0)
            << aWhere.toStdString() << output.constData();
        QStringList expected;
        for (int number : aChosen)
            expected.append(QString("/Music/Band/Album/%1 Song.m4a").arg(number, 2, 10, QChar('0')));
        expected.sort();
        EXPECT_EQ(filesOnDrive("*.m4a"), expected) << aWhere.toStdString();
        for (const QString& file : expected) {
            EXPECT_EQ(readWholeFile(mDrive + file), readWholeFile(mediaFolder() + QFileInfo(file).fileName()))
                << aWhere.toStdString() << " " << file.toStdString();
        }
        const QMap<QString, qint64> recorded = cached();
        EXPECT_EQ(QStringList(recorded.keys()), expected) << aWhere.toStdString();
        for (auto it = recorded.begin(); it != recorded.end(); ++it)
            EXPECT_EQ(QFileInfo(mDrive + it.key()).size(), it.value()) << aWhere.toStdString();
        // Nothing else: no temporary file, no stray file anywhere on the drive.
        QStringList other;
        QDirIterator it(mDrive, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next().mid(mDrive.size());
            if (!file.startsWith("/KORDA/") && !file.startsWith("/Playlists_VLT/") &&
                !expected.contains(file) && !file.endsWith("AlbumArt.jpg"))
                other.append(file);
        }
        EXPECT_TRUE(other.isEmpty()) << aWhere.toStdString() << " " << other.join(' ').toStdString();
    }

    static constexpr int kTracks = 8;
};

QList<int> numbers(int aFrom, int aTo)
{
    QList<int> list;
    for (int i = aFrom; i <= aTo; ++i)
        list.append(i);
    return list;
}

} // namespace

TEST_F(KilledRunsTest, KillsWhileCopyingAreRepairedByTheNextRun)
{
    QRandomGenerator random(20261206);
    configure("All", false);
    int midRun = 0;
    for (int kill = 0; kill < 12; ++kill) {
        // Start from a drive missing a random number of tracks.
        const int kept = static_cast<int>(random.bounded(kTracks));
        for (int number = kept + 1; number <= kTracks; ++number)
            QFile::remove(mDrive + QString("/Music/Band/Album/%1 Song.m4a").arg(number, 2, 10, QChar('0')));
        // Killed once a drawn number of copies were begun (their temporary files appear) or named.
        const int point = 1 + static_cast<int>(random.bounded(kTracks - kept));
        const bool whenNamed = random.bounded(2) == 1;
        midRun += killWhen({"--device", mDrive, "--yes"}, [&] {
            return (whenNamed ? filesOnDrive("*.m4a").size() - kept : filesOnDrive(".vlt*").size()) >= point;
        });
        expectRepaired(numbers(1, kTracks), QString("copy kill %1 (kept %2, point %3%4)")
                                                .arg(kill)
                                                .arg(kept)
                                                .arg(point)
                                                .arg(whenNamed ? ", named" : ""));
        if (HasFailure())
            return;
    }
    EXPECT_GE(midRun, 8); // the kills came while the runs were copying
}

TEST_F(KilledRunsTest, KillsWhileDeletingAreRepairedByTheNextRun)
{
    QRandomGenerator random(61202026);
    int midRun = 0;
    for (int kill = 0; kill < 10; ++kill) {
        configure("All", false);
        expectRepaired(numbers(1, kTracks), QString("deletion setup %1").arg(kill));
        if (HasFailure())
            return;
        // Only "Few" chosen: six deletions, 100 ms apart; killed after a drawn number of them.
        configure("Few", false);
        const int point = 1 + static_cast<int>(random.bounded(kTracks - 2));
        midRun += killWhen({"--device", mDrive, "--yes"},
                           [&] { return filesOnDrive("*.m4a").size() <= kTracks - point; });
        expectRepaired(numbers(1, 2), QString("deletion kill %1 (point %2)").arg(kill).arg(point));
        if (HasFailure())
            return;
    }
    EXPECT_GE(midRun, 7); // the kills came while the runs were deleting
}
