#pragma once

#include <QString>

// Where a device path (backslash form, relative to the storage root) lies under a drive's root.
class DrivePath
{
public:
    // The root joined with the path's components; empty when the path names nothing, or holds a
    // component that is no plain name ("." or "..", or one with a slash or NUL), so that no path
    // from a stored file can reach outside the drive.
    static QString localPath(const QString& aRoot, const QString& aDevicePath);
};
