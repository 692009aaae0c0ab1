#include "ui/UsbEjectWarning.h"

#include "ui/SiteLink.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

UsbEjectWarning::UsbEjectWarning(QWidget* aParent) : QDialog(aParent)
{
    setModal(true);
    setMinimumWidth(300);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        tr("<p>Synchronization is complete.</p><p>Your tracks, playlists and album art will appear in the "
           "built-in music app on your phone.</p><p>Tracks, playlists and album art may take a while to "
           "appear "
           "on your phone (tracks will be updated first, followed by playlists, then album "
           "art).</p><p>Please "
           "eject your phone before disconnecting.</p>") +
        SiteLink::sentence(tr("<p>Click %1here%2 for more details.</p>"),
                           QStringLiteral("/blog/files/usbeject.htm"), QStringLiteral("eject")));
    label->setWordWrap(true);
    label->setOpenExternalLinks(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    layout->addWidget(label);
    mDoNotShow = new QCheckBox(tr("Do not display this message again."));
    layout->addWidget(mDoNotShow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &UsbEjectWarning::userDone);
    layout->addWidget(buttons);
}

void UsbEjectWarning::userDone()
{
    done(mDoNotShow->isChecked() ? DoNotShowAgain : Dismissed);
}
