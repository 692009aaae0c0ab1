#pragma once

#include "tracks/Track.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary home folder for one test: HOME and the XDG folders point into it while the object
// lives, so nothing a test does reaches the real home folder. Restores the environment after.
class TestHome
{
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    QString path() const { return mDir.path(); }
    // The KORDA folder under this home.
    QString korda() const;
    // Writes aContent to a file under the home (folders made as needed); returns its path.
    QString writeFile(const QString& aRelativePath, const QByteArray& aContent) const;
    // A chosen library track (track 4) whose file aContent is written under library/aFile.
    Track libraryTrack(const QString& aFile, const QString& aArtist = "Band", const QString& aAlbum = "Album",
                       const QByteArray& aContent = "audio data", const QString& aTitle = "Song") const;

private:
    QTemporaryDir mDir;
    QByteArray mOldHome;
    QByteArray mOldConfig;
    QByteArray mOldData;
};

// Reads a whole file; empty when it can't be read.
QByteArray readWholeFile(const QString& aPath);
