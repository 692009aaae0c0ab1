#pragma once

#include <QString>
#include <QTextStream>

// One extraction: reads the backup's manifest, restores the needed files into the extraction
// folder and writes "backup_file_list" there (written under another name and renamed, so a list
// is never half there), and "backup_unrestored_list" with each needed file that could not be
// restored (its place as the file list names it, a tab, the reason; one a line). An encrypted or
// unreadable backup leaves no list. Without the camera roll, photos and videos are left alone.
class BackupExtraction
{
public:
    enum Result
    {
        Extracted = 0,
        BadArguments = 1,
        Encrypted = 2,
        NoManifest = 3,
        ExtractionFolderUnusable = 4,
        SomeNotRestored = 5, // both lists written; the unrestored one names what is missing
    };

    BackupExtraction(const QString& aBackupPath, const QString& aExtractDir, QTextStream& aReport,
                     bool aCameraRoll = true);
    Result run();

private:
    QString mBackupPath;
    QString mExtractDir;
    QTextStream& mReport;
    bool mCameraRoll;
};
