#pragma once

// An iTunes in memory for the library tests: the object model over tracks and playlists a test
// describes, behaving like the real one (1-based items, out-of-range errors, no file interface
// for tracks without a file, no user-playlist interface for the library playlist) and answering
// scripted results: a call can be made to fail, to say "busy", or to succeed without an object.

#include "library/itunes/ITunesTypeLibrary.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct FakeArtworkSpec
{
    int format = itunes::kArtworkFormatJpeg;
    QByteArray image;
};

struct FakeTrackSpec
{
    int id = 0;
    QString name;
    QString artist;
    QString album;
    QString location;
    qint64 size = 1000;
    int trackNumber = 1;
    int discNumber = 0;
    bool compilation = false;
    double dateAdded = 40000.75;
    int kind = itunes::kTrackKindFile;
    bool hasFile = true;
    QList<FakeArtworkSpec> artwork;
};

struct FakePlaylistSpec
{
    QString name;
    int kind = itunes::kPlaylistKindUser;
    int specialKind = itunes::kSpecialKindNone;
    bool smart = false;
    QList<int> trackIds;
};

class FakeITunes : public itunes::Backend
{
public:
    // Success without an object (or a null string) when scripted.
    static constexpr qint32 kNullResult = 0x7ffffff0;

    std::vector<FakeTrackSpec> tracks;
    std::vector<FakePlaylistSpec> playlists;
    int sourceKind = itunes::kSourceKindLibrary;

    // The next results of a call, in order; "call:id" scripts the call of one track (its
    // database id) or playlist (its name) only. Unscripted calls succeed.
    void script(const std::string& aCall, std::initializer_list<qint32> aResults);
    void scriptRepeated(const std::string& aCall, qint32 aResult, int aTimes);
    int calls(const std::string& aCall) const;
    void resetCalls();
    // Sends a library event to every advised connection.
    void raiseEvent();

    qint32 createApplication(std::shared_ptr<itunes::Application>& aApplication) override;

    // For the fake's objects: counts the call and answers its scripted result, or kOk.
    qint32 take(const std::string& aCall, const QString& aWhich = QString());
    const FakeTrackSpec* trackById(int aId) const;
    void addHandler(std::function<void()>* aHandler);
    void removeHandler(std::function<void()>* aHandler);

private:
    mutable QMutex mMutex;
    std::map<std::string, std::deque<qint32>> mScript;
    std::map<std::string, int> mCalls;
    std::vector<std::function<void()>*> mHandlers;
};

// A track of the fake library, with sensible defaults for what a test doesn't care about.
FakeTrackSpec fakeTrack(int aId, const QString& aName, const QString& aLocation,
                        const QString& aAlbum = "Album", const QString& aArtist = "Artist");
