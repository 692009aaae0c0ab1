#pragma once

#include <QString>

// One iTunes backup of an iPhone found on this computer.
struct DeviceBackup
{
    QString mBackupName; // the device's name ("Display Name" of the backup's Info.plist)
    QString mBackupPath; // the backup's folder, ending with the directory separator
    QString mBackupId;   // the backup folder's own name; unique within a list
    QString mProblem;    // why its Info.plist was not read (the name is then the folder's)
};
