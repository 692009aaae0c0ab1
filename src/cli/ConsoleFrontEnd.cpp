#include "cli/ConsoleFrontEnd.h"

#include "app/ProgramOutput.h"
#include "devices/Device.h"
#include "sync/MusicSync.h"
#include "sync/SyncStateTexts.h"
#include "tracks/Track.h"

#include <unistd.h>

namespace {

void print(const QString& aText)
{
    ProgramOutput::out(aText.toLocal8Bit());
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

ConsoleFrontEnd::ConsoleFrontEnd(bool aYes) : mYes(aYes), mTerminal(isatty(ProgramOutput::outFd()) != 0) {}

QString ConsoleFrontEnd::stateText(int aState)
{
    const QString text = SyncStateTexts::status(aState);
    switch (aState) {
    case SyncState::NotConfigured:
        return text + QStringLiteral(": run 'veltrane-sync configure'");
    default:
        return text;
    }
}

void ConsoleFrontEnd::endLine()
{
    if (mLineOpen)
        print(QStringLiteral("\n"));
    mLineOpen = false;
}

void ConsoleFrontEnd::show(int aState, int aPercent, const QString& aText)
{
    if (mTerminal && aState == SyncState::Copying) {
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
    if (aState == SyncState::Copying && !aText.isEmpty() && aPercent != mLastPercent) {
        print(QString("  %1% %2\n").arg(aPercent, 3).arg(aText));
        mLastPercent = aPercent;
    }
}

void ConsoleFrontEnd::UpdateProgress(int aState, int aPercentComplete)
{
    show(aState, aPercentComplete, QString());
}

void ConsoleFrontEnd::UpdateProgress(int aState, int aPercentComplete, const QString& aTrackName)
{
    show(aState, aPercentComplete, aTrackName);
}

bool ConsoleFrontEnd::ConfirmDeleteTracks(const TrackList& aTracksToDelete)
{
    endLine();
    print(QString("%1 track(s) on the phone are no longer chosen and would be deleted:\n%2")
              .arg(aTracksToDelete.count())
              .arg(listOf(aTracksToDelete)));
    if (!mYes)
        print(QStringLiteral("Not deleting them: run again with --yes to delete them and synchronize.\n"));
    return mYes;
}

void ConsoleFrontEnd::displayDrmTracksWarning(const TrackList& aDrmTracks)
{
    endLine();
    print(QString("%1 protected track(s) can't be copied:\n%2")
              .arg(aDrmTracks.count())
              .arg(listOf(aDrmTracks)));
}

void ConsoleFrontEnd::displayTracksNotDownloadedWarning(const TrackList& aNotDownloaded)
{
    endLine();
    print(QString("%1 track(s) are not downloaded to this computer and can't be copied:\n%2")
              .arg(aNotDownloaded.count())
              .arg(listOf(aNotDownloaded)));
}

bool ConsoleFrontEnd::notEnoughSpace(qint64 aAdditionalSpaceRequired)
{
    endLine();
    print(QString("The phone needs %1 MB more free space for the chosen music.\n")
              .arg(aAdditionalSpaceRequired / (1024.0 * 1024.0), 0, 'f', 1));
    if (mYes) {
        print(QStringLiteral("Synchronizing anyway (--yes).\n"));
        return true;
    }
    print(QStringLiteral("Cancelled: run again with --yes to synchronize anyway.\n"));
    return false;
}

void ConsoleFrontEnd::syncFinished(const MusicSync& aSync)
{
    endLine();
    if (!aSync.failureReason().isEmpty())
        print(QStringLiteral("Phone synchronization did not complete: ") + aSync.failureReason() + '\n');
    for (const QString& name : aSync.missingPlaylists())
        print(QString("The library has no playlist or podcast \"%1\" any more: nothing was deleted from the "
                      "device. Choose again with 'veltrane-sync configure'.\n")
                  .arg(name));
    if (!aSync.dataTransferFailures().isEmpty()) {
        print(QStringLiteral(
            "Not all data from the other phone's backup was copied (the next run tries again):\n"));
        for (const QString& failure : aSync.dataTransferFailures())
            print(QStringLiteral("  ") + failure + '\n');
    }
    if (aSync.tracksKept() > 0)
        print(QString("%1 track(s) already on the device were kept, not copied again.\n")
                  .arg(aSync.tracksKept()));
    for (const QString& item : aSync.notWritten())
        print(QStringLiteral("Not written on the device: ") + item + '\n');
    const QList<Track>& notCopied = aSync.GetNonCopiedTracks();
    if (notCopied.isEmpty())
        return;
    const int full = static_cast<int>(aSync.nonCopiedErrors().count(Device::kDeviceFull));
    if (full > 0)
        print(QString("The device is full: %1 track(s) not copied.\n").arg(full));
    print(QString("%1 track(s) could not be copied:\n").arg(notCopied.size()));
    for (int i = 0; i < notCopied.size(); ++i) {
        const Track& track = notCopied.at(i);
        const QString reason = aSync.nonCopiedReasons().value(i);
        print(QStringLiteral("  ") + track.artistName() + QStringLiteral(" - ") + track.trackName() +
              (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason) + '\n');
    }
}
