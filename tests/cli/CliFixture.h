#pragma once

// veltrane-sync as a user runs it: a child process with a home folder of its own, a library of
// real audio (kTracks tracks in the playlists "All" and "Few", the first two in "Few") and a
// folder standing for the player, which a test may replace by a real mount.
#include "support/LibraryXmlWriter.h"
#include "support/TestHome.h"

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class CliFixture : public ::testing::Test
{
protected:
    // aSeconds of audio per track; aTracks tracks.
    void makeLibrary(int aTracks, double aSeconds);
    void SetUp() override { makeLibrary(kTracks, 4.0); }

    QProcess* start(const QStringList& aArguments);
    // Runs to the end; the exit code, or -1 when the process was killed by a signal.
    int run(const QStringList& aArguments, QByteArray* aOutput = nullptr);
    void configure(const QString& aMusic, bool aConvert);
    QStringList filesOnDrive(const QString& aPattern) const;
    // What the device's cache says is on it: device path (with slashes) -> size.
    QMap<QString, qint64> cached() const;
    // Waits until the run's output shows aText (its progress lines, say).
    static bool waitForOutput(QProcess& aProcess, const QByteArray& aText, QByteArray& aSeen);
    QString libraryPath() const { return mHome.path() + "/Music/iTunes/iTunes Music Library.xml"; }
    QString mediaFolder() const { return mHome.path() + "/Music/iTunes/iTunes Media/Music/Band/Album/"; }

    static constexpr int kTracks = 10;
    TestHome mHome;
    LibraryXmlWriter mWriter;
    QString mDrive;
};
