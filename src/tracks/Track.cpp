#include "tracks/Track.h"

#include "app/ApplicationPaths.h"
#include "app/DiagnosticLog.h"

#include <QDir>

#include <algorithm>
#include <charconv>
#include <utility>

Track::Track(const QString& aTrackName, const QString& aAlbumName, const QString& aArtistName,
             int aTrackNumberOnAlbum, const QString& aPath, bool aOnLocalSyncPlaylist, bool aOnRemoteDevice,
             bool aInCache, const QString& aDeviceId)
    : mTrackName(aTrackName), mAlbumName(aAlbumName), mArtistName(aArtistName), mPath(aPath),
      mTrackNumberOnAlbum(aTrackNumberOnAlbum), mDeviceId(aDeviceId),
      mOnLocalSyncPlaylist(aOnLocalSyncPlaylist), mOnRemoteDevice(aOnRemoteDevice), mInCache(aInCache)
{
}

void Track::set(QString aTrackName, QString aAlbumName, QString aArtistName, int aTrackNumberOnAlbum,
                QString aPath, bool aOnLocalSyncPlaylist, bool aOnRemoteDevice, bool aInCache,
                qint32 aFlagsFilePosition, QString aDeviceId, qint64 aSizeOnDevice)
{
    mTrackName = std::move(aTrackName);
    mAlbumName = std::move(aAlbumName);
    mArtistName = std::move(aArtistName);
    mTrackNumberOnAlbum = aTrackNumberOnAlbum;
    mPath = std::move(aPath);
    mOnLocalSyncPlaylist = aOnLocalSyncPlaylist;
    mOnRemoteDevice = aOnRemoteDevice;
    mInCache = aInCache;
    mFlagsFilePosition = aFlagsFilePosition;
    mDeviceId = std::move(aDeviceId);
    mSizeOnDevice = aSizeOnDevice;
}

QString Track::getLibraryId() const
{
    return mLibraryNumber >= 0 ? QString::number(mLibraryNumber) : libraryId;
}

void Track::setLibraryId(const QString& aId)
{
    int number = 0;
    mLibraryNumber = plainNumber(aId, number) ? number : -1;
    libraryId = mLibraryNumber >= 0 ? QString() : aId;
    mHasLibraryId = true;
}

bool Track::plainNumber(QStringView aId, int& aNumber)
{
    if (aId.isEmpty() || aId.size() > 9 || (aId.size() > 1 && aId.at(0) == QLatin1Char('0')))
        return false;
    int number = 0;
    for (const QChar digit : aId) {
        if (digit < QLatin1Char('0') || digit > QLatin1Char('9'))
            return false;
        number = number * 10 + (digit.unicode() - '0');
    }
    aNumber = number;
    return true;
}

bool Track::needsConversion() const
{
    return mConvertToMp3 && !mPath.endsWith(QLatin1String("mp3"), Qt::CaseInsensitive);
}

QString Track::extension() const
{
    return mPath.size() < 4 ? QString() : mPath.right(3);
}

QString Track::uploadSourcePath() const
{
    if (!needsConversion())
        return mPath;
    return ApplicationPaths::kordaFolder() + QDir::separator() + QStringLiteral("temp.mp3");
}

qint64 Track::sizeOnDevice() const
{
    return mDeviceId.isEmpty() ? 0 : mSizeOnDevice;
}

// What follows the tags in a unique id: the track number, the disc number when above 1 (after a
// separator no tag holds, so no other track's tags can spell this), then "mp3" for an MP3 copy.
struct Track::IdEnding
{
    char text[40];
    qsizetype size = 0;

    explicit IdEnding(const Track& aTrack)
    {
        char* end = std::to_chars(text, text + 16, aTrack.mTrackNumberOnAlbum).ptr;
        if (aTrack.mDiscNumber > 1) {
            *end++ = '\x1f';
            end = std::to_chars(end, end + 16, aTrack.mDiscNumber).ptr;
        }
        if (aTrack.needsConversion() || aTrack.mConvertedToMp3 ||
            aTrack.extension().compare(QLatin1String("mp3"), Qt::CaseInsensitive) == 0)
            end = std::copy_n("mp3", 3, end);
        size = end - text;
    }
};

template <typename Text> void Track::fillUniqueId(Text& aText) const
{
    const IdEnding ending(*this);
    aText.resize(mTrackName.size() + mAlbumName.size() + mArtistName.size() + ending.size);
    QChar* out = aText.data();
    for (const QString* text : {&mTrackName, &mAlbumName, &mArtistName})
        out = std::copy(text->cbegin(), text->cend(), out);
    std::transform(ending.text, ending.text + ending.size, out, [](char aChar) { return QChar(aChar); });
}

QString Track::uniqueId() const
{
    // Written into one allocation of the final size.
    QString id;
    fillUniqueId(id);
    return id;
}

QStringView Track::writeUniqueId(IdText& aText) const
{
    fillUniqueId(aText);
    return QStringView(aText.constData(), aText.size());
}

bool Track::hasUniqueId(QStringView aId) const
{
    const IdEnding ending(*this);
    QStringView rest(aId);
    if (rest.size() != mTrackName.size() + mAlbumName.size() + mArtistName.size() + ending.size)
        return false;
    for (const QString* text : {&mTrackName, &mAlbumName, &mArtistName}) {
        if (rest.first(text->size()) != *text)
            return false;
        rest = rest.sliced(text->size());
    }
    return rest == QLatin1String(ending.text, ending.size);
}

void Track::shareTextsWith(const Track& aOther)
{
    for (auto text : {&Track::mTrackName, &Track::mAlbumName, &Track::mArtistName, &Track::mPath}) {
        // One text already (mostly: the cache's tracks share the library's) is left alone, where
        // taking it again would cost two atomic counts for nothing.
        if ((this->*text).constData() != (aOther.*text).constData() && this->*text == aOther.*text)
            this->*text = aOther.*text;
    }
}

void Track::dump() const
{
    if (!logIsOn())
        return;
    logMessage("        Track:");
    logValue("            mTrackName", mTrackName);
    logValue("            mAlbumName", mAlbumName);
    logValue("            mArtistName", mArtistName);
    logValue("            mPath", mPath);
    logValue("            mTrackNumberOnAlbum", mTrackNumberOnAlbum);
    if (mDiscNumber > 1)
        logValue("            mDiscNumber", mDiscNumber);
    logValue("            mITunesId", mITunesId);
    logValue("            mDeviceId", mDeviceId);
    logValue("            mSizeOnDevice", static_cast<int>(mSizeOnDevice));
    logValue("\t\t\t mDateAdded", static_cast<int>(mDateAdded));
    logMessage(mOnLocalSyncPlaylist ? "            mOnLocalSyncPlaylist: true"
                                    : "            mOnLocalSyncPlaylist: false");
    logMessage(mOnRemoteDevice ? "            mOnRemoteDevice: true" : "            mOnRemoteDevice: false");
    logMessage(mInCache ? "            mInCache: true" : "            mInCache: false");
    logValue("            mFlagsFilePosition", mFlagsFilePosition);
}
