#include "support/BackupBuilder.h"
#include "support/SqlFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <plist/plist.h>

namespace {

void writeFile(const QString& aPath, const QByteArray& aContent)
{
    QDir().mkpath(QFileInfo(aPath).path());
    QFile file(aPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(aContent) != aContent.size())
        qFatal("test fixture: unable to write %s", qPrintable(aPath));
}

QByteArray mbdbString(const QString& aText, bool aNone = false)
{
    if (aNone)
        return QByteArray("\xFF\xFF", 2);
    const QByteArray utf8 = aText.toUtf8();
    QByteArray out;
    out.append(static_cast<char>((utf8.size() >> 8) & 0xFF));
    out.append(static_cast<char>(utf8.size() & 0xFF));
    return out + utf8;
}

} // namespace

BackupBuilder::BackupBuilder(const QString& aRoot, const QString& aId, Format aFormat)
    : mPath(aRoot + QLatin1Char('/') + aId), mFormat(aFormat)
{
    QDir().mkpath(mPath);
}

QString BackupBuilder::fileId(const QString& aDomain, const QString& aRelativePath)
{
    return QString::fromLatin1(QCryptographicHash::hash((aDomain + QLatin1Char('-') + aRelativePath).toUtf8(),
                                                        QCryptographicHash::Sha1)
                                   .toHex());
}

QString BackupBuilder::storedPath(const QString& aFileId) const
{
    return mFormat == ManifestDb ? mPath + QLatin1Char('/') + aFileId.left(2) + QLatin1Char('/') + aFileId
                                 : mPath + QLatin1Char('/') + aFileId;
}

QByteArray BackupBuilder::binaryPlist(const QString& aKey, const QString& aValue)
{
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, aKey.toUtf8().constData(), plist_new_string(aValue.toUtf8().constData()));
    plist_dict_set_item(dict, "Product Type", plist_new_string("iPhone12,1"));
    char* data = nullptr;
    uint32_t length = 0;
    plist_to_bin(dict, &data, &length);
    QByteArray out(data, static_cast<qsizetype>(length));
    plist_to_bin_free(data);
    plist_free(dict);
    return out;
}

void BackupBuilder::setInfoPlist(const QString& aDeviceName, bool aBinary)
{
    QByteArray content;
    if (aBinary) {
        content = binaryPlist(QStringLiteral("Display Name"), aDeviceName);
    } else {
        QString escaped = aDeviceName.toHtmlEscaped();
        content =
            QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                       "<plist version=\"1.0\">\n<dict>\n"
                       "\t<key>Build Version</key>\n\t<string>17H35</string>\n"
                       "\t<key>Display Name</key>\n\t<string>") +
            escaped.toUtf8() +
            QByteArray("</string>\n\t<key>Device Name</key>\n\t<string>other</string>\n</dict>\n</plist>\n");
    }
    writeFile(mPath + QStringLiteral("/Info.plist"), content);
}

void BackupBuilder::addFile(const QString& aDomain, const QString& aRelativePath, const QByteArray& aContent)
{
    const QString id = fileId(aDomain, aRelativePath);
    writeFile(storedPath(id), aContent);
    mEntries.append({id, aDomain, aRelativePath});
}

void BackupBuilder::addFileFrom(const QString& aDomain, const QString& aRelativePath,
                                const QString& aSourcePath)
{
    QFile source(aSourcePath);
    if (!source.open(QIODevice::ReadOnly))
        qFatal("test fixture: unable to read %s", qPrintable(aSourcePath));
    addFile(aDomain, aRelativePath, source.readAll());
}

void BackupBuilder::addRawEntry(const QString& aFileId, const QString& aDomain, const QString& aRelativePath,
                                const QByteArray& aContent)
{
    if (!aContent.isEmpty())
        writeFile(storedPath(aFileId), aContent);
    mEntries.append({aFileId, aDomain, aRelativePath});
}

void BackupBuilder::addLinkedFile(const QString& aDomain, const QString& aRelativePath,
                                  const QString& aTarget)
{
    const QString id = fileId(aDomain, aRelativePath);
    QDir().mkpath(QFileInfo(storedPath(id)).path());
    if (!QFile::link(aTarget, storedPath(id)))
        qFatal("test fixture: unable to link %s", qPrintable(storedPath(id)));
    mEntries.append({id, aDomain, aRelativePath});
}

void BackupBuilder::write()
{
    writeFile(mPath + QStringLiteral("/Manifest.plist"),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                         "\t<key>IsEncrypted</key>\n\t") +
                  (mEncrypted ? "<true/>" : "<false/>") +
                  QByteArray("\n\t<key>Version</key>\n\t<string>10.0</string>\n</dict>\n</plist>\n"));
    if (mFormat == ManifestDb) {
        const QString manifest = mPath + QStringLiteral("/Manifest.db");
        if (mEncrypted) {
            // An encrypted backup's manifest is ciphertext, not SQLite.
            writeFile(manifest, QByteArray(4096, '\x5A'));
            return;
        }
        SqlFile db(manifest);
        db.exec(QStringLiteral("CREATE TABLE Files (fileID TEXT PRIMARY KEY, domain TEXT, relativePath TEXT, "
                               "flags INTEGER, file BLOB)"));
        db.exec(QStringLiteral("CREATE INDEX FilesDomainIdx ON Files(domain)"));
        db.exec(QStringLiteral("INSERT INTO Files VALUES (?, ?, ?, 2, NULL)"),
                {fileId(QStringLiteral("HomeDomain"), QStringLiteral("Library")),
                 QStringLiteral("HomeDomain"), QStringLiteral("Library")});
        for (const Entry& entry : mEntries)
            db.exec(QStringLiteral("INSERT INTO Files VALUES (?, ?, ?, 1, NULL)"),
                    {entry.fileId, entry.domain, entry.relativePath});
        return;
    }
    QByteArray mbdb("mbdb\x05\x00", 6);
    auto record = [&](const QString& aDomain, const QString& aPath, quint16 aMode, int aProperties) {
        mbdb += mbdbString(aDomain) + mbdbString(aPath) + mbdbString(QString(), true) +
                mbdbString(QStringLiteral("hash")) + mbdbString(QString(), true);
        mbdb.append(static_cast<char>(aMode >> 8)).append(static_cast<char>(aMode & 0xFF));
        mbdb += QByteArray(8 + 4 * 5 + 8 + 1, '\0');
        mbdb.append(static_cast<char>(aProperties));
        for (int i = 0; i < aProperties; ++i)
            mbdb += mbdbString(QStringLiteral("com.apple.assetsd.UUID")) + mbdbString(QStringLiteral("1234"));
    };
    record(QStringLiteral("HomeDomain"), QStringLiteral("Library"), 0x41ED, 0);
    for (const Entry& entry : mEntries)
        record(entry.domain, entry.relativePath, 0x81A4, 1);
    writeFile(mPath + QStringLiteral("/Manifest.mbdb"), mbdb);
}
