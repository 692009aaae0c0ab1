#pragma once

#include <QString>

// Messages and contacts of a BlackBerry backup, for the new phone: an IPD file, or a BlackBerry
// Desktop archive (.bbb) whose Databases/1.dat, 2.dat, ... are IPD files. Writes messages.xml when
// the backup holds "SMS Messages" and address.xml when it holds "Address Book - All", in
// aOutputFolder. aMask (1 messages, 2 contacts, 4 photos) is what the device asked for; both
// files are written when their databases are there.
class BlackBerryBackup
{
public:
    static constexpr int kMessages = 1;
    static constexpr int kContacts = 2;
    static constexpr int kPhotos = 4;

    // Whether a backup path names a BlackBerry backup (an IPD file or a .bbb archive) rather than
    // an iTunes backup folder.
    static bool isBlackBerryBackup(const QString& aPath);
    struct Result
    {
        int written = 0; // XML files written
        QString problem; // why nothing could be read from the backup (7z missing, a damaged,
                         // empty, refused, unreadable or missing file); empty when it was read
    };
    static Result readBlackBerryBackup(const QString& aBackupPath, const QString& aOutputFolder, int aMask);
};
