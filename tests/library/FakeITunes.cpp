#include "library/FakeITunes.h"

#include <QFile>
#include <QMutexLocker>

using namespace itunes;

namespace {

// A null string or object on a scripted kNullResult, else the result as it stands.
qint32 answer(qint32 aResult, bool& aNull)
{
    aNull = aResult == FakeITunes::kNullResult;
    return aNull ? kOk : aResult;
}

class FakeArtwork : public Artwork
{
public:
    FakeArtwork(FakeITunes& aFake, FakeArtworkSpec aSpec) : mFake(aFake), mSpec(std::move(aSpec)) {}
    qint32 format(int& aFormat) override
    {
        const qint32 result = mFake.take("artwork.format");
        aFormat = mSpec.format;
        return result;
    }
    qint32 saveArtworkToFile(const QString& aPath) override
    {
        const qint32 result = mFake.take("artwork.save");
        if (result < 0)
            return result;
        QFile file(aPath);
        if (!file.open(QIODevice::WriteOnly))
            return kFail;
        file.write(mSpec.image);
        return kOk;
    }

private:
    FakeITunes& mFake;
    FakeArtworkSpec mSpec;
};

class FakeArtworkCollection : public ArtworkCollection
{
public:
    FakeArtworkCollection(FakeITunes& aFake, QList<FakeArtworkSpec> aArtwork)
        : mFake(aFake), mArtwork(std::move(aArtwork))
    {
    }
    qint32 count(int& aCount) override
    {
        aCount = static_cast<int>(mArtwork.size());
        return mFake.take("artworks.count");
    }
    qint32 item(int aIndex, std::shared_ptr<Artwork>& aArtwork) override
    {
        bool null = false;
        const qint32 result = answer(mFake.take("artworks.item"), null);
        if (result < 0 || null)
            return result;
        if (aIndex < 1 || aIndex > mArtwork.size())
            return kInvalidArgument;
        aArtwork = std::make_shared<FakeArtwork>(mFake, mArtwork.at(aIndex - 1));
        return kOk;
    }

private:
    FakeITunes& mFake;
    QList<FakeArtworkSpec> mArtwork;
};

class FakeFileTrack : public FileTrack
{
public:
    FakeFileTrack(FakeITunes& aFake, const FakeTrackSpec& aSpec) : mFake(aFake), mSpec(aSpec) {}
    qint32 dateAdded(double& aOleDate) override
    {
        aOleDate = mSpec.dateAdded;
        return mFake.take("file.dateAdded", QString::number(mSpec.id));
    }
    qint32 location(QString& aPath) override
    {
        bool null = false;
        const qint32 result = answer(mFake.take("file.location", QString::number(mSpec.id)), null);
        if (result >= 0 && !null)
            aPath = mSpec.location;
        return result;
    }

private:
    FakeITunes& mFake;
    FakeTrackSpec mSpec;
};

class FakeTrack : public itunes::Track
{
public:
    FakeTrack(FakeITunes& aFake, const FakeTrackSpec& aSpec) : mFake(aFake), mSpec(aSpec) {}
    qint32 trackDatabaseId(int& aId) override
    {
        aId = mSpec.id;
        return call("track.id");
    }
    qint32 name(QString& aName) override { return text("track.name", mSpec.name, aName); }
    qint32 artist(QString& aArtist) override { return text("track.artist", mSpec.artist, aArtist); }
    qint32 album(QString& aAlbum) override { return text("track.album", mSpec.album, aAlbum); }
    qint32 kind(int& aKind) override
    {
        aKind = mSpec.kind;
        return call("track.kind");
    }
    qint32 size(qint64& aBytes) override
    {
        aBytes = mSpec.size;
        return call("track.size");
    }
    qint32 compilation(bool& aIsCompilation) override
    {
        aIsCompilation = mSpec.compilation;
        return call("track.compilation");
    }
    qint32 trackNumber(int& aNumber) override
    {
        aNumber = mSpec.trackNumber;
        return call("track.trackNumber");
    }
    qint32 discNumber(int& aNumber) override
    {
        aNumber = mSpec.discNumber;
        return call("track.discNumber");
    }
    qint32 artwork(std::shared_ptr<ArtworkCollection>& aArtwork) override
    {
        bool null = false;
        const qint32 result = answer(call("track.artwork"), null);
        if (result >= 0 && !null)
            aArtwork = std::make_shared<FakeArtworkCollection>(mFake, mSpec.artwork);
        return result;
    }
    qint32 fileTrack(std::shared_ptr<FileTrack>& aFileTrack) override
    {
        if (!mSpec.hasFile)
            return kNoInterface;
        aFileTrack = std::make_shared<FakeFileTrack>(mFake, mSpec);
        return kOk;
    }

private:
    qint32 call(const char* aCall) { return mFake.take(aCall, QString::number(mSpec.id)); }
    qint32 text(const char* aCall, const QString& aValue, QString& aOut)
    {
        bool null = false;
        const qint32 result = answer(call(aCall), null);
        if (result >= 0 && !null)
            aOut = aValue;
        return result;
    }

