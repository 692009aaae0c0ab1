#pragma once

#include <QString>
#include <QTextStream>

// One extraction: reads the backup's manifest, restores the needed files into the extraction
// folder and writes "backup_file_list" there (written under another name and renamed, so a list
// is never half there). An encrypted or unreadable backup leaves no list.
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
    };

    BackupExtraction(const QString& aBackupPath, const QString& aExtractDir, QTextStream& aReport);
    Result run();

private:
    QString mBackupPath;
    QString mExtractDir;
    QTextStream& mReport;
};
