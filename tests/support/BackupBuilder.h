#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Builds an iTunes backup of an iPhone the way iTunes lays it out: Info.plist (XML or binary),
// Manifest.plist, and the files under their hashed names, listed in Manifest.db (iOS 10 and
// later) or Manifest.mbdb (before). Entries can be made hostile: any fileID, any path, a stored
// file that is a link.
class BackupBuilder
{
public:
    enum Format
    {
        ManifestDb,
        ManifestMbdb,
    };

    // The backup folder aRoot/aId.
    BackupBuilder(const QString& aRoot, const QString& aId, Format aFormat = ManifestDb);

    QString path() const { return mPath; }

    // Info.plist with "Display Name"; binary when aBinary.
    void setInfoPlist(const QString& aDeviceName, bool aBinary = false);
    void setEncrypted() { mEncrypted = true; }

    // A file of the phone, stored under its hashed name.
    void addFile(const QString& aDomain, const QString& aRelativePath, const QByteArray& aContent);
    // A file copied from the computer.
    void addFileFrom(const QString& aDomain, const QString& aRelativePath, const QString& aSourcePath);
    // A listed file whose stored name is aFileId (Manifest.db only), stored as given or, with an
    // empty aContent, not stored at all.
    void addRawEntry(const QString& aFileId, const QString& aDomain, const QString& aRelativePath,
                     const QByteArray& aContent);
    // A listed file whose stored file is a link to aTarget.
    void addLinkedFile(const QString& aDomain, const QString& aRelativePath, const QString& aTarget);

    // Writes Manifest.plist and the manifest.
    void write();

    static QString fileId(const QString& aDomain, const QString& aRelativePath);
    static QByteArray binaryPlist(const QString& aKey, const QString& aValue);

private:
    struct Entry
    {
        QString fileId;
        QString domain;
        QString relativePath;
    };
    QString storedPath(const QString& aFileId) const;

    QString mPath;
    Format mFormat;
    bool mEncrypted = false;
    QList<Entry> mEntries;
};
