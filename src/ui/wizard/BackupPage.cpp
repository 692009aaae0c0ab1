#include "ui/wizard/BackupPage.h"

#include "backup/BackupDiscovery.h"
#include "backup/BlackBerryBackup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

BackupPage::BackupPage(QWidget* aParent) : QWizardPage(aParent)
{
    setTitle(tr("Phone Setup"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(tr("Copy messages, contacts, calendar, notes and photos from your old phone's "
                      "backup to this phone. They are copied once, with the next synchronization."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    mList = new QListWidget;
    mList->setMaximumHeight(150);
    layout->addWidget(mList);
    auto* boxes = new QVBoxLayout;
    boxes->setContentsMargins(40, 0, 0, 0);
    mMessages = new QCheckBox(tr("Text messages"));
    mContacts = new QCheckBox(tr("Contacts"));
    mCalendar = new QCheckBox(tr("Calendar"));
    mNotes = new QCheckBox(tr("Notes"));
    mPhotos = new QCheckBox(tr("Photos and videos"));
    for (QCheckBox* box : {mMessages, mContacts, mCalendar, mNotes, mPhotos})
        boxes->addWidget(box);
    layout->addLayout(boxes);
    layout->addStretch();
    connect(mList, &QListWidget::currentRowChanged, this, &BackupPage::selectionChanged);
    addNoneItem();
    mList->setCurrentRow(0);
    selectionChanged();
}

QListWidgetItem* BackupPage::addNoneItem()
{
    auto* none = new QListWidgetItem(tr("Do not copy data from another phone"), mList);
    none->setData(kPathRole, QString());
    return none;
}

void BackupPage::setChoice(const QString& aBackupPath, bool aMessages, bool aContacts, bool aCalendar,
                           bool aNotes, bool aPhotos)
{
    mList->clear();
    QListWidgetItem* none = addNoneItem();
    // The backups on this computer are looked for once per wizard (each means reading its
    // Info.plist), when a phone's choice is first shown.
    if (!mBackupsFound) {
        BackupDiscovery::findiTunesBackups(mBackups);
        mBackupsFound = true;
    }
    QListWidgetItem* chosen = none;
    for (const DeviceBackup& backup : mBackups) {
        const QFileInfo manifest(backup.mBackupPath + QStringLiteral("Manifest.db"));
        const QString date =
            manifest.exists() ? manifest.lastModified().toString(QStringLiteral("yyyy-MM-dd")) : QString();
        auto* item = new QListWidgetItem(
            date.isEmpty() ? backup.mBackupName : tr("%1 (backed up %2)").arg(backup.mBackupName, date),
            mList);
        item->setData(kPathRole, backup.mBackupPath);
        if (backup.mBackupPath == aBackupPath)
            chosen = item;
    }
    if (!aBackupPath.isEmpty() && chosen == none) {
        // Chosen before and not among the iPhone backups found (a BlackBerry file, another folder).
        auto* item = new QListWidgetItem(QDir::toNativeSeparators(aBackupPath), mList);
        item->setData(kPathRole, aBackupPath);
        chosen = item;
    }
    mMessages->setChecked(aMessages);
    mContacts->setChecked(aContacts);
    mCalendar->setChecked(aCalendar);
    mNotes->setChecked(aNotes);
    mPhotos->setChecked(aPhotos);
    mList->setCurrentItem(chosen);
    selectionChanged();
}

void BackupPage::selectionChanged()
{
    const QString path = backupPath();
    const bool blackBerry = BlackBerryBackup::isBlackBerryBackup(path);
    mMessages->setEnabled(!path.isEmpty());
    mContacts->setEnabled(!path.isEmpty());
    // A BlackBerry backup holds no calendar and no notes.
    mCalendar->setEnabled(!path.isEmpty() && !blackBerry);
    mNotes->setEnabled(!path.isEmpty() && !blackBerry);
    mPhotos->setEnabled(!path.isEmpty());
}

QString BackupPage::backupPath() const
{
    const QListWidgetItem* item = mList->currentItem();
    return item ? item->data(kPathRole).toString() : QString();
}

bool BackupPage::copyMessages() const
{
    return mMessages->isEnabled() && mMessages->isChecked();
}

bool BackupPage::copyContacts() const
{
    return mContacts->isEnabled() && mContacts->isChecked();
}

bool BackupPage::copyCalendar() const
{
    return mCalendar->isEnabled() && mCalendar->isChecked();
}

bool BackupPage::copyNotes() const
{
    return mNotes->isEnabled() && mNotes->isChecked();
}

bool BackupPage::copyPhotos() const
{
    return mPhotos->isEnabled() && mPhotos->isChecked();
}
