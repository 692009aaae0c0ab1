#include "library/itunes/xml/LibraryLocation.h"

#include "app/FolderListing.h"
#include "settings/SyncSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringTokenizer>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

QString LibraryLocation::findLibraryFile()
{
    SyncSettings settings;
    settings.load();
    const QString configured = settings.getGlobalStringValue(SyncSettings::kITunesLibraryPath);
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

namespace {

// The folder of the last file looked for, listed: the tracks of an album follow each other, and
// a regular file's name in the listing needs no look-up in the file system (anything else, a
// link say, is looked up by its path). A listing serves for a second at most: a file removed
// since is not taken to be there.
class FolderProbe
{
public:
    bool exists(const QString& aPath)
    {
        const qsizetype slash = aPath.lastIndexOf(QLatin1Char('/'));
        const QStringView folder = QStringView(aPath).left(slash + 1);
        const QStringView name = QStringView(aPath).sliced(slash + 1);
        if (folder != mFolder || mListed.hasExpired(kListingLifeMs)) {
            mFolder = folder.toString();
            // Opened for the listing alone, and read from its start.
            if (!mListing.read(UniqueFd(
                    ::open(QFile::encodeName(mFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))))
                mListing = FolderListing();
            mListed.start();
        }
        return mListing.contains(name) || ::access(QFile::encodeName(aPath).constData(), F_OK) == 0;
    }

private:
    static constexpr qint64 kListingLifeMs = 1000;
    QString mFolder;
    FolderListing mListing;
    QElapsedTimer mListed;
};

// Only absolute paths are looked for: "Z:/x.mp3" would otherwise be a file of the working folder.
bool existsHere(const QString& aPath)
{
    thread_local FolderProbe probe;
    return aPath.startsWith(QLatin1Char('/')) && probe.exists(aPath);
}

// The place beside the library file that aLocation has when the library was written on another
// computer: the remainder below the music folder, under the folder of the music folder's name
// next to the XML file. aLocation itself when it is there already (a library in its usual
// place), empty when there is no such place. Text only: nothing is looked at.
QString besideLibraryFile(const QString& aLocation, const QString& aMusicFolder, const QString& aXmlFolder)
{
    if (aMusicFolder.isEmpty() || aXmlFolder.isEmpty() || !aLocation.startsWith(aMusicFolder))
        return QString();
    QStringView folder = aMusicFolder;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QStringView folderName = folder.sliced(folder.lastIndexOf(QLatin1Char('/')) + 1);
    const QStringView remainder = QStringView(aLocation).sliced(aMusicFolder.size());
    if (folderName.isEmpty())
        return QString();
    const QStringView location = aLocation;
    const qsizetype nameAt = aXmlFolder.size() + 1;
    if (location.size() == nameAt + folderName.size() + 1 + remainder.size() &&
        location.startsWith(aXmlFolder) && location.at(nameAt - 1) == QLatin1Char('/') &&
        location.sliced(nameAt, folderName.size()) == folderName &&
        location.at(nameAt + folderName.size()) == QLatin1Char('/'))
        return aLocation; // checked piece by piece: most tracks ask, and need no copy made
    // The remainder comes from the library file: it must not climb out of the folder.
    for (const QStringView part : qTokenize(remainder, QLatin1Char('/'))) {
        if (part == QLatin1String(".."))
            return QString();
    }
    QString beside;
    beside.reserve(nameAt + folderName.size() + 1 + remainder.size());
    beside.append(aXmlFolder)
        .append(QLatin1Char('/'))
        .append(folderName)
        .append(QLatin1Char('/'))
        .append(remainder);
    return beside;
}

// Whether another Unicode normalisation spells aPath differently (never for plain ASCII).
bool hasOtherSpelling(const QString& aPath)
{
    char16_t units = 0; // every unit's bits together: a loop with no exit runs many at a time
    for (const QChar unit : aPath)
        units |= unit.unicode();
    if (units < 0x80)
        return false;
    return aPath.normalized(QString::NormalizationForm_D) != aPath ||
           aPath.normalized(QString::NormalizationForm_C) != aPath;
}

// Whether another path could name aLocation's file: its place beside the library file
// (aBeside, as besideLibraryFile gives it), or its other Unicode spelling.
bool otherPathCouldName(const QString& aLocation, const QString& aBeside)
{
    return (!aBeside.isEmpty() && aBeside != aLocation) ||
           (aLocation.startsWith(QLatin1Char('/')) && hasOtherSpelling(aLocation));
}

} // namespace

bool LibraryLocation::needsLooking(const QString& aLocation, const QString& aMusicFolder,
                                   const QString& aXmlFolder)
{
    return otherPathCouldName(aLocation, besideLibraryFile(aLocation, aMusicFolder, aXmlFolder));
}

QString LibraryLocation::resolve(const QString& aLocation, const QString& aMusicFolder,
                                 const QString& aXmlFolder)
{
    // Where no other path could name the file, the location is the answer whether its file is
    // here or not: nothing is looked at. That is every track of a library in its usual place
    // whose path is plain ASCII, the most of any library.
    const QString beside = besideLibraryFile(aLocation, aMusicFolder, aXmlFolder);
    if (!otherPathCouldName(aLocation, beside) || existsHere(aLocation))
        return aLocation;
    if (!beside.isEmpty() && beside != aLocation && existsHere(beside))
        return beside; // found beside the library file
    if (!aLocation.startsWith(QLatin1Char('/')))
        return aLocation; // a path of another computer
    for (const auto form : {QString::NormalizationForm_D, QString::NormalizationForm_C}) {
        const QString other = aLocation.normalized(form);
        if (other != aLocation && existsHere(other))
            return other;
    }
    return aLocation;
}
