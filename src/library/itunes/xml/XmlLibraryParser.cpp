#include "library/itunes/xml/XmlLibraryParser.h"

#include "library/itunes/ITunesTypeLibrary.h"
#include "library/itunes/xml/LibraryLocation.h"

#include <QHash>
#include <QIODevice>

#include <cstring>
#include <ctime>

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
qint64 daysFromCivil(qint64 aYear, unsigned aMonth, unsigned aDay)
{
    aYear -= aMonth <= 2;
    const qint64 era = (aYear >= 0 ? aYear : aYear - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(aYear - era * 400);
    const unsigned dayOfYear = (153 * (aMonth + (aMonth > 2 ? -3 : 9)) + 2) / 5 + aDay - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<qint64>(dayOfEra) - 719468;
}

int digits(QByteArrayView aText, int aFrom, int aCount)
{
    int value = 0;
    for (int i = aFrom; i < aFrom + aCount; ++i) {
        const char c = aText.at(i);
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

qint64 toInteger(QByteArrayView aText)
{
    bool ok = false;
    const qint64 value = aText.toLongLong(&ok);
    return ok ? value : 0;
}

// The special kind of a playlist from its "Distinguished Kind": iTunes' built-in smart playlists
// (200 and above) are ordinary, other built-in lists are special.
int specialKindFromDistinguished(qint64 aKind)
{
    switch (aKind) {
    case 2:
        return itunes::kSpecialKindMovies;
    case 3:
        return itunes::kSpecialKindTvShows;
    case 4:
        return itunes::kSpecialKindMusic;
    case 5:
        return itunes::kSpecialKindAudiobooks;
    case 10:
        return itunes::kSpecialKindPodcasts;
    case 19:
        return itunes::kSpecialKindPurchased;
    default:
        return aKind > 0 && aKind < 200 ? 12 : itunes::kSpecialKindNone;
    }
}

// The keys of a track that the library keeps; a track has thirty or so others.
enum class TrackKey
{
    Other,
    TrackId,
    Name,
    Artist,
    Album,
    Location,
    Size,
    TrackNumber,
    DiscNumber,
    Compilation,
    DateAdded,
    TrackType,
};

// Told apart by length first: most keys are compared with one text or none.
TrackKey trackKey(QByteArrayView aKey)
{
    switch (aKey.size()) {
    case 4:
        return aKey == "Name" ? TrackKey::Name : aKey == "Size" ? TrackKey::Size : TrackKey::Other;
    case 5:
        return aKey == "Album" ? TrackKey::Album : TrackKey::Other;
    case 6:
        return aKey == "Artist" ? TrackKey::Artist : TrackKey::Other;
    case 8:
        return aKey == "Track ID"   ? TrackKey::TrackId
               : aKey == "Location" ? TrackKey::Location
                                    : TrackKey::Other;
    case 10:
        return aKey == "Date Added"   ? TrackKey::DateAdded
               : aKey == "Track Type" ? TrackKey::TrackType
                                      : TrackKey::Other;
    case 11:
        return aKey == "Disc Number"   ? TrackKey::DiscNumber
               : aKey == "Compilation" ? TrackKey::Compilation
                                       : TrackKey::Other;
    case 12:
        return aKey == "Track Number" ? TrackKey::TrackNumber : TrackKey::Other;
    default:
        return TrackKey::Other;
    }
}

} // namespace

double XmlLibraryParser::oleDateFromIso(QByteArrayView aText)
{
    if (aText.size() < 19 || aText.at(4) != '-' || aText.at(10) != 'T')
        return 0;
    const int year = digits(aText, 0, 4), month = digits(aText, 5, 2), day = digits(aText, 8, 2);
    const int hour = digits(aText, 11, 2), minute = digits(aText, 14, 2), second = digits(aText, 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || minute < 0 || second < 0)
        return 0;
    const std::time_t utc = static_cast<std::time_t>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 + hour * 3600 +
        minute * 60 + second);
    std::tm local{};
    if (!localtime_r(&utc, &local))
        return 0;
    const qint64 days = daysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                      static_cast<unsigned>(local.tm_mday)) -
                        daysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

bool XmlLibraryParser::parse(QIODevice& aDevice, XmlLibrary& aLibrary, QString& aError)
{
    XmlLibraryParser parser(aDevice);
    const bool ok = parser.readLibrary(aLibrary);
    aError = parser.mError;
    return ok;
}

bool XmlLibraryParser::fail(const QString& aWhy)
{
    if (mError.isEmpty())
        mError = mReader.hasError() ? mReader.errorString() : aWhy;
    return false;
}

bool XmlLibraryParser::readKey(QByteArrayView& aKey)
{
    if (mReader.element() != PlistReader::Element::Key)
        return false;
    // Copied: the reader's view ends with the next read, which is the key's value.
    const QByteArrayView text = mReader.readElementText();
    mKey.resize(text.size());
    if (!text.isEmpty()) // an empty key has no data to copy (its view may point nowhere)
        std::memcpy(mKey.data(), text.data(), static_cast<std::size_t>(text.size()));
    aKey = mKey;
    return !mReader.hasError();
}

bool XmlLibraryParser::readValueStart()
{
    return mReader.readNextStartElement();
}

QString XmlLibraryParser::readString()
{
    if (mReader.element() != PlistReader::Element::String) {
        skipValue();
        return QString();
    }
    return QString::fromUtf8(mReader.readElementText());
}

qint64 XmlLibraryParser::readInteger()
{
    if (mReader.element() != PlistReader::Element::Integer) {
        skipValue();
        return 0;
    }
    return toInteger(mReader.readElementText());
}

bool XmlLibraryParser::readBoolean()
{
    const bool value = mReader.element() == PlistReader::Element::True;
    skipValue();
    return value;
}

void XmlLibraryParser::skipValue()
{
    mReader.skipCurrentElement();
}

bool XmlLibraryParser::readLibrary(XmlLibrary& aLibrary)
{
    if (!mReader.readNextStartElement() || mReader.element() != PlistReader::Element::Plist)
        return fail(QStringLiteral("not a property list"));
    if (!mReader.readNextStartElement() || mReader.element() != PlistReader::Element::Dict)
        return fail(QStringLiteral("no library dictionary"));
    std::vector<std::vector<int>> playlistTrackIds;
    bool sawTracks = false;
    QByteArrayView key;
    while (mReader.readNextStartElement()) {
        if (!readKey(key) || !readValueStart())
            return fail(QStringLiteral("damaged library dictionary"));
        if (key == "Tracks") {
            sawTracks = true;
            if (!readTracks(aLibrary))
                return false;
        } else if (key == "Playlists") {
            if (!readPlaylists(aLibrary, playlistTrackIds))
                return false;
        } else if (key == "Music Folder") {
            aLibrary.musicFolder = LibraryLocation::pathFromFileUrl(readString());
        } else {
            skipValue();
        }
    }
    if (mReader.hasError() || !mReader.finish())
        return fail(QStringLiteral("damaged end of file"));
    if (!sawTracks)
        return fail(QStringLiteral("no tracks dictionary"));

    // Playlist items name tracks by id; items naming no track are dropped.
    QHash<int, int> indexOfId;
    indexOfId.reserve(static_cast<qsizetype>(aLibrary.tracks.size()));
    for (std::size_t i = 0; i < aLibrary.tracks.size(); ++i)
        indexOfId.insert(aLibrary.tracks[i].id, static_cast<int>(i));
    for (std::size_t p = 0; p < aLibrary.playlists.size(); ++p) {
        std::vector<int>& tracks = aLibrary.playlists[p].tracks;
        tracks.reserve(playlistTrackIds[p].size());
        for (int id : playlistTrackIds[p]) {
            const auto found = indexOfId.constFind(id);
            if (found != indexOfId.constEnd())
                tracks.push_back(found.value());
        }
    }
    return true;
}

bool XmlLibraryParser::readTracks(XmlLibrary& aLibrary)
{
    if (mReader.element() != PlistReader::Element::Dict)
        return fail(QStringLiteral("tracks are not a dictionary"));
    QByteArrayView key;
    while (mReader.readNextStartElement()) {
        if (!readKey(key) || !readValueStart())
            return fail(QStringLiteral("damaged tracks dictionary"));
        if (mReader.element() != PlistReader::Element::Dict) {
            skipValue();
            continue;
        }
        XmlLibrary::TrackData track;
        track.id = static_cast<int>(toInteger(key));
        if (!readTrack(track))
            return false;
        // An album's tracks mostly follow each other: they share one artist and one album string.
        if (!aLibrary.tracks.empty()) {
            const XmlLibrary::TrackData& previous = aLibrary.tracks.back();
            if (track.artist == previous.artist)
                track.artist = previous.artist;
            if (track.album == previous.album)
                track.album = previous.album;
        }
        aLibrary.tracks.push_back(std::move(track));
    }
    // Kept for as long as the library is: no room for the tracks of a library twice the size.
    aLibrary.tracks.shrink_to_fit();
    return !mReader.hasError() || fail(QString());
}

bool XmlLibraryParser::readTrack(XmlLibrary::TrackData& aTrack)
{
    QByteArrayView key;
    QString trackType;
    QString location;
    while (mReader.readNextStartElement()) {
        if (!readKey(key) || !readValueStart())
            return fail(QStringLiteral("damaged track"));
        switch (trackKey(key)) {
        case TrackKey::TrackId:
            aTrack.id = static_cast<int>(readInteger());
            break;
        case TrackKey::Name:
            aTrack.name = readString();
            break;
        case TrackKey::Artist:
            aTrack.artist = readString();
            break;
        case TrackKey::Album:
            aTrack.album = readString();
            break;
        case TrackKey::Location:
            location = readString();
            break;
        case TrackKey::Size:
            aTrack.size = readInteger();
            break;
        case TrackKey::TrackNumber:
            aTrack.trackNumber = static_cast<int>(readInteger());
            break;
        case TrackKey::DiscNumber:
            aTrack.discNumber = static_cast<int>(readInteger());
            break;
        case TrackKey::Compilation:
            aTrack.compilation = readBoolean();
            break;
        case TrackKey::DateAdded:
            aTrack.dateAdded = mReader.element() == PlistReader::Element::Date
                                   ? oleDateFromIso(mReader.readElementText())
                                   : (skipValue(), 0.0);
            break;
        case TrackKey::TrackType:
            trackType = readString();
            break;
        case TrackKey::Other:
            skipValue();
            break;
        }
    }
    if (mReader.hasError())
        return fail(QString());
    aTrack.location = LibraryLocation::pathFromFileUrl(location);
    // Cloud and shared tracks have no file here; old exports write no track type.
    aTrack.hasFile =
        !aTrack.location.isEmpty() && (trackType.isEmpty() || trackType == QLatin1String("File"));
    return true;
}

bool XmlLibraryParser::readPlaylists(XmlLibrary& aLibrary, std::vector<std::vector<int>>& aTrackIds)
{
    if (mReader.element() != PlistReader::Element::Array)
        return fail(QStringLiteral("playlists are not an array"));
    while (mReader.readNextStartElement()) {
        if (mReader.element() != PlistReader::Element::Dict) {
            skipValue();
            continue;
        }
        XmlLibrary::PlaylistData playlist;
        std::vector<int> trackIds;
        if (!readPlaylist(playlist, trackIds))
            return false;
        aLibrary.playlists.push_back(std::move(playlist));
        aTrackIds.push_back(std::move(trackIds));
    }
    return !mReader.hasError() || fail(QString());
}

bool XmlLibraryParser::readPlaylist(XmlLibrary::PlaylistData& aPlaylist, std::vector<int>& aTrackIds)
{
    bool master = false, folder = false;
    qint64 distinguishedKind = -1;
    int flaggedKind = itunes::kSpecialKindNone;
    QByteArrayView key;
    while (mReader.readNextStartElement()) {
        if (!readKey(key) || !readValueStart())
            return fail(QStringLiteral("damaged playlist"));
        if (key == "Name")
            aPlaylist.name = readString();
        else if (key == "Master")
            master = readBoolean();
        else if (key == "Folder")
            folder = readBoolean();
        else if (key == "Distinguished Kind")
            distinguishedKind = readInteger();
        else if (key == "Music")
            flaggedKind = readBoolean() ? itunes::kSpecialKindMusic : flaggedKind;
        else if (key == "Podcasts")
            flaggedKind = readBoolean() ? itunes::kSpecialKindPodcasts : flaggedKind;
        else if (key == "Movies")
            flaggedKind = readBoolean() ? itunes::kSpecialKindMovies : flaggedKind;
        else if (key == "TV Shows")
            flaggedKind = readBoolean() ? itunes::kSpecialKindTvShows : flaggedKind;
        else if (key == "Audiobooks")
            flaggedKind = readBoolean() ? itunes::kSpecialKindAudiobooks : flaggedKind;
        else if (key == "Smart Info" || key == "Smart Criteria") {
            aPlaylist.smart = true;
            skipValue();
        } else if (key == "Playlist Items") {
            if (!readPlaylistItems(aTrackIds))
                return false;
        } else {
            skipValue();
        }
    }
    if (mReader.hasError())
        return fail(QString());
    aPlaylist.kind = master ? itunes::kPlaylistKindLibrary : itunes::kPlaylistKindUser;
    if (master)
        aPlaylist.specialKind = itunes::kSpecialKindNone;
    else if (folder)
        aPlaylist.specialKind = itunes::kSpecialKindFolder;
    else if (distinguishedKind >= 0)
        aPlaylist.specialKind = specialKindFromDistinguished(distinguishedKind);
    else
        aPlaylist.specialKind = flaggedKind;
    return true;
}

bool XmlLibraryParser::readPlaylistItems(std::vector<int>& aTrackIds)
{
    if (mReader.element() != PlistReader::Element::Array) {
        skipValue();
        return true;
    }
    QByteArrayView key;
    while (mReader.readNextStartElement()) {
        if (mReader.element() != PlistReader::Element::Dict) {
            skipValue();
            continue;
        }
        while (mReader.readNextStartElement()) {
            if (!readKey(key) || !readValueStart())
                return fail(QStringLiteral("damaged playlist item"));
            if (key == "Track ID")
                aTrackIds.push_back(static_cast<int>(readInteger()));
            else
                skipValue();
        }
    }
    return !mReader.hasError() || fail(QString());
}