    FakeITunes& mFake;
    FakeTrackSpec mSpec;
};

class FakeTrackCollection : public TrackCollection
{
public:
    FakeTrackCollection(FakeITunes& aFake, QList<int> aIds) : mFake(aFake), mIds(std::move(aIds)) {}
    qint32 count(int& aCount) override
    {
        aCount = static_cast<int>(mIds.size());
        return mFake.take("tracks.count");
    }
    qint32 item(int aIndex, std::shared_ptr<itunes::Track>& aTrack) override
    {
        return fetch("tracks.item", aIndex, aTrack);
    }
    qint32 itemByPlayOrder(int aIndex, std::shared_ptr<itunes::Track>& aTrack) override
    {
        return fetch("tracks.itemByPlayOrder", aIndex, aTrack);
    }

private:
    qint32 fetch(const char* aCall, int aIndex, std::shared_ptr<itunes::Track>& aTrack)
    {
        if (aIndex < 1 || aIndex > mIds.size())
            return kInvalidArgument;
        const FakeTrackSpec* entry = mFake.trackById(mIds.at(aIndex - 1));
        bool null = false;
        const qint32 result = answer(mFake.take(aCall, QString::number(mIds.at(aIndex - 1))), null);
        if (result < 0 || null || !entry)
            return result;
        aTrack = std::make_shared<FakeTrack>(mFake, *entry);
        return kOk;
    }

