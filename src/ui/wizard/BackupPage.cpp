#include "ui/wizard/BackupPage.h"

#include "backup/BackupDiscovery.h"
#include "backup/BlackBerryBackup.h"
#include "backup/PropertyList.h"

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
    mNote = new QLabel;
    mNote->setWordWrap(true);
    mNote->hide();
    layout->addWidget(mNote);
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

void BackupPage::setChoice(const QString& aBackupPath, const DeviceConfiguration::DataToCopy& aCopy)
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
        QString text =
            date.isEmpty() ? backup.mBackupName : tr("%1 (backed up %2)").arg(backup.mBackupName, date);
        if (!backup.mProblem.isEmpty())
            text += QStringLiteral(" - ") + backup.mProblem;
        auto* item = new QListWidgetItem(text, mList);
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
    mMessages->setChecked(aCopy.messages);
    mContacts->setChecked(aCopy.contacts);
    mCalendar->setChecked(aCopy.calendar);
    mNotes->setChecked(aCopy.notes);
    mPhotos->setChecked(aCopy.photos);
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
    // An encrypted iPhone backup can't be read: said here, before any run tries.
    const bool encrypted =
        !path.isEmpty() && !blackBerry &&
        PropertyList::topLevelBool(PropertyList::readFile(path + QStringLiteral("/Manifest.plist")),
                                   QStringLiteral("IsEncrypted"));
    mNote->setText(encrypted
                       ? tr("This backup is encrypted: Veltrane can't read it. Turn off \"Encrypt local "
                            "backup\" in iTunes or Finder, make a new backup and choose that one.")
                       : QString());
    mNote->setVisible(encrypted);
}

QString BackupPage::backupPath() const
{
    const QListWidgetItem* item = mList->currentItem();
    return item ? item->data(kPathRole).toString() : QString();
}

DeviceConfiguration::DataToCopy BackupPage::copy() const
{
    const auto ticked = [](const QCheckBox* aBox) { return aBox->isEnabled() && aBox->isChecked(); };
    DeviceConfiguration::DataToCopy copy;
    copy.messages = ticked(mMessages);
    copy.contacts = ticked(mContacts);
    copy.calendar = ticked(mCalendar);
    copy.notes = ticked(mNotes);
    copy.photos = ticked(mPhotos);
    return copy;
}
