#include "support/FakeITunes.h"

#include "library/itunes/xml/XmlLibraryObjects.h"
#include "library/itunes/xml/XmlLibraryParser.h"

#include <QBuffer>
#include <QMutexLocker>

#include <algorithm>

using namespace itunes;

namespace {

// Runs aReal unless the call is scripted: a scripted failure (or "no object") is answered as it
// stands, the model not asked. kNullResult is success without an object.
template <typename Real>
qint32 injected(FakeITunes& aFake, const char* aCall, const QString& aWhich, Real&& aReal)
{
    const qint32 scripted = aFake.take(aCall, aWhich);
    if (scripted == FakeITunes::kNullResult)
        return kOk;
    return scripted != kOk ? scripted : aReal();
}

// Wraps the model's object in aReal (when it made one) as aWrapped.
template <typename Wrapper, typename Interface, typename... Context>
qint32 wrapped(qint32 aResult, std::shared_ptr<Interface>& aReal, std::shared_ptr<Interface>& aOut,
               Context&&... aContext)
{
    if (aReal)
        aOut = std::make_shared<Wrapper>(std::forward<Context>(aContext)..., std::move(aReal));
    return aResult;
}

class ScriptedArtwork : public Artwork
{
public:
    ScriptedArtwork(FakeITunes& aFake, std::shared_ptr<Artwork> aReal) : mFake(aFake), mReal(std::move(aReal))
    {
    }
    qint32 format(int& aFormat) override
    {
        return injected(mFake, "artwork.format", {}, [&] { return mReal->format(aFormat); });
    }
    qint32 saveArtworkToFile(const QString& aPath) override
    {
        return injected(mFake, "artwork.save", {}, [&] { return mReal->saveArtworkToFile(aPath); });
    }

private:
    FakeITunes& mFake;
    std::shared_ptr<Artwork> mReal;
};

class ScriptedArtworkCollection : public ArtworkCollection
{
public:
    ScriptedArtworkCollection(FakeITunes& aFake, std::shared_ptr<ArtworkCollection> aReal)
        : mFake(aFake), mReal(std::move(aReal))
    {
    }
    qint32 count(int& aCount) override
    {
        return injected(mFake, "artworks.count", {}, [&] { return mReal->count(aCount); });
    }
    qint32 item(int aIndex, std::shared_ptr<Artwork>& aArtwork) override
    {
        return injected(mFake, "artworks.item", {}, [&] {
            std::shared_ptr<Artwork> real;
            return wrapped<ScriptedArtwork>(mReal->item(aIndex, real), real, aArtwork, mFake);
        });
    }

private:
    FakeITunes& mFake;
    std::shared_ptr<ArtworkCollection> mReal;
};

class ScriptedFileTrack : public FileTrack
{
public:
    ScriptedFileTrack(FakeITunes& aFake, QString aId, std::shared_ptr<FileTrack> aReal)
        : mFake(aFake), mId(std::move(aId)), mReal(std::move(aReal))
    {
    }
    qint32 dateAdded(double& aOleDate) override
    {
        return injected(mFake, "file.dateAdded", mId, [&] { return mReal->dateAdded(aOleDate); });
    }
    qint32 location(QString& aPath) override
    {
        return injected(mFake, "file.location", mId, [&] { return mReal->location(aPath); });
    }

private:
    FakeITunes& mFake;
    QString mId;
    std::shared_ptr<FileTrack> mReal;
};

class ScriptedTrack : public itunes::Track
{
public:
    ScriptedTrack(FakeITunes& aFake, std::shared_ptr<itunes::Track> aReal)
        : mFake(aFake), mReal(std::move(aReal))
    {
        int id = 0;
        mReal->trackDatabaseId(id);
        mId = QString::number(id);
    }
    qint32 trackDatabaseId(int& aId) override
    {
        return call("track.id", [&] { return mReal->trackDatabaseId(aId); });
    }
    qint32 name(QString& aName) override
    {
        return call("track.name", [&] { return mReal->name(aName); });
    }
    qint32 artist(QString& aArtist) override
    {
        return call("track.artist", [&] { return mReal->artist(aArtist); });
    }
    qint32 album(QString& aAlbum) override
    {
        return call("track.album", [&] { return mReal->album(aAlbum); });
    }
    qint32 kind(int& aKind) override
    {
        return call("track.kind", [&] { return mReal->kind(aKind); });
    }
    qint32 size(qint64& aBytes) override
    {
        return call("track.size", [&] { return mReal->size(aBytes); });
    }
    qint32 compilation(bool& aIs) override
    {
        return call("track.compilation", [&] { return mReal->compilation(aIs); });
    }
    qint32 trackNumber(int& aNumber) override
    {
        return call("track.trackNumber", [&] { return mReal->trackNumber(aNumber); });
    }
    qint32 discNumber(int& aNumber) override
    {
        return call("track.discNumber", [&] { return mReal->discNumber(aNumber); });
    }
    qint32 artwork(std::shared_ptr<ArtworkCollection>& aArtwork) override
    {
        return call("track.artwork", [&] {
            std::shared_ptr<ArtworkCollection> real;
            return wrapped<ScriptedArtworkCollection>(mReal->artwork(real), real, aArtwork, mFake);
        });
    }
    qint32 fileTrack(std::shared_ptr<FileTrack>& aFileTrack) override
    {
        std::shared_ptr<FileTrack> real;
        return wrapped<ScriptedFileTrack>(mReal->fileTrack(real), real, aFileTrack, mFake, mId);
    }

private:
    template <typename Real> qint32 call(const char* aCall, Real&& aReal)
    {
        return injected(mFake, aCall, mId, std::forward<Real>(aReal));
    }

