#include "cli/ConsoleProgress.h"

#include "sync/MusicSync.h"
#include "sync/Track.h"

#include <cstdio>
#include <unistd.h>

namespace {

void print(const QString& aText)
{
    std::fputs(aText.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

QString listOf(const TrackList& aTracks)
{
    QString text;
    int shown = 0;
    for (const Track& track : aTracks) {
        if (++shown > 10) {
            text += QString("  ... and %1 more\n").arg(aTracks.count() - 10);
            break;
        }
        text += QString("  %1 - %2 (%3)\n").arg(track.artistName(), track.trackName(), track.albumName());
    }
    return text;
}

} // namespace

ConsoleProgress::ConsoleProgress(MusicSync& aSync, bool aYes, QObject* aParent)
    : QObject(aParent), mSync(aSync), mYes(aYes), mTerminal(isatty(STDOUT_FILENO) != 0)
{
}

QString ConsoleProgress::stateText(int aState)
{
    switch (aState) {
    case MusicSync::StateComplete:
        return QStringLiteral("Phone synchronization is complete");
    case MusicSync::StateFault:
        return QStringLiteral("Phone synchronization ended by an unexpected fault");
    case MusicSync::StateNotConfigured:
        return QStringLiteral("This device is not set up for synchronization: run 'veltrane-sync configure'");
    case MusicSync::StateSettingsUnreadable:
        return QStringLiteral("The settings file can't be read");
    case MusicSync::StateCancelled:
        return QStringLiteral("Phone synchronization was cancelled");
    case MusicSync::StatePreparing:
        return QStringLiteral("Preparing to synchronize");
    case MusicSync::StateAlbumArt:
        return QStringLiteral("Checking for album art");
    case MusicSync::StateDeleting:
        return QStringLiteral("Deleting tracks from the phone");
    case MusicSync::StateCopying:
        return QStringLiteral("Copying tracks to the phone");
    case MusicSync::StatePlaylists:
        return QStringLiteral("Updating playlists");
    case MusicSync::StatePhotos:
        return QStringLiteral("Copying photos to the phone");
    case MusicSync::StateConvertingVideo:
        return QStringLiteral("Converting video");
    default:
        return QString();
    }
}

void ConsoleProgress::endLine()
{
    if (mLineOpen)
        print(QStringLiteral("\n"));
    mLineOpen = false;
}

void ConsoleProgress::show(int aState, int aPercent, const QString& aText)
{
    if (mTerminal && aState == MusicSync::StateCopying) {
        const int filled = aPercent * 30 / 100;
        QString line = QString("\r[%1%2] %3%  %4")
                           .arg(QString(filled, '#'), QString(30 - filled, '.'))
                           .arg(aPercent, 3)
                           .arg(aText);
        line = line.left(100).leftJustified(100);
        print(line);
        mLineOpen = true;
        mLastState = aState;
        return;
    }
    // Plain lines: one per state, and one per track while copying.
    if (aState != mLastState) {
        endLine();
        print(stateText(aState) + '\n');
        mLastState = aState;
    }
    if (aState == MusicSync::StateCopying && !aText.isEmpty() && aPercent != mLastPercent) {
        print(QString("  %1% %2\n").arg(aPercent, 3).arg(aText));
        mLastPercent = aPercent;
    }
}

void ConsoleProgress::progress(int aState, int aPercent)
{
    show(aState, aPercent, QString());
}

void ConsoleProgress::progressWithText(int aState, int aPercent, const QString& aText)
{
    show(aState, aPercent, aText);
}

void ConsoleProgress::confirmDeleteTracks()
{
    endLine();
    print(QString("%1 track(s) on the phone are no longer chosen and would be deleted:\n%2")
              .arg(mSync.TracksToDelete().count())
              .arg(listOf(mSync.TracksToDelete())));
    if (!mYes)
        print(QStringLiteral("Not deleting them: run again with --yes to delete them and synchronize.\n"));
    mSync.setDeleteConfirmed(mYes);
}

void ConsoleProgress::drmTracksFound()
{
    endLine();
    print(QString("%1 protected track(s) can't be copied:\n%2")
              .arg(mSync.GetDrmTracks().count())
              .arg(listOf(mSync.GetDrmTracks())));
}

void ConsoleProgress::tracksNotDownloaded()
{
    endLine();
    print(QString("%1 track(s) are not downloaded to this computer and can't be copied:\n%2")
              .arg(mSync.GetNotDownloadedTracks().count())
              .arg(listOf(mSync.GetNotDownloadedTracks())));
}

void ConsoleProgress::notEnoughSpace(qint64 aAdditionalSpaceRequired)
{
    endLine();
    print(QString("The phone needs %1 MB more free space for the chosen music.\n")
              .arg(aAdditionalSpaceRequired / (1024.0 * 1024.0), 0, 'f', 1));
    if (mYes) {
        print(QStringLiteral("Synchronizing anyway (--yes).\n"));
    } else {
        print(QStringLiteral("Cancelled: run again with --yes to synchronize anyway.\n"));
        mSync.Cancel();
    }
}
