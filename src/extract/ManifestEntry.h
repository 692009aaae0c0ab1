#pragma once

#include <QString>

// One file of an iPhone backup, as its manifest lists it.
struct ManifestEntry
{
    QString mDomain;       // "HomeDomain", "CameraRollDomain", "AppDomainGroup-..."
    QString mRelativePath; // the file's path inside its domain, as the phone had it
    QString mStoredName;   // where the backup keeps its bytes, relative to the backup folder
};
