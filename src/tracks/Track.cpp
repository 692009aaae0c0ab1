#include "tracks/Track.h"

#include "app/ApplicationPaths.h"
#include "app/DiagnosticLog.h"

#include <QDir>

#include <algorithm>
#include <charconv>

Track::Track(const QString& aTrackName, const QString& aAlbumName, const QString& aArtistName,
             int aTrackNumberOnAlbum, const QString& aPath, bool aOnLocalSyncPlaylist, bool aOnRemoteDevice,
             bool aInCache, const QString& aDeviceId)
    : mTrackName(aTrackName), mAlbumName(aAlbumName), mArtistName(aArtistName), mPath(aPath),
      mTrackNumberOnAlbum(aTrackNumberOnAlbum), mDeviceId(aDeviceId),
      mOnLocalSyncPlaylist(aOnLocalSyncPlaylist), mOnRemoteDevice(aOnRemoteDevice), mInCache(aInCache)
{
}

void Track::set(const QString& aTrackName, const QString& aAlbumName, const QString& aArtistName,
                int aTrackNumberOnAlbum, const QString& aPath, bool aOnLocalSyncPlaylist,
                bool aOnRemoteDevice, bool aInCache, qint32 aFlagsFilePosition, const QString& aDeviceId,
                qint64 aSizeOnDevice)
{
    mTrackName = aTrackName;
    mAlbumName = aAlbumName;
    mArtistName = aArtistName;
    mTrackNumberOnAlbum = aTrackNumberOnAlbum;
    mPath = aPath;
    mUniqueId.clear();
    mOnLocalSyncPlaylist = aOnLocalSyncPlaylist;
    mOnRemoteDevice = aOnRemoteDevice;
    mInCache = aInCache;
    mFlagsFilePosition = aFlagsFilePosition;
    mDeviceId = aDeviceId;
    mSizeOnDevice = aSizeOnDevice;
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

QString Track::uniqueId() const
{
    if (!mUniqueId.isEmpty())
        return mUniqueId;
    // Written into one allocation of the final size: a run asks for 100,000 of these.
    char number[16];
    char* numberEnd = std::to_chars(number, number + sizeof number, mTrackNumberOnAlbum).ptr;
    char disc[16];
    char* discEnd = mDiscNumber > 1 ? std::to_chars(disc, disc + sizeof disc, mDiscNumber).ptr : disc;
    const bool mp3 = needsConversion() || mConvertedToMp3 ||
                     extension().compare(QLatin1String("mp3"), Qt::CaseInsensitive) == 0;
    const qsizetype size = mTrackName.size() + mAlbumName.size() + mArtistName.size() + (numberEnd - number) +
                           (discEnd > disc ? 1 + (discEnd - disc) : 0) + (mp3 ? 3 : 0);
    QString id(size, Qt::Uninitialized);
    QChar* out = id.data();
    for (const QString* text : {&mTrackName, &mAlbumName, &mArtistName})
        out = std::copy(text->cbegin(), text->cend(), out);
    out = std::transform(number, numberEnd, out, [](char aDigit) { return QChar(aDigit); });
    if (discEnd > disc) {
        *out++ = QChar(0x1F); // a separator no tag holds, so no other track's tags can spell this
        out = std::transform(disc, discEnd, out, [](char aDigit) { return QChar(aDigit); });
    }
    if (mp3) {
        for (const char letter : {'m', 'p', '3'})
            *out++ = QChar(letter);
    }
    return id;
}

void Track::shareTextsWith(const Track& aOther)
{
    for (auto text : {&Track::mTrackName, &Track::mAlbumName, &Track::mArtistName, &Track::mPath}) {
        if (this->*text == aOther.*text)
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
