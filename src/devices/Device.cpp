#include "devices/Device.h"

#include "app/LogScope.h"
#include "app/XmlLimits.h"
#include "settings/SyncSettings.h"
#include "tracks/DevicePaths.h"
#include "tracks/Track.h"

#include <QDateTime>
#include <QDomDocument>
#include <QFileInfo>

const QString Device::kTemporaryDeviceId = QStringLiteral("TEMP-DEVICE-ID");

namespace {

// The characters replaced in folder names: those the phone's and the drive's file systems can't
// hold or treat specially, and control characters.
bool isReplaced(QChar aChar)
{
    static const QString kReplaced = QStringLiteral("['\\^/?<>,&:\"](){};@!$#%*|");
    return aChar.unicode() < 0x20 || aChar.unicode() == 0x7F || kReplaced.contains(aChar);
}

// The characters no file name on a FAT or exFAT drive (or Android's storage) may hold.
bool isUnstorable(QChar aChar)
{
    static const QString kUnstorable = QStringLiteral("\\/:*?\"<>|");
    return aChar.unicode() < 0x20 || aChar.unicode() == 0x7F || kUnstorable.contains(aChar);
}

int attributeNumber(const QDomElement& aElement, const QString& aName)
{
    bool ok = false;
    const int value = aElement.attribute(aName).toInt(&ok, 10);
    return ok ? value : -1;
}

} // namespace

bool Device::Disabled()
{
    return mDisabled;
}

bool Device::isValidIdentity(const QByteArray& aIdentity)
{
    if (aIdentity.isEmpty() || aIdentity.size() > kMaxIdentityBytes)
        return false;
    // The identity goes into the settings file: only characters that stand in XML text as they are.
    return std::all_of(aIdentity.begin(), aIdentity.end(), [](char aByte) {
        const auto byte = static_cast<unsigned char>(aByte);
        return byte > 0x20 && byte < 0x7F && byte != '<' && byte != '>' && byte != '&';
    });
}

bool Device::trackIsOnDevice(const Track&)
{
    return true;
}

bool Device::IsConfigured()
{
    LogScope log("Device::IsConfigured");
    SyncSettings settings;
    settings.load();
    bool entireLibrary = false;
    int podcastSetting = 0;
    QStringList playlists, podcasts;
    const int result =
        settings.getConfig(UniqueDeviceId(), entireLibrary, podcastSetting, playlists, podcasts);
    log.ret(-result);
    return result == 0;
}

int Device::configuredOrder()
{
    LogScope log("Device::configuredOrder");
    SyncSettings settings;
    settings.load();
    return log.ret(settings.deviceElementLine(UniqueDeviceId()));
}

void Device::parseAndroidInfo(const QByteArray& aContent)
{
    int version = -1;
    QDomDocument document;
    // The phone application writes one small element: a file far larger, or one a DOM would
    // expand (a document type with entities, deep nesting, thousands of elements), is read as a
    // damaged one, never parsed.
    const QString refused = aContent.size() > kMaxAndroidInfoBytes
                                ? QStringLiteral("larger than %1 bytes").arg(kMaxAndroidInfoBytes)
                                : XmlLimits::problem(aContent, {16, 32, 1000});
    if (!refused.isEmpty())
        logValue("! android.xml not read", refused);
    else
        document.setContent(aContent);
    const QDomElement root = document.documentElement();
    if (!root.isNull()) {
        mAndroidInfo.androidInfoRead = true;
        version = attributeNumber(root, QStringLiteral("version"));
        mAndroidInfo.screenPixels = attributeNumber(root, QStringLiteral("screen_pixels"));
        mAndroidInfo.supportsPlaylistsFromPlaylistsVlt =
            root.attribute(QStringLiteral("supports_playlists_from_playlists_vlt")) == QLatin1String("true");
        mAndroidInfo.supportsAlbumArtFromTracksXml =
            root.attribute(QStringLiteral("supports_album_art_from_tracks_xml")) == QLatin1String("true");
        if (version == -1 && !aContent.isEmpty())
            version = 0;
    } else {
        version = aContent.isEmpty() ? -1 : 0;
    }
    mAndroidInfo.androidVersion = version;
}

