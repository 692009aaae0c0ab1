#include "library/itunes/xml/XmlLibraryObjects.h"

#include "library/itunes/xml/EmbeddedArtwork.h"
#include "library/itunes/xml/LibraryFileWatcher.h"
#include "library/itunes/xml/LibraryLocation.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

using namespace itunes;

namespace {

using LibraryPtr = std::shared_ptr<const XmlLibrary>;

class XmlArtwork : public Artwork
{
public:
    explicit XmlArtwork(QByteArray aImage) : mImage(std::move(aImage)) {}
    qint32 format(int& aFormat) override
    {
        aFormat = EmbeddedArtwork::formatOf(mImage);
        return kOk;
    }
    qint32 saveArtworkToFile(const QString& aPath) override
    {
        QSaveFile file(aPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(mImage) != mImage.size()) {
            file.cancelWriting();
            return kFail;
        }
        return file.commit() ? kOk : kFail;
    }

private:
    QByteArray mImage;
};

class XmlArtworkCollection : public ArtworkCollection
{
public:
    explicit XmlArtworkCollection(QList<QByteArray> aImages) : mImages(std::move(aImages)) {}
    qint32 count(int& aCount) override
    {
        aCount = static_cast<int>(mImages.size());
        return kOk;
    }
    qint32 item(int aIndex, std::shared_ptr<Artwork>& aArtwork) override
    {
        if (aIndex < 1 || aIndex > mImages.size())
            return kInvalidArgument;
        aArtwork = std::make_shared<XmlArtwork>(mImages.at(aIndex - 1));
        return kOk;
    }

private:
    QList<QByteArray> mImages;
};

class XmlFileTrack : public FileTrack
{
public:
    XmlFileTrack(LibraryPtr aLibrary, const XmlLibrary::TrackData& aTrack)
        : mLibrary(std::move(aLibrary)), mTrack(aTrack)
    {
    }
    qint32 dateAdded(double& aOleDate) override
    {
        aOleDate = mTrack.dateAdded;
        return kOk;
    }
    qint32 location(QString& aPath) override
    {
        aPath = LibraryLocation::resolve(mTrack.location, mLibrary->musicFolder, mLibrary->xmlFolder);
        return kOk;
    }

private:
    LibraryPtr mLibrary;
    const XmlLibrary::TrackData& mTrack;
};

class XmlTrack : public itunes::Track
{
public:
    XmlTrack(LibraryPtr aLibrary, int aIndex)
        : mLibrary(std::move(aLibrary)), mTrack(mLibrary->tracks[static_cast<std::size_t>(aIndex)])
    {
    }
    qint32 trackDatabaseId(int& aId) override
    {
        aId = mTrack.id;
        return kOk;
    }
    qint32 name(QString& aName) override { return text(mTrack.name, aName); }
    qint32 artist(QString& aArtist) override { return text(mTrack.artist, aArtist); }
    qint32 album(QString& aAlbum) override { return text(mTrack.album, aAlbum); }
    qint32 kind(int& aKind) override
    {
        aKind = mTrack.hasFile ? kTrackKindFile : kTrackKindSharedLibrary;
        return kOk;
    }
    qint32 size(qint64& aBytes) override
    {
        aBytes = mTrack.size;
        return kOk;
    }
    qint32 compilation(bool& aIsCompilation) override
    {
        aIsCompilation = mTrack.compilation;
        return kOk;
    }
    qint32 trackNumber(int& aNumber) override
    {
        aNumber = mTrack.trackNumber;
        return kOk;
    }
    qint32 discNumber(int& aNumber) override
    {
        aNumber = mTrack.discNumber;
        return kOk;
    }
    qint32 artwork(std::shared_ptr<ArtworkCollection>& aArtwork) override
    {
        QList<QByteArray> images;
        if (mTrack.hasFile) {
            QString path;
            XmlFileTrack(mLibrary, mTrack).location(path);
            images = EmbeddedArtwork::read(path);
        }
        aArtwork = std::make_shared<XmlArtworkCollection>(std::move(images));
        return kOk;
    }
    qint32 fileTrack(std::shared_ptr<FileTrack>& aFileTrack) override
    {
        if (!mTrack.hasFile)
            return kNoInterface;
        aFileTrack = std::make_shared<XmlFileTrack>(mLibrary, mTrack);
        return kOk;
    }

private:
    static qint32 text(const QString& aValue, QString& aOut)
    {
        // A value the file doesn't have reads as an empty string, never as "no string".
        aOut = aValue.isNull() ? QLatin1String("") : aValue;
        return kOk;
    }