    FakeITunes& mFake;
    std::shared_ptr<itunes::Track> mReal;
    QString mId;
};

class ScriptedTrackCollection : public TrackCollection
{
public:
    ScriptedTrackCollection(FakeITunes& aFake, std::shared_ptr<TrackCollection> aReal)
        : mFake(aFake), mReal(std::move(aReal))
    {
    }
    qint32 count(int& aCount) override
    {
        return injected(mFake, "tracks.count", {}, [&] { return mReal->count(aCount); });
    }
    qint32 item(int aIndex, std::shared_ptr<itunes::Track>& aTrack) override
    {
        return fetch("tracks.item", aIndex, aTrack, &TrackCollection::item);
    }
    qint32 itemByPlayOrder(int aIndex, std::shared_ptr<itunes::Track>& aTrack) override
    {
        return fetch("tracks.itemByPlayOrder", aIndex, aTrack, &TrackCollection::itemByPlayOrder);
    }

private:
    qint32 fetch(const char* aCall, int aIndex, std::shared_ptr<itunes::Track>& aTrack,
                 qint32 (TrackCollection::*aGet)(int, std::shared_ptr<itunes::Track>&))
    {
        // Scripted per track: the model says which track stands at aIndex.
        std::shared_ptr<itunes::Track> real;
        const qint32 result = ((*mReal).*aGet)(aIndex, real);
        int id = 0;
        if (real)
            real->trackDatabaseId(id);
        return injected(mFake, aCall, QString::number(id),
                        [&] { return wrapped<ScriptedTrack>(result, real, aTrack, mFake); });
    }

    FakeITunes& mFake;
    std::shared_ptr<TrackCollection> mReal;
};

class ScriptedUserPlaylist : public UserPlaylist
{
public:
    ScriptedUserPlaylist(FakeITunes& aFake, QString aName, std::shared_ptr<UserPlaylist> aReal)
        : mFake(aFake), mName(std::move(aName)), mReal(std::move(aReal))
    {
    }
    qint32 specialKind(int& aKind) override
    {
        return injected(mFake, "user.specialKind", mName, [&] { return mReal->specialKind(aKind); });
    }
    qint32 smart(bool& aIsSmart) override
    {
        return injected(mFake, "user.smart", mName, [&] { return mReal->smart(aIsSmart); });
    }

private:
    FakeITunes& mFake;
    QString mName;
    std::shared_ptr<UserPlaylist> mReal;
};

class ScriptedPlaylist : public Playlist
{
public:
    ScriptedPlaylist(FakeITunes& aFake, std::shared_ptr<Playlist> aReal)
        : mFake(aFake), mReal(std::move(aReal))
    {
        mReal->name(mName);
    }
    qint32 kind(int& aKind) override
    {
        return call("playlist.kind", [&] { return mReal->kind(aKind); });
    }
    qint32 name(QString& aName) override
    {
        return call("playlist.name", [&] { return mReal->name(aName); });
    }
    qint32 size(qint64& aBytes) override
    {
        return call("playlist.size", [&] { return mReal->size(aBytes); });
    }
    qint32 tracks(std::shared_ptr<TrackCollection>& aTracks) override
    {
        return call("playlist.tracks", [&] {
            std::shared_ptr<TrackCollection> real;
            return wrapped<ScriptedTrackCollection>(mReal->tracks(real), real, aTracks, mFake);
        });
    }
    qint32 search(const QString& aText, int aField, std::shared_ptr<TrackCollection>& aResults) override
    {
        return call("playlist.search", [&] {
            std::shared_ptr<TrackCollection> real;
            return wrapped<ScriptedTrackCollection>(mReal->search(aText, aField, real), real, aResults,
                                                    mFake);
        });
    }
    qint32 userPlaylist(std::shared_ptr<UserPlaylist>& aUserPlaylist) override
    {
        std::shared_ptr<UserPlaylist> real;
        return wrapped<ScriptedUserPlaylist>(mReal->userPlaylist(real), real, aUserPlaylist, mFake, mName);
    }

private:
    template <typename Real> qint32 call(const char* aCall, Real&& aReal)
    {
        return injected(mFake, aCall, mName, std::forward<Real>(aReal));
    }

