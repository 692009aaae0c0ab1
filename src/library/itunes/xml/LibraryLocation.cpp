#include "library/itunes/xml/LibraryLocation.h"

#include "settings/SyncSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString LibraryLocation::findLibraryFile()
{
    SyncSettings settings;
    settings.load();
    const QString configured = settings.getGlobalStringValue(QStringLiteral("itunes-library-path"));
    if (!configured.isEmpty())
        return configured;
    const QString home = QDir::homePath();
    for (const char* candidate : {"/Music/iTunes/iTunes Music Library.xml",
                                  "/Music/iTunes/iTunes Library.xml", "/Music/Library.xml"}) {
        const QString path = home + QLatin1String(candidate);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

QString LibraryLocation::pathFromFileUrl(const QString& aUrl)
{
    if (!aUrl.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return aUrl;
    // Skip the host: "file://localhost/..." and "file:///..." both start the path at the slash.
    const qsizetype pathStart = aUrl.indexOf(QLatin1Char('/'), 7);
    if (pathStart < 0)
        return QString();
    QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(aUrl.mid(pathStart).toUtf8()));
    // "/C:/Users/..." is a Windows path: drop the slash before the drive letter.
    if (path.size() >= 3 && path.at(0) == QLatin1Char('/') && path.at(1).isLetter() &&
        path.at(2) == QLatin1Char(':'))
        path.remove(0, 1);
    return path;
}

QString LibraryLocation::rebase(const QString& aLocation, const QString& aMusicFolder,
                                const QString& aXmlFolder)
{
    if (aMusicFolder.isEmpty() || aXmlFolder.isEmpty() || !aLocation.startsWith(aMusicFolder) ||
        QFileInfo::exists(aLocation))
        return aLocation;
    QString folder = aMusicFolder;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString folderName = folder.mid(folder.lastIndexOf(QLatin1Char('/')) + 1);
    const QString remainder = aLocation.mid(aMusicFolder.size());
    // The remainder comes from the library file: it must not climb out of the folder.
    if (folderName.isEmpty() || remainder.split(QLatin1Char('/')).contains(QLatin1String("..")))
        return aLocation;
    const QString candidate = aXmlFolder + QLatin1Char('/') + folderName + QLatin1Char('/') + remainder;
    return QFileInfo::exists(candidate) ? candidate : aLocation;
}