    LibraryPtr mLibrary;
    const XmlLibrary::TrackData& mTrack;
};

class XmlTrackCollection : public TrackCollection
{
public:
    XmlTrackCollection(LibraryPtr aLibrary, std::vector<int> aTracks)
        : mLibrary(std::move(aLibrary)), mTracks(std::move(aTracks))
    {
    }
    qint32 count(int& aCount) override
    {
        aCount = static_cast<int>(mTracks.size());
        return kOk;
    }
    qint32 item(int aIndex, std::shared_ptr<itunes::Track>& aTrack) override
    {
        if (aIndex < 1 || aIndex > static_cast<int>(mTracks.size()))
            return kInvalidArgument;
        aTrack = std::make_shared<XmlTrack>(mLibrary, mTracks[static_cast<std::size_t>(aIndex - 1)]);
        return kOk;
    }
    qint32 itemByPlayOrder(int aIndex, std::shared_ptr<itunes::Track>& aTrack) override
    {
        return item(aIndex, aTrack);
    }

private:
    LibraryPtr mLibrary;
    std::vector<int> mTracks;
};

class XmlUserPlaylist : public UserPlaylist
{
public:
    explicit XmlUserPlaylist(const XmlLibrary::PlaylistData& aPlaylist) : mPlaylist(aPlaylist) {}
    qint32 specialKind(int& aKind) override
    {
        aKind = mPlaylist.specialKind;
        return kOk;
    }
    qint32 smart(bool& aIsSmart) override
    {
        aIsSmart = mPlaylist.smart;
        return kOk;
    }

private:
    const XmlLibrary::PlaylistData& mPlaylist;
};

class XmlPlaylist : public Playlist
{
public:
    XmlPlaylist(LibraryPtr aLibrary, int aIndex)
        : mLibrary(std::move(aLibrary)), mIndex(static_cast<std::size_t>(aIndex)),
          mPlaylist(mLibrary->playlists[mIndex])
    {
    }
    qint32 kind(int& aKind) override
    {
        aKind = mPlaylist.kind;
        return kOk;
    }
    qint32 name(QString& aName) override
    {
        aName = mPlaylist.name.isNull() ? QLatin1String("") : mPlaylist.name;
        return kOk;
    }
    qint32 size(qint64& aBytes) override
    {
        aBytes = mLibrary->sizeOf(mIndex);
        return kOk;
    }
    qint32 tracks(std::shared_ptr<TrackCollection>& aTracks) override
    {
        aTracks = std::make_shared<XmlTrackCollection>(mLibrary, mPlaylist.tracks);
        return kOk;
    }
    qint32 search(const QString& aText, int, std::shared_ptr<TrackCollection>& aResults) override
    {
        // The playlist's tracks whose name, artist or album holds the text, in playlist order.
        const QHash<int, int>& positions = mLibrary->positionsIn(mIndex);
        std::vector<std::pair<int, int>> found;
        for (int track : mLibrary->searchIndex().find(aText)) {
            const auto position = positions.constFind(track);
            if (position != positions.constEnd())
                found.emplace_back(position.value(), track);
        }
        std::sort(found.begin(), found.end());
        std::vector<int> tracks;
        tracks.reserve(found.size());
        for (const auto& entry : found)
            tracks.push_back(entry.second);
        aResults = std::make_shared<XmlTrackCollection>(mLibrary, std::move(tracks));
        return kOk;
    }
    qint32 userPlaylist(std::shared_ptr<UserPlaylist>& aUserPlaylist) override
    {
        if (mPlaylist.kind != kPlaylistKindUser)
            return kNoInterface;
        aUserPlaylist = std::make_shared<XmlUserPlaylist>(mPlaylist);
        return kOk;
    }

private:
    LibraryPtr mLibrary;
    std::size_t mIndex;
    const XmlLibrary::PlaylistData& mPlaylist;
};

class XmlPlaylistCollection : public PlaylistCollection
{
public:
    explicit XmlPlaylistCollection(LibraryPtr aLibrary) : mLibrary(std::move(aLibrary)) {}
    qint32 count(int& aCount) override
    {
        aCount = static_cast<int>(mLibrary->playlists.size());
        return kOk;
    }
    qint32 item(int aIndex, std::shared_ptr<Playlist>& aPlaylist) override
    {
        if (aIndex < 1 || aIndex > static_cast<int>(mLibrary->playlists.size()))
            return kInvalidArgument;
        aPlaylist = std::make_shared<XmlPlaylist>(mLibrary, aIndex - 1);
        return kOk;
    }

private:
    LibraryPtr mLibrary;
};

class XmlSource : public Source
{
public:
    explicit XmlSource(LibraryPtr aLibrary) : mLibrary(std::move(aLibrary)) {}
    qint32 kind(int& aKind) override
    {
        aKind = kSourceKindLibrary;
        return kOk;
    }
    qint32 playlists(std::shared_ptr<PlaylistCollection>& aPlaylists) override
    {
        aPlaylists = std::make_shared<XmlPlaylistCollection>(mLibrary);
        return kOk;
    }

private:
    LibraryPtr mLibrary;
};

class XmlSourceCollection : public SourceCollection
{
public:
    explicit XmlSourceCollection(LibraryPtr aLibrary) : mLibrary(std::move(aLibrary)) {}
    qint32 count(int& aCount) override
    {
        aCount = 1;
        return kOk;
    }
    qint32 item(int aIndex, std::shared_ptr<Source>& aSource) override
    {
        if (aIndex != 1)
            return kInvalidArgument;
        aSource = std::make_shared<XmlSource>(mLibrary);
        return kOk;
    }

private:
    LibraryPtr mLibrary;
};

class XmlApplication : public Application
{
public:
    XmlApplication(LibraryPtr aLibrary, const QString& aXmlPath)
        : mLibrary(std::move(aLibrary)), mXmlPath(aXmlPath)
    {
    }
    qint32 sources(std::shared_ptr<SourceCollection>& aSources) override
    {
        aSources = std::make_shared<XmlSourceCollection>(mLibrary);
        return kOk;
    }
    qint32 advise(std::function<void()> aHandler, std::shared_ptr<EventConnection>& aConnection) override
    {
        aConnection = std::make_shared<LibraryFileWatcher>(mXmlPath, std::move(aHandler));
        return kOk;
    }

private:
    LibraryPtr mLibrary;
    QString mXmlPath;
};

} // namespace

std::shared_ptr<Application> makeXmlApplication(std::shared_ptr<const XmlLibrary> aLibrary,
                                                const QString& aXmlPath)
{
    return std::make_shared<XmlApplication>(std::move(aLibrary), aXmlPath);
}