void Device::sanitiseFileName(QString& aName, bool aReplaceDots)
{
    for (QChar& c : aName) {
        if (isReplaced(c) || (aReplaceDots && c == QLatin1Char('.')))
            c = QLatin1Char('_');
    }
    aName = aName.trimmed();
}

QString Device::safeFileName(const QString& aName)
{
    QString name = aName;
    if (std::any_of(aName.begin(), aName.end(), isUnstorable))
        sanitiseFileName(name, false);
    // Nor a hidden file, which the phone's media scanner would pass over (nor "." or "..").
    for (qsizetype i = 0; i < name.size() && name.at(i) == QLatin1Char('.'); ++i)
        name[i] = QLatin1Char('_');
    return name;
}

void Device::trackFolderNames(const Track& aTrack, QString& aArtistFolder, QString& aAlbumFolder)
{
    // File systems hold names of 255 bytes: cut there, between two characters.
    aAlbumFolder = aTrack.albumName();
    sanitiseFileName(aAlbumFolder, true);
    aAlbumFolder = DevicePaths::cutToUtf8Bytes(aAlbumFolder, 255).trimmed();
    aArtistFolder = aTrack.isCompilation() ? QStringLiteral("Compilation") : aTrack.artistName();
    sanitiseFileName(aArtistFolder, true);
    aArtistFolder = DevicePaths::cutToUtf8Bytes(aArtistFolder, 255).trimmed();
    // Podcast episodes live in a folder "Podcasts" two levels above the file.
    const QString showFolder = QFileInfo(aTrack.path()).path();
    if (QFileInfo(QFileInfo(showFolder).path()).fileName() == QLatin1String("Podcasts"))
        aArtistFolder = QStringLiteral("Podcasts");
    if (aArtistFolder.isEmpty())
        aArtistFolder = QStringLiteral("Unknown");
    if (aAlbumFolder.isEmpty())
        aAlbumFolder = QStringLiteral("Unknown");
}

QStringList Device::splitDevicePath(const QString& aPath)
{
    return aPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QString Device::deviceDataPath(const QString& aPath)
{
    if (aPath.isEmpty() || aPath.at(0) == QLatin1Char('\\') || aPath.at(0) == QLatin1Char('.'))
        return aPath;
    return QStringLiteral("\\KORDA\\") + aPath;
}

QString Device::newUniqueDeviceId()
{
    return uniqueDeviceIdAt(QDateTime::currentDateTime());
}

QString Device::uniqueDeviceIdAt(const QDateTime& aTime)
{
    // "zsmhdM": each part a number without leading zeros. Qt 6's "z" is not that for the
    // milliseconds (5 ms gives "005" there), so the parts are written one by one.
    const QTime time = aTime.time();
    const QDate date = aTime.date();
    return QString::number(time.msec()) + QString::number(time.second()) + QString::number(time.minute()) +
           QString::number(time.hour()) + QString::number(date.day()) + QString::number(date.month()) +
           QLatin1Char('Y');
}

QString Device::freeDevicePath(const QString& aDevicePath, const Track& aTrack) const
{
    if (!mDevicePaths)
        return aDevicePath;
    const QString path = mDevicePaths->freePathFor(aDevicePath, aTrack.uniqueId());
    if (path != aDevicePath)
        logValue("Another track holds this path; storing under", path);
    return path;
}

QString Device::describeFailure(int aCode) const
{
    switch (aCode) {
    case kSourceFileMissing:
        return QStringLiteral("its file is not on this computer");
    case kDeviceGone:
        return QStringLiteral("the device was removed");
    case kDeviceFull:
        return QStringLiteral("the device is full");
    default:
        return QStringLiteral("the device reported error %1").arg(aCode);
    }
}
