#include "extract/BackupExtraction.h"
#include "backup/PropertyList.h"
#include "extract/ManifestDbReader.h"
#include "extract/ManifestMbdbReader.h"
#include "extract/NeededFiles.h"
#include "extract/RestoreFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The bytes this process has read so far, as the kernel counts them.
qint64 bytesReadByThisProcess()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = io.readAll().split('\n');
    for (const QByteArray& line : lines)
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

BackupExtraction::BackupExtraction(const QString& aBackupPath, const QString& aExtractDir,
                                   QTextStream& aReport, bool aCameraRoll)
    : mBackupPath(aBackupPath), mExtractDir(aExtractDir), mReport(aReport), mCameraRoll(aCameraRoll)
{
    while (mBackupPath.size() > 1 && mBackupPath.endsWith(QLatin1Char('/')))
        mBackupPath.chop(1);
}

BackupExtraction::Result BackupExtraction::run()
{
    if (mBackupPath.isEmpty() || mExtractDir.isEmpty())
        return BadArguments;
    const QByteArray manifestPlist = PropertyList::readFile(mBackupPath + QStringLiteral("/Manifest.plist"));
    if (PropertyList::topLevelBool(manifestPlist, QStringLiteral("IsEncrypted"))) {
        mReport << "The backup is encrypted: nothing restored\n";
        return Encrypted;
    }

    QList<ManifestEntry> entries;
    QString error;
    const QString manifestDb = mBackupPath + QStringLiteral("/Manifest.db");
    const QString manifestMbdb = mBackupPath + QStringLiteral("/Manifest.mbdb");
    bool read = false;
    if (QFileInfo::exists(manifestDb))
        read = ManifestDbReader::read(manifestDb, entries, error);
    else if (QFileInfo::exists(manifestMbdb))
        read = ManifestMbdbReader::read(manifestMbdb, entries, error);
    else
        error = QStringLiteral("the backup has neither Manifest.db nor Manifest.mbdb");
    if (!read) {
        mReport << "Unable to read the backup's manifest: " << error << '\n';
        return NoManifest;
    }
    if (!error.isEmpty())
        mReport << "The manifest is damaged; its readable part is used: " << error << '\n';

    RestoreFolder folder(mBackupPath, mExtractDir);
    if (!folder.isOpen()) {
        mReport << "Unable to use the backup folder or the extraction folder\n";
        return ExtractionFolderUnusable;
    }
    QByteArray list;
    QByteArray unrestored;
    int restored = 0;
    for (const ManifestEntry& entry : entries) {
        const NeededFiles::Use use = NeededFiles::use(entry);
        if (use == NeededFiles::NotNeeded || (!mCameraRoll && NeededFiles::isCameraRoll(entry)))
            continue;
        QString restoredPath;
        if (!folder.restore(entry.mStoredName, entry.mDomain, entry.mRelativePath, restoredPath, error)) {
            mReport << "Not restored: " << entry.mDomain << ' ' << entry.mRelativePath << ": " << error
                    << '\n';
            // Named for the run, which must not take a kind for complete without it.
            const QString place = NeededFiles::listPlace(entry).simplified();
            unrestored += place.toUtf8() + '\t' + error.simplified().toUtf8() + '\n';
            continue;
        }
        ++restored;
        if (use == NeededFiles::RestoreAndList)
            list += restoredPath.toUtf8() + '\n' + NeededFiles::listPlace(entry).toUtf8() + '\n';
    }

    for (const auto& [name, content] : {std::pair{QStringLiteral("backup_unrestored_list"), unrestored},
                                        std::pair{QStringLiteral("backup_file_list"), list}}) {
        QSaveFile file(mExtractDir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
            mReport << "Unable to write " << name << '\n';
            return ExtractionFolderUnusable;
        }
    }
    mReport << "Restored " << restored << " files (" << folder.bytesRestored() << " bytes); read "
            << bytesReadByThisProcess() << " bytes\n";
    return unrestored.isEmpty() ? Extracted : SomeNotRestored;
}
