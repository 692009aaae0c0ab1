#include "library/LocalMusicLibrary.h"

#include "app/LogScope.h"
#include "library/LocalMusicLibraryCalls.h"

#include <QPointer>
#include <QThread>

using namespace itunes;

LocalMusicLibrary::LocalMusicLibrary(std::shared_ptr<Backend> aBackend, QObject* aParent)
    : QObject(aParent), mBackend(std::move(aBackend)),
      mInitialiseThread(makeThread(QStringLiteral("LocalLibraryInitialiseThread"), [this] { initialise(); }))
{
    LogScope log("LocalMusicLibrary::LocalMusicLibrary");
    Q_ASSERT(mBackend);
}

LocalMusicLibrary::~LocalMusicLibrary()
{
    LogScope log("LocalMusicLibrary::~LocalMusicLibrary");
    // The initialisation may be waiting for iTunes without limit: stopping its thread ends that.
    mInitialiseThread.reset();
    mEventHandler.reset();
}

void LocalMusicLibrary::pause()
{
    QThread::msleep(static_cast<unsigned long>(mRetryPauseMs));
}

bool LocalMusicLibrary::shouldRetry(int& aRetryCounter, int aResult)
{
    if (aResult >= 0) {
        emit iTunesOkay();
        return false;
    }
    logValue("*** Retrying, error", aResult);
    if (aResult == kCallRejected || aResult == kServerExecFailure) {
        emit iTunesFailure();
        logMessage("Expected iTunes not responding error - always retry...");
    } else {
        logValue("Unexpected iTunes error, aRetryCounter", aRetryCounter);
        if (aRetryCounter >= 8) {
            ++aRetryCounter;
            return false;
        }
    }
    if (mStopping || stopRequested())
        return false;
    pause();
    logMessage("Retrying...");
    ++aRetryCounter;
    return true;
}

bool LocalMusicLibrary::shouldRetryPointer(int& aRetryCounter, int& aResult, bool aHasObject)
{
    if (aResult < 0) {
        logValue("*** ptr getting error returned from iTunes", aResult);
        return shouldRetry(aRetryCounter, aResult);
    }
    if (!aHasObject) {
        logMessage("*** Null pointer returned from iTunes (but no error)");
        aResult = kNullObject;
    }
    return false;
}

bool LocalMusicLibrary::shouldRetryString(int& aRetryCounter, int& aResult, QString& aString)
{
    if (aResult < 0) {
        logValue("*** string getting error returned from iTunes", aResult);
        return shouldRetry(aRetryCounter, aResult);
    }
    if (aString.isNull()) {
        logMessage("*** Null string returned from iTunes - changing to empty string");
        aString = QLatin1String("");
    }
    return false;
}

int LocalMusicLibrary::createApplication(std::shared_ptr<Application>& aApplication)
{
    return callForObject(
        [this](std::shared_ptr<Application>& aObject) { return mBackend->createApplication(aObject); },
        aApplication);
}

void LocalMusicLibrary::initialiseInNewThread()
{
    LogScope log("LocalMusicLibrary::initialiseInNewThread");
    mInitialiseThread->start();
}

void LocalMusicLibrary::initialise()
{
    LogScope log("LocalMusicLibrary::initialise");
    if (mInitialised) {
        logMessage("Already initiaized");
        return;
    }
    logMessage("Attempting to create iTunesApp");
    std::shared_ptr<Application> application;
    const int result = createApplication(application);
    logValue("CoCreateInstance(CLSID_iTunesApp returns:", result);
    if (result >= 0 && application) {
        logMessage("Created iTunesApp");
        mInitialised = true;
        emit initialisationComplete();
    }
}

int LocalMusicLibrary::listenForITunesEvents()
{
    LogScope log("LocalMusicLibrary::listenForITunesEvents");
    std::shared_ptr<Application> application;
    const int result = createApplication(application);
    if (result < 0 || !application) {
        logMessage("Failure creating iTunesApp");
        return log.ret(result);
    }
    QPointer<LocalMusicLibrary> self(this);
    std::shared_ptr<EventConnection> connection;
    application->advise(
        [self] {
            if (self)
                emit self->localLibraryEvent();
        },
        connection);
    mEventHandler = connection;
    return log.ret(result);
}

int LocalMusicLibrary::getPlaylistCollection(std::shared_ptr<PlaylistCollection>& aCollection)
{
    LogScope log("LocalMusicLibrary::getPlaylistCollection");
    std::shared_ptr<Application> application;
    if (createApplication(application) < 0 || !application) {
        logMessage("Could not create iTunesApp");
        return log.ret(kLibraryFailure);
    }
    std::shared_ptr<SourceCollection> sources;
    int result = callWithRetry([&] { return application->sources(sources); });
    if (result < 0 || result == kFalse || !sources) {
        logMessage("Could not get sources");
        return log.ret(kLibraryFailure);
    }
    int sourceCount = 0;
    if (callWithRetry([&] { return sources->count(sourceCount); }) < 0) {
        logMessage("Could not get source count");
        return log.ret(kLibraryFailure);
    }
    logValue("intSourceCount", sourceCount);
    std::shared_ptr<Source> library;
    for (int i = 0; i < sourceCount && !library; ++i) {
        logValue("Trying source index", i);
        std::shared_ptr<Source> source;
        result = callWithRetry([&] { return sources->item(i + 1, source); });
        if (result < 0 || !source)
            continue;
        int kind = 0;
        result = callWithRetry([&] { return source->kind(kind); });
        if (result >= 0 && kind == kSourceKindLibrary) {
            logMessage("Found local library");
            library = source;
        }
    }
    if (!library) {
        logMessage("Failure or local library not found");
        return log.ret(kLibraryFailure);
    }
    if (callForObject(
            [&](std::shared_ptr<PlaylistCollection>& aObject) { return library->playlists(aObject); },
            aCollection) < 0) {
        logMessage("Could not get playlists from source");
        return log.ret(kLibraryFailure);
    }
    return log.ret(0);
}