    FakeITunes& mFake;
    QList<int> mIds;
};

class FakeUserPlaylist : public UserPlaylist
{
public:
    FakeUserPlaylist(FakeITunes& aFake, const FakePlaylistSpec& aSpec) : mFake(aFake), mSpec(aSpec) {}
    qint32 specialKind(int& aKind) override
    {
        aKind = mSpec.specialKind;
        return mFake.take("user.specialKind", mSpec.name);
    }
    qint32 smart(bool& aIsSmart) override
    {
        aIsSmart = mSpec.smart;
        return mFake.take("user.smart", mSpec.name);
    }

private:
    FakeITunes& mFake;
    FakePlaylistSpec mSpec;
};

class FakePlaylist : public Playlist
{
public:
    FakePlaylist(FakeITunes& aFake, const FakePlaylistSpec& aSpec) : mFake(aFake), mSpec(aSpec) {}
    qint32 kind(int& aKind) override
    {
        aKind = mSpec.kind;
        return mFake.take("playlist.kind", mSpec.name);
    }
    qint32 name(QString& aName) override
    {
        bool null = false;
        const qint32 result = answer(mFake.take("playlist.name", mSpec.name), null);
        if (result >= 0 && !null)
            aName = mSpec.name;
        return result;
    }
    qint32 size(qint64& aBytes) override
    {
        aBytes = 0;
        for (int id : mSpec.trackIds) {
            if (const FakeTrackSpec* track = mFake.trackById(id))
                aBytes += track->size;
        }
        return mFake.take("playlist.size", mSpec.name);
    }
    qint32 tracks(std::shared_ptr<TrackCollection>& aTracks) override
    {
        bool null = false;
        const qint32 result = answer(mFake.take("playlist.tracks", mSpec.name), null);
        if (result >= 0 && !null)
            aTracks = std::make_shared<FakeTrackCollection>(mFake, mSpec.trackIds);
        return result;
    }
    qint32 search(const QString& aText, int, std::shared_ptr<TrackCollection>& aResults) override
    {
        const qint32 result = mFake.take("playlist.search", mSpec.name);
        if (result < 0)
            return result;
        QList<int> found;
        for (int id : mSpec.trackIds) {
            const FakeTrackSpec* track = mFake.trackById(id);
            if (track && (track->name.contains(aText, Qt::CaseInsensitive) ||
                          track->artist.contains(aText, Qt::CaseInsensitive) ||
                          track->album.contains(aText, Qt::CaseInsensitive)))
                found.append(id);
        }
        aResults = std::make_shared<FakeTrackCollection>(mFake, found);
        return kOk;
    }
    qint32 userPlaylist(std::shared_ptr<UserPlaylist>& aUserPlaylist) override
    {
        if (mSpec.kind != kPlaylistKindUser)
            return kNoInterface;
        aUserPlaylist = std::make_shared<FakeUserPlaylist>(mFake, mSpec);
        return kOk;
    }

private:
    FakeITunes& mFake;
    FakePlaylistSpec mSpec;
};

class FakePlaylistCollection : public PlaylistCollection
{
public:
    explicit FakePlaylistCollection(FakeITunes& aFake) : mFake(aFake) {}
    qint32 count(int& aCount) override
    {
        aCount = static_cast<int>(mFake.playlists.size());
        return mFake.take("playlists.count");
    }
    qint32 item(int aIndex, std::shared_ptr<Playlist>& aPlaylist) override
    {
        bool null = false;
        const qint32 result = answer(mFake.take("playlists.item"), null);
        if (result < 0 || null)
            return result;
        if (aIndex < 1 || aIndex > static_cast<int>(mFake.playlists.size()))
            return kInvalidArgument;
        aPlaylist =
            std::make_shared<FakePlaylist>(mFake, mFake.playlists[static_cast<std::size_t>(aIndex - 1)]);
        return kOk;
    }

private:
    FakeITunes& mFake;
};

class FakeSource : public Source
{
public:
    explicit FakeSource(FakeITunes& aFake) : mFake(aFake) {}
    qint32 kind(int& aKind) override
    {
        aKind = mFake.sourceKind;
        return mFake.take("source.kind");
    }
    qint32 playlists(std::shared_ptr<PlaylistCollection>& aPlaylists) override
    {
        bool null = false;
        const qint32 result = answer(mFake.take("source.playlists"), null);
        if (result >= 0 && !null)
            aPlaylists = std::make_shared<FakePlaylistCollection>(mFake);
        return result;
    }

private:
    FakeITunes& mFake;
};

class FakeSourceCollection : public SourceCollection
{
public:
    explicit FakeSourceCollection(FakeITunes& aFake) : mFake(aFake) {}
    qint32 count(int& aCount) override
    {
        aCount = 1;
        return mFake.take("sources.count");
    }
    qint32 item(int aIndex, std::shared_ptr<Source>& aSource) override
    {
        if (aIndex != 1)
            return kInvalidArgument;
        const qint32 result = mFake.take("sources.item");
        if (result >= 0)
            aSource = std::make_shared<FakeSource>(mFake);
        return result;
    }

private:
    FakeITunes& mFake;
};

class FakeConnection : public EventConnection
{
public:
    FakeConnection(FakeITunes& aFake, std::function<void()> aHandler)
        : mFake(aFake), mHandler(std::move(aHandler))
    {
        mFake.addHandler(&mHandler);
    }
    ~FakeConnection() override { mFake.removeHandler(&mHandler); }

private:
    FakeITunes& mFake;
    std::function<void()> mHandler;
};

class FakeApplication : public Application
{
public:
    explicit FakeApplication(FakeITunes& aFake) : mFake(aFake) {}
    qint32 sources(std::shared_ptr<SourceCollection>& aSources) override
    {
        const qint32 result = mFake.take("sources");
        if (result >= 0 && result != kFalse)
            aSources = std::make_shared<FakeSourceCollection>(mFake);
        return result;
    }
    qint32 advise(std::function<void()> aHandler, std::shared_ptr<EventConnection>& aConnection) override
    {
        aConnection = std::make_shared<FakeConnection>(mFake, std::move(aHandler));
        return kOk;
    }

private:
    FakeITunes& mFake;
};

} // namespace

