// Resolving backslash paths on a phone's storage to objects, through the folder cache.
#include "devices/mtp/DeviceMtpMac.h"

#include "app/LogScope.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpResult.h"
#include "tracks/Track.h"

namespace {

// Names as a phone's file system compares them: without regard to case or Unicode composition.
QString folded(const QString& aName)
{
    return aName.normalized(QString::NormalizationForm_C).toCaseFolded();
}

} // namespace

int DeviceMtpMac::GetOrCreateFromNameAndParent(const QString& aParentId, const QString& aName,
                                               bool aFolderWanted, bool aCreate, QString& aObjectId)
{
    QMtpFile object;
    QList<QMtpFile> objects;
    LogScope log("DeviceMtpMac::GetOrCreateFromNameAndParent");
    logValue("aParentId", aParentId);
    logValue("aName", aName);
    const qint32 listed = handle().listFolder(storageId(), aParentId, objects);
    if (listed != MtpResult::kOk)
        return log.ret(listed);
    if (!objects.isEmpty())
        logMessage("Files found");
    const QString nameToFind = aName.normalized(QString::NormalizationForm_C);
    logValue("nameToFind", nameToFind);
    const QString key = nameToFind.toCaseFolded();
    // Only an object of the kind asked for matches: a file never stands for a folder, nor a folder
    // for a file (a folder taken for a file would be deleted with all it holds).
    const QMtpFile* match = nullptr;
    for (const QMtpFile& candidate : objects) {
        if ((candidate.type() == QMtpFile::TypeFolder) == aFolderWanted && folded(candidate.name()) == key) {
            match = &candidate;
            break;
        }
    }
    if (match) {
        aObjectId = match->objectId();
        logValue("Match found, aFolderId", aObjectId);
        return log.ret(0);
    }
    if (!aCreate)
        return log.ret(MtpResult::kNotFound);
    logMessage("No match found so try to create the folder");
    QString name = aName;
    QString newId;
    const qint32 created = handle().createFolder(storageId(), aParentId, name, newId);
    if (created != MtpResult::kOk || newId.isEmpty() || newId == QLatin1String("0")) {
        logMessage("Could not create folder");
        return log.ret(created != MtpResult::kOk ? created : MtpResult::kFailed);
    }
    logValue("Folder created with id", newId);
    aObjectId = newId;
    return log.ret(0);
}

int DeviceMtpMac::findObject(const QString& aPath, bool aCreate, QMtpFile& aObject)
{
    const QStringList components = splitDevicePath(aPath);
    QString id = MtpDevice::kRootFolder;
    QString parent;
    for (qsizetype i = 0; i < components.size(); ++i) {
        parent = id;
        const bool last = i + 1 == components.size();
        // A path to be made is folders all the way; a path looked up names a file.
        const int result =
            GetOrCreateFromNameAndParent(parent, components.at(i), !last || aCreate, aCreate, id);
        if (result != MtpResult::kOk)
            return result;
    }
    if (components.isEmpty()) {
        aObject = QMtpFile(id, QString(), storageId(), QString(), 0, QMtpFile::TypeFolder);
        return MtpResult::kOk;
    }
    // The description as the cache holds it (its size and type).
    QList<QMtpFile> objects;
    handle().listFolder(storageId(), parent, objects);
    for (const QMtpFile& object : objects) {
        if (object.objectId() == id) {
            aObject = object;
            aObject.setParentId(parent);
            return MtpResult::kOk;
        }
    }
    aObject = QMtpFile(id, parent, storageId(), components.last(), 0, QMtpFile::TypeFolder);
    return MtpResult::kOk;
}

int DeviceMtpMac::GetOrCreateFromPath(const QString& aPath, QString& aObjectId, bool aCreate)
{
    QMtpFile object;
    const int result = findObject(aPath, aCreate, object);
    if (result == MtpResult::kOk)
        aObjectId = object.objectId();
    return result;
}

int DeviceMtpMac::FindOrCreateDirectories(const QString& aArtistFolder, const QString& aAlbumFolder,
                                          QString& aFolderId)
{
    return GetOrCreateFromPath(QStringLiteral("\\Music\\") + aArtistFolder + QLatin1Char('\\') + aAlbumFolder,
                               aFolderId, true);
}

int DeviceMtpMac::GetIdFromTrack(const Track& aTrack, QString& aObjectId)
{
    // The path the track was stored under, when it is known: it may carry a number or the
    // extension of a converted track.
    if (!aTrack.deviceId().isEmpty())
        return GetOrCreateFromPath(aTrack.deviceId(), aObjectId, false);
    QString artistFolder, albumFolder, folderId;
    trackFolderNames(aTrack, artistFolder, albumFolder);
    const int result = FindOrCreateDirectories(artistFolder, albumFolder, folderId);
    if (result != MtpResult::kOk)
        return result;
    return GetOrCreateFromNameAndParent(folderId, trackFileName(aTrack), false, false, aObjectId);
}