int LocalMusicLibrary::specialKindOf(Playlist& aPlaylist)
{
    std::shared_ptr<UserPlaylist> user;
    if (aPlaylist.userPlaylist(user) < 0 || !user)
        return -1;
    logMessage("Got user playlist");
    int specialKind = -1;
    if (callWithRetry([&] { return user->specialKind(specialKind); }) < 0)
        return -1;
    return specialKind;
}

int LocalMusicLibrary::getPlaylist(const QString& aName, std::shared_ptr<Playlist>& aPlaylist)
{
    LogScope log("LocalMusicLibrary::getPlaylist");
    std::shared_ptr<PlaylistCollection> collection;
    if (getPlaylistCollection(collection) != 0) {
        logMessage("Could not get playlist collection");
        return log.ret(kLibraryFailure);
    }
    int count = 0;
    if (callWithRetry([&] { return collection->count(count); }) < 0) {
        logMessage("Could not get playlist count");
        count = 0;
    }
    if (count <= 0) {
        if (!aName.isEmpty())
            return log.ret(kPlaylistNotFound);
        logMessage("Last error");
        return log.ret(kLibraryFailure);
    }
    // From the highest index down: of several playlists with one name, the last one wins.
    std::shared_ptr<Playlist> playlist;
    bool found = false;
    for (int index = count; index >= 1 && !found; --index) {
        if (callForObject(
                [&](std::shared_ptr<Playlist>& aObject) { return collection->item(index, aObject); },
                playlist) < 0) {
            logMessage("Failure getting playlist collection item");
            return log.ret(kLibraryFailure);
        }
        if (aName.isEmpty()) {
            const int specialKind = specialKindOf(*playlist);
            if (specialKind >= 0)
                logMessage("Got playlist special kind");
            if (specialKind == kSpecialKindMusic) {
                logMessage("Found special Music playlist");
                found = true;
            }
        } else {
            QString name;
            if (callForString([&](QString& aString) { return playlist->name(aString); }, name) < 0) {
                logMessage("Failed getting playlist name");
                return log.ret(kLibraryFailure);
            }
            found = name == aName;
        }
    }
    // Without a Music playlist, the last one fetched (the library playlist) is used.
    if (!found && !aName.isEmpty())
        return log.ret(kPlaylistNotFound);
    qint64 size = 0;
    if (callWithRetry([&] { return playlist->size(size); }) < 0) {
        logMessage("Could not get playlist size");
        return log.ret(kLibraryFailure);
    }
    aPlaylist = playlist;
    return log.ret(0);
}

bool LocalMusicLibrary::walkUserPlaylists(
    const std::function<bool(itunes::Playlist&, itunes::UserPlaylist&, int)>& aVisit)
{
    std::shared_ptr<PlaylistCollection> collection;
    if (getPlaylistCollection(collection) != 0) {
        logMessage("Failed to get playlist collection");
        return false;
    }
    int count = 0;
    if (callWithRetry([&] { return collection->count(count); }) < 0) {
        logMessage("Failed to get playlist count");
        return false;
    }
    for (int index = 1; index <= count; ++index) {
        logMessage("Looking for playlists...");
        logValue("playlist_index", index);
        std::shared_ptr<Playlist> playlist;
        if (callWithRetry([&] { return collection->item(index, playlist); }) < 0 || !playlist) {
            logMessage("Unable to get playlist");
            continue;
        }
        int kind = 0;
        if (callWithRetry([&] { return playlist->kind(kind); }) < 0 || kind != kPlaylistKindUser)
            continue;
        logMessage("User playlist found");
        std::shared_ptr<UserPlaylist> user;
        if (playlist->userPlaylist(user) < 0 || !user)
            continue;
        logMessage("Got user playlist");
        int specialKind = -1;
        if (callWithRetry([&] { return user->specialKind(specialKind); }) < 0)
            continue;
        logMessage("Got special kind");
        if (!aVisit(*playlist, *user, specialKind))
            break;
    }
    return true;
}

bool LocalMusicLibrary::refreshPlaylists()
{
    LogScope log("LocalMusicLibrary::refreshPlaylists");
    mAllPlaylists.clear();
    mStandardPlaylists.clear();
    const bool listed = walkUserPlaylists([this](Playlist& aPlaylist, UserPlaylist& aUser, int aSpecialKind) {
        // Only ordinary playlists: not Music, Movies, Podcasts, Purchased, folders or other lists.
        if (aSpecialKind != kSpecialKindNone)
            return true;
        QString name;
        callForString([&](QString& aString) { return aPlaylist.name(aString); }, name);
        logMessage("Adding playlist");
        logValue("name", name);
        mAllPlaylists.append(name);
        bool smart = false;
        if (callWithRetry([&] { return aUser.smart(smart); }) < 0 || !smart)
            mStandardPlaylists.append(name);
        return true;
    });
    if (!listed)
        return log.ret(false);
    const bool changed = mAllPlaylists != mPreviousPlaylists;
    mPreviousPlaylists = mAllPlaylists;
    return log.ret(changed);
}
