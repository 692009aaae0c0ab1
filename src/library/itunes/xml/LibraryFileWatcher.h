#pragma once

#include "library/itunes/ITunesTypeLibrary.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

#include <functional>

// Library events for the XML file: iTunes rewrites the file by replacing it, so both the file and
// its folder are watched, and the file is watched again after each replacement. An event is
// raised only when the file itself changed. Lives on the
// thread that made it, which needs an event loop.
class LibraryFileWatcher : public QObject, public itunes::EventConnection
{
    Q_OBJECT

public:
    LibraryFileWatcher(const QString& aXmlPath, std::function<void()> aHandler);

private:
    void onChange();

    // The file's state at the last event: the folder also changes for other files.
    QString stateOfFile() const;

    QString mXmlPath;
    QString mLastState;
    std::function<void()> mHandler;
    QFileSystemWatcher mWatcher;
};
