#pragma once

#include "extract/ManifestEntry.h"

#include <QString>

// Which files of a backup the exporters and the photo copy use: the contacts, contact pictures,
// messages, calendar and notes databases (with their write-ahead logs, which hold the newest
// rows), message attachments and the camera roll. Nothing else is restored.
class NeededFiles
{
public:
    enum Use
    {
        NotNeeded,
        RestoreOnly,    // a database's write-ahead log: restored beside it, not listed
        RestoreAndList, // listed in backup_file_list
    };

    static Use use(const ManifestEntry& aEntry);
    // A photo or video of the camera roll.
    static bool isCameraRoll(const ManifestEntry& aEntry);
    // The file's place on the device as backup_file_list gives it: the path in its domain, or,
    // for the notes of iOS 9 and later (a path that says nothing alone), the domain in front.
    static QString listPlace(const ManifestEntry& aEntry);
};