    FakeITunes& mFake;
    std::shared_ptr<Playlist> mReal;
    QString mName;
};

class ScriptedPlaylistCollection : public PlaylistCollection
{
public:
    ScriptedPlaylistCollection(FakeITunes& aFake, std::shared_ptr<PlaylistCollection> aReal)
        : mFake(aFake), mReal(std::move(aReal))
    {
    }
    qint32 count(int& aCount) override
    {
        return injected(mFake, "playlists.count", {}, [&] { return mReal->count(aCount); });
    }
    qint32 item(int aIndex, std::shared_ptr<Playlist>& aPlaylist) override
    {
        return injected(mFake, "playlists.item", {}, [&] {
            std::shared_ptr<Playlist> real;
            return wrapped<ScriptedPlaylist>(mReal->item(aIndex, real), real, aPlaylist, mFake);
        });
    }

private:
    FakeITunes& mFake;
    std::shared_ptr<PlaylistCollection> mReal;
};

class ScriptedSource : public Source
{
public:
    ScriptedSource(FakeITunes& aFake, std::shared_ptr<Source> aReal) : mFake(aFake), mReal(std::move(aReal))
    {
    }
    qint32 kind(int& aKind) override
    {
        return injected(mFake, "source.kind", {}, [&] {
            aKind = mFake.sourceKind;
            return kOk;
        });
    }
    qint32 playlists(std::shared_ptr<PlaylistCollection>& aPlaylists) override
    {
        return injected(mFake, "source.playlists", {}, [&] {
            std::shared_ptr<PlaylistCollection> real;
            return wrapped<ScriptedPlaylistCollection>(mReal->playlists(real), real, aPlaylists, mFake);
        });
    }

private:
    FakeITunes& mFake;
    std::shared_ptr<Source> mReal;
};

class ScriptedSourceCollection : public SourceCollection
{
public:
    ScriptedSourceCollection(FakeITunes& aFake, std::shared_ptr<SourceCollection> aReal)
        : mFake(aFake), mReal(std::move(aReal))
    {
    }
    qint32 count(int& aCount) override
    {
        return injected(mFake, "sources.count", {}, [&] { return mReal->count(aCount); });
    }
    qint32 item(int aIndex, std::shared_ptr<Source>& aSource) override
    {
        return injected(mFake, "sources.item", {}, [&] {
            std::shared_ptr<Source> real;
            return wrapped<ScriptedSource>(mReal->item(aIndex, real), real, aSource, mFake);
        });
    }

private:
    FakeITunes& mFake;
    std::shared_ptr<SourceCollection> mReal;
};

// Library events come from the test (raiseEvent), not from the file.
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

class ScriptedApplication : public Application
{
public:
    ScriptedApplication(FakeITunes& aFake, std::shared_ptr<Application> aReal)
        : mFake(aFake), mReal(std::move(aReal))
    {
    }
    qint32 sources(std::shared_ptr<SourceCollection>& aSources) override
    {
        return injected(mFake, "sources", {}, [&] {
            std::shared_ptr<SourceCollection> real;
            return wrapped<ScriptedSourceCollection>(mReal->sources(real), real, aSources, mFake);
        });
    }
    qint32 advise(std::function<void()> aHandler, std::shared_ptr<EventConnection>& aConnection) override
    {
        aConnection = std::make_shared<FakeConnection>(mFake, std::move(aHandler));
        return kOk;
    }

private:
    FakeITunes& mFake;
    std::shared_ptr<Application> mReal;
};

} // namespace

qint32 FakeITunes::createApplication(std::shared_ptr<Application>& aApplication)
{
    return injected(*this, "createApplication", {}, [&] {
        QByteArray xml;
        {
            QMutexLocker lock(&mMutex);
            xml = library.toXml();
        }
        QBuffer buffer(&xml);
        buffer.open(QIODevice::ReadOnly);
        auto parsed = std::make_shared<XmlLibrary>();
        QString error;
        if (!XmlLibraryParser::parse(buffer, *parsed, error))
            return kFail;
        aApplication = std::make_shared<ScriptedApplication>(*this, makeXmlApplication(parsed, QString()));
        return kOk;
    });
}

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

XmlTrackEntry fakeTrack(int aId, const QString& aName, const QString& aLocation, const QString& aAlbum,
                        const QString& aArtist)
{
    return XmlTrackEntry{aId, aName, aArtist, aAlbum,
                         aLocation.isEmpty() ? QString() : LibraryXmlWriter::fileUrl(aLocation)};
}
