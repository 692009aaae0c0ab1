#include "cli/CliFixture.h"

#include "support/AudioFixtures.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

void CliFixture::makeLibrary(int aTracks, double aSeconds)
{
    const QString folder = mediaFolder();
    QDir().mkpath(folder);
    XmlPlaylistEntry all{"All", false, -1, false, false, false, {}};
    XmlPlaylistEntry few{"Few", false, -1, false, false, false, {}};
    mWriter.tracks.clear();
    for (int i = 1; i <= aTracks; ++i) {
        const QString path = folder + QString("%1 Song.m4a").arg(i, 2, 10, QChar('0'));
        ASSERT_TRUE(fixtures::makeAudio(path, QString("Song %1").arg(i), "Band", "Album", aSeconds));
        XmlTrackEntry track{i, QString("Song %1").arg(i), "Band", "Album", LibraryXmlWriter::fileUrl(path)};
        track.size = QFileInfo(path).size();
        mWriter.tracks.append(track);
        all.trackIds.append(i);
        if (i <= 2)
            few.trackIds.append(i);
    }
    mWriter.playlists = {{"Library", true, -1, false, false, false, all.trackIds}, all, few};
    ASSERT_TRUE(mWriter.writeTo(libraryPath()));
    mDrive = mHome.path() + "/drive";
    QDir().mkpath(mDrive);
}

QProcess* CliFixture::start(const QStringList& aArguments)
{
    auto* process = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", mHome.path());
    environment.insert("XDG_CONFIG_HOME", mHome.path() + "/.config");
    // A test program may run under a preload library, which the child inherits.
    environment.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0");
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(VELTRANE_SYNC_PATH, aArguments);
    EXPECT_TRUE(process->waitForStarted());
    return process;
}

int CliFixture::run(const QStringList& aArguments, QByteArray* aOutput)
{
    std::unique_ptr<QProcess> process(start(aArguments));
    EXPECT_TRUE(process->waitForFinished(50000));
    if (aOutput)
        *aOutput = process->readAll();
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

void CliFixture::configure(const QString& aMusic, bool aConvert)
{
    QByteArray output;
    ASSERT_EQ(
        run({"configure", "--device", mDrive, "--music", aMusic, "--convert-mp3", aConvert ? "on" : "off"},
            &output),
        0)
        << output.constData();
}

QStringList CliFixture::filesOnDrive(const QString& aPattern) const
{
    QStringList files;
    QDirIterator it(mDrive, {aPattern}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next().mid(mDrive.size()));
    files.sort();
    return files;
}

QMap<QString, qint64> CliFixture::cached() const
{
    const QString id = QString::fromLatin1(readWholeFile(mDrive + "/KORDA/uniqueid"));
    TrackCache cache;
    QMap<QString, qint64> result;
    if (cache.open(id) != 0)
        return result;
    TrackList tracks;
    EXPECT_EQ(cache.updateTrackList(tracks, -1), 0);
    for (const Track& track : tracks) {
        if (track.onRemoteDevice())
            result.insert(QString(track.deviceId()).replace('\\', '/'), track.recordedSizeOnDevice());
    }
    return result;
}

bool CliFixture::waitForOutput(QProcess& aProcess, const QByteArray& aText, QByteArray& aSeen)
{
    while (!aSeen.contains(aText)) {
        if (!aProcess.waitForReadyRead(30000))
            return false;
        aSeen += aProcess.readAll();
    }
    return true;
}
