#pragma once

#include "app/UniqueFd.h"

#include <QString>

// The extraction folder, written only through a descriptor of its own: every folder and file of
// a restored path is made below it with no link followed, and a path from a manifest that would
// leave it (an absolute path, "..", a line break that would split the file list) is refused.
// Sources are read from the backup folder the same way: regular files only, no links.
class RestoreFolder
{
public:
    RestoreFolder(const QString& aBackupPath, const QString& aExtractDir);

    bool isOpen() const;

    // Copies the backup's stored file aStoredName to aDomain/aRelativePath below the extraction
    // folder; aRestoredPath receives the full path. False, with aError, when the path is refused
    // or the copy fails (a partly written file is removed).
    bool restore(const QString& aStoredName, const QString& aDomain, const QString& aRelativePath,
                 QString& aRestoredPath, QString& aError);

    qint64 bytesRestored() const { return mBytesRestored; }

    // The parts of a manifest path, or an empty list when it is not a safe relative path.
    static QStringList safeComponents(const QString& aPath);

private:
    UniqueFd mBackup;
    UniqueFd mExtract;
    QString mExtractDir;
    qint64 mBytesRestored = 0;
};
