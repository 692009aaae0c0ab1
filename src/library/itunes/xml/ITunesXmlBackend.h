#pragma once

#include "library/LibraryPathMap.h"
#include "library/itunes/ITunesTypeLibrary.h"
#include "library/itunes/xml/LibraryTexts.h"
#include "library/itunes/xml/XmlLibrary.h"

#include <QDateTime>
#include <QMutex>
#include <QString>

#include <memory>

// The iTunes library as its XML file shows it. A missing, unreadable or half-written file
// answers "not running", so the library waits and retries as for an iTunes that isn't started.
// The parsed library is kept while the file's size and modification time stay the same, so the
// many calls of one sync parse the file once, and between runs in a snapshot (LibrarySnapshot),
// so that a run whose library file has not changed parses nothing. Any thread may call.
class ITunesXmlBackend : public itunes::Backend
{
public:
    // The file at aPath; without one, the file LibraryLocation finds at each call.
    explicit ITunesXmlBackend(const QString& aPath = QString()) : mFixedPath(aPath) {}

    qint32 createApplication(std::shared_ptr<itunes::Application>& aApplication) override;
    QString unavailableReason() override;
    QString lastFailure() const override;
    bool inspect(const QString& aPath, itunes::LibrarySummary& aSummary, QString& aError) override;
    bool locationsNeedLooking() override;
    std::shared_ptr<const KnownTexts> knownTexts(int aWaitMs) override;

    // The parsed library and its file; null when there is no readable library.
    std::shared_ptr<const XmlLibrary> library(QString& aPath);

private:
    void noteFailure(const QString& aWhy);
    // The user's path mappings, for the locations of a library written on another computer.
    std::shared_ptr<const LibraryPathMap> pathMapLocked(); // mMutex held
    // The library file's path, looked for again only when the settings file changed or the file
    // found last is gone.
    QString libraryPath();

    QString mFixedPath;
    mutable QMutex mMutex;
    QString mCachedPath;
    qint64 mCachedSize = -1;
    QDateTime mCachedModified;
    std::shared_ptr<const XmlLibrary> mCached;
    std::shared_ptr<const LibraryTexts> mCachedTexts; // mCached's
    QString mLastFailure;
    QString mLocatedPath;
    QString mSettingsState;
    std::shared_ptr<const LibraryPathMap> mPathMap;
    QString mPathMapState;
};
