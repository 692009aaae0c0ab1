#pragma once

#include "backup/DeviceBackup.h"
#include "settings/DeviceConfiguration.h"

#include <QList>
#include <QWizardPage>

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

// The wizard's page for another phone's data: the iPhone backups iTunes made on this computer
// (and a backup chosen before, such as a BlackBerry file), and what to copy from the chosen one:
// messages, contacts, calendar, notes, photos. The next synchronization copies them once.
class BackupPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit BackupPage(QWidget* aParent = nullptr);
    int nextId() const override { return 9; }

    // Shows the backups found and the stored choice of the phone.
    void setChoice(const QString& aBackupPath, const DeviceConfiguration::DataToCopy& aCopy);
    // The backup chosen: empty for none.
    QString backupPath() const;
    // What is ticked of what the chosen backup can hold.
    DeviceConfiguration::DataToCopy copy() const;

    QListWidget* backupList() const { return mList; }
    QCheckBox* messagesBox() const { return mMessages; }
    QLabel* noteLabel() const { return mNote; }
    QCheckBox* contactsBox() const { return mContacts; }
    QCheckBox* calendarBox() const { return mCalendar; }
    QCheckBox* notesBox() const { return mNotes; }
    QCheckBox* photosBox() const { return mPhotos; }

private:
    void selectionChanged();
    QListWidgetItem* addNoneItem();

    QListWidget* mList;
    QCheckBox* mMessages;
    QCheckBox* mContacts;
    QCheckBox* mCalendar;
    QCheckBox* mNotes;
    QCheckBox* mPhotos;
    QList<DeviceBackup> mBackups;
    bool mBackupsFound = false;
    QLabel* mNote; // what stands in the way of the chosen backup
};
