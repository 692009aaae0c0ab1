#pragma once

// An iTunes for the library tests: the library a test writes (LibraryXmlWriter, the one library
// builder of the tests) read by the real XML object model, with scripted results injected into
// its calls: a call can be made to fail, to say "busy", or to succeed without an object; library
// events are raised by the test. The rules of the objects (1-based items, out-of-range errors, no
// file interface for tracks without a file, no user-playlist interface for the library playlist)
// are the real model's.

#include "library/itunes/ITunesTypeLibrary.h"
#include "support/LibraryXmlWriter.h"

#include <QMutex>
#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

class FakeITunes : public itunes::Backend
{
public:
    // Success without an object (or a null string) when scripted.
    static constexpr qint32 kNullResult = 0x7ffffff0;

    // What the library holds; read anew by each createApplication.
    LibraryXmlWriter library;
    // The kind the library's source reports (iTunes also has sources that are no library).
    int sourceKind = itunes::kSourceKindLibrary;

    // The next results of a call ("object.method"), in order; "call:which" scripts the call of
    // one track (its database id) or playlist (its name) only. Unscripted calls reach the model.
    void script(const std::string& aCall, std::initializer_list<qint32> aResults);
    void scriptRepeated(const std::string& aCall, qint32 aResult, int aTimes);
    int calls(const std::string& aCall) const;
    void resetCalls();
    // Sends a library event to every advised connection.
    void raiseEvent();

    qint32 createApplication(std::shared_ptr<itunes::Application>& aApplication) override;

    // For the wrapped objects: counts the call and takes its scripted result, or kOk.
    qint32 take(const std::string& aCall, const QString& aWhich = QString());
    void addHandler(std::function<void()>* aHandler);
    void removeHandler(std::function<void()>* aHandler);

private:
    mutable QMutex mMutex;
    std::map<std::string, std::deque<qint32>> mScript;
    std::map<std::string, int> mCalls;
    std::vector<std::function<void()>*> mHandlers;
};

// A track of the library with a file at aLocation (a local path; empty: none), with sensible
// defaults for what a test doesn't care about.
XmlTrackEntry fakeTrack(int aId, const QString& aName, const QString& aLocation,
                        const QString& aAlbum = "Album", const QString& aArtist = "Artist");
