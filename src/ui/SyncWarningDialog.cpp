#include "ui/SyncWarningDialog.h"

#include "devices/Device.h"
#include "tracks/Track.h"
#include "ui/SiteLink.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString textOf(int aKind)
{
    switch (aKind) {
    case SyncWarningDialog::CopyFailedFolder:
    case SyncWarningDialog::CopyFailed:
    case SyncWarningDialog::CopyFailedOther:
        return SyncWarningDialog::tr(
                   "<p>It was not possible to copy the following tracks to your phone.</p>") +
               SiteLink::sentence(SyncWarningDialog::tr("<p>Click %1here%2 to diagnose the problem.</p>"),
                                  QStringLiteral("/blog/files/copyfailed.htm"),
                                  QStringLiteral("copy-failed"));
    case SyncWarningDialog::CopyProtected:
        return SyncWarningDialog::tr(
                   "<p>Some of your tracks are copy protected and cannot be played on your phone. These "
                   "tracks are listed below.</p>") +
               SiteLink::sentence(SyncWarningDialog::tr(
                                      "<p>Click %1here%2 for more information on copy protected tracks.</p>"),
                                  QStringLiteral("/blog/files/drm.htm"), QStringLiteral("protected"));
    case SyncWarningDialog::NotDownloaded:
        return SyncWarningDialog::tr(
            "<p>The following tracks could not be transferred to your phone because they have not "
            "been downloaded in iTunes. You must first download these tracks in iTunes before they "
            "can be copied to your phone.</p>");
    default:
        return QString();
    }
}

} // namespace

SyncWarningDialog::SyncWarningDialog(QWidget* aParent, const QList<Track>& aTracks, int aKind,
                                     const QList<int>& aErrors, const QStringList& aReasons)
    : QDialog(aParent)
{
    setModal(true);
    setFixedWidth(500);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(textOf(aKind));
    label->setWordWrap(true);
    connect(label, &QLabel::linkActivated, this, &SyncWarningDialog::linkActivated);
    layout->addWidget(label);
    auto* list = new QListWidget;
    list->setWordWrap(true);
    for (qsizetype i = 0; i < aTracks.size(); ++i) {
        const QString text = itemText(aTracks[i], i < aErrors.size() ? aErrors[i] : 0,
                                      i < aReasons.size() ? aReasons[i] : QString());
        auto* item = new QListWidgetItem(text, list);
        item->setToolTip(text);
    }
    layout->addWidget(list);
    if (aKind != NotDownloaded) {
        auto* box = new QCheckBox(tr("Do not show this warning again"));
        connect(box, &QCheckBox::stateChanged, this, &SyncWarningDialog::dontShowAgainStateChanged);
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString SyncWarningDialog::itemText(const Track& aTrack, int aError, const QString& aReason)
{
    QString text = aTrack.trackName() + QStringLiteral(" - ") + aTrack.albumName() + QStringLiteral(" - ") +
                   aTrack.artistName();
    if (aError == Device::kSourceFileMissing) {
        text = aTrack.path().isEmpty() ? tr("%1 (The file could not be found)").arg(text)
                                       : tr("%1 (The file could not be found : %2)").arg(text, aTrack.path());
    } else if (!aReason.isEmpty()) {
        text += QStringLiteral(" (") + aReason + QLatin1Char(')');
    }
    return text;
}

void SyncWarningDialog::dontShowAgainStateChanged(int aNewState)
{
    mDoNotShowAgain = aNewState == Qt::Checked;
}

void SyncWarningDialog::linkActivated(const QString& aLink)
{
    QDesktopServices::openUrl(QUrl(aLink));
}
