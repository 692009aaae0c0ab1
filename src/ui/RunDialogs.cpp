#include "ui/RunDialogs.h"

#include "app/LogScope.h"
#include "settings/SyncSettings.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"
#include "ui/DeleteTracksConfirm.h"
#include "ui/SyncUiTexts.h"
#include "ui/SyncWarningDialog.h"
#include "ui/UsbEjectWarning.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

bool RunDialogs::confirmDeleteTracks(QWidget* aParent, const QString& aDeviceId, const TrackList& aTracks)
{
    LogScope log("SyncUi::ConfirmDeleteTracks");
    SyncSettings settings;
    settings.load();
    if (settings.deleteWithoutWarning(aDeviceId)) {
        logMessage("Skipping warning");
        return true;
    }
    logMessage("Displaying warning");
    DeleteTracksConfirm dialog(aTracks, aParent);
    const int answer = dialog.exec();
    if (answer == DeleteTracksConfirm::YesAlways) {
        settings.setDeleteWithoutWarning(aDeviceId);
        settings.save();
    }
    return answer == DeleteTracksConfirm::Yes || answer == DeleteTracksConfirm::YesAlways;
}

void RunDialogs::warnProtectedTracks(QWidget* aParent, const QString& aDeviceId, const TrackList& aTracks)
{
    SyncSettings settings;
    settings.load();
    if (settings.skipDrmWarning(aDeviceId))
        return;
    logMessage("Displaying warning");
    QList<Track> tracks;
    for (const Track& track : aTracks)
        tracks.append(track);
    SyncWarningDialog dialog(aParent, tracks, SyncWarningDialog::CopyProtected);
    dialog.exec();
    if (dialog.doNotShowAgain()) {
        settings.setSkipDrmWarning(aDeviceId);
        settings.save();
    }
}

bool RunDialogs::goOnWithoutSpace(QWidget* aParent, qint64 aShortfall)
{
    const qint64 megabytes = aShortfall / 1024 / 1024;
    QMessageBox box(
        QMessageBox::Warning, tr("Not Enough Space"),
        tr("You do not have enough space on your phone to complete the synchronization.  You need to "
           "free up %1 MB. Do you want to continue with the sync anyway? Note that if you do this then "
           "some tracks will not be copied.")
            .arg(megabytes),
        QMessageBox::NoButton, aParent);
    QPushButton* dontSync = box.addButton(tr("Don't Sync"), QMessageBox::RejectRole);
    box.addButton(tr("Sync Anyway"), QMessageBox::AcceptRole);
    box.exec();
    return box.clickedButton() != dontSync;
}

void RunDialogs::warnNotCopied(QWidget* aParent, const QString& aDeviceId, const QList<Track>& aTracks,
                               const QList<int>& aErrors, const QStringList& aReasons, bool aFolderFailure)
{
    SyncSettings settings;
    settings.load();
    if (settings.skipNotCopiedWarning(aDeviceId))
        return;
    SyncWarningDialog dialog(aParent, aTracks,
                             aFolderFailure ? SyncWarningDialog::CopyFailedFolder
                                            : SyncWarningDialog::CopyFailed,
                             aErrors, aReasons);
    dialog.exec();
    if (dialog.doNotShowAgain()) {
        settings.setSkipNotCopiedWarning(aDeviceId);
        settings.save();
    }
}

void RunDialogs::warnNotDownloaded(QWidget* aParent, const QList<Track>& aTracks)
{
    SyncWarningDialog dialog(aParent, aTracks, SyncWarningDialog::NotDownloaded);
    dialog.exec();
}

void RunDialogs::warnDataNotCopied(QWidget* aParent, bool aExtractionFailed, const QStringList& aFailures)
{
    if (aExtractionFailed) {
        QMessageBox::warning(
            aParent, SyncUiTexts::product(),
            tr("<p>It has not been possible to transfer data from the selected backup. If the "
               "backup is encrypted then please create a non-encrypted backup using iTunes.</p>"));
        return;
    }
    if (aFailures.isEmpty())
        return;
    // What did not arrive is tried again by the next synchronization.
    QString items;
    for (const QString& failure : aFailures)
        items += QStringLiteral("<li>") + failure.toHtmlEscaped() + QStringLiteral("</li>");
    QMessageBox::warning(aParent, SyncUiTexts::product(),
                         tr("<p>Not all data from the selected backup could be copied to your phone:</p>"
                            "<ul>%1</ul><p>The next synchronization will try again.</p>")
                             .arg(items));
}

void RunDialogs::remindToEject(QWidget* aParent, const QString& aDeviceId)
{
    SyncSettings settings;
    settings.load();
    if (settings.skipUsbEjectWarning(aDeviceId))
        return;
    UsbEjectWarning dialog(aParent);
    if (dialog.exec() == UsbEjectWarning::DoNotShowAgain) {
        settings.setSkipUsbEjectWarning(aDeviceId);
        settings.save();
    }
}