void FakeITunes::script(const std::string& aCall, std::initializer_list<qint32> aResults)
{
    QMutexLocker lock(&mMutex);
    for (qint32 result : aResults)
        mScript[aCall].push_back(result);
}

void FakeITunes::scriptRepeated(const std::string& aCall, qint32 aResult, int aTimes)
{
    QMutexLocker lock(&mMutex);
    for (int i = 0; i < aTimes; ++i)
        mScript[aCall].push_back(aResult);
}

int FakeITunes::calls(const std::string& aCall) const
{
    QMutexLocker lock(&mMutex);
    const auto found = mCalls.find(aCall);
    return found == mCalls.end() ? 0 : found->second;
}

void FakeITunes::resetCalls()
{
    QMutexLocker lock(&mMutex);
    mCalls.clear();
}

qint32 FakeITunes::take(const std::string& aCall, const QString& aWhich)
{
    QMutexLocker lock(&mMutex);
    ++mCalls[aCall];
    for (const std::string& key : {aCall + ":" + aWhich.toStdString(), aCall}) {
        auto found = mScript.find(key);
        if (found != mScript.end() && !found->second.empty()) {
            const qint32 result = found->second.front();
            found->second.pop_front();
            return result;
        }
    }
    return kOk;
}

const FakeTrackSpec* FakeITunes::trackById(int aId) const
{
    for (const FakeTrackSpec& track : tracks) {
        if (track.id == aId)
            return &track;
    }
    return nullptr;
}

qint32 FakeITunes::createApplication(std::shared_ptr<Application>& aApplication)
{
    bool null = false;
    const qint32 result = answer(take("createApplication"), null);
    if (result >= 0 && !null)
        aApplication = std::make_shared<FakeApplication>(*this);
    return result;
}

void FakeITunes::addHandler(std::function<void()>* aHandler)
{
    QMutexLocker lock(&mMutex);
    mHandlers.push_back(aHandler);
}

void FakeITunes::removeHandler(std::function<void()>* aHandler)
{
    QMutexLocker lock(&mMutex);
    mHandlers.erase(std::remove(mHandlers.begin(), mHandlers.end(), aHandler), mHandlers.end());
}

void FakeITunes::raiseEvent()
{
    std::vector<std::function<void()>*> handlers;
    {
        QMutexLocker lock(&mMutex);
        handlers = mHandlers;
    }
    for (auto* handler : handlers)
        (*handler)();
}

FakeTrackSpec fakeTrack(int aId, const QString& aName, const QString& aLocation, const QString& aAlbum,
                        const QString& aArtist)
{
    FakeTrackSpec track;
    track.id = aId;
    track.name = aName;
    track.location = aLocation;
    track.album = aAlbum;
    track.artist = aArtist;
    return track;
}
