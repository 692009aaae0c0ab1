#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QWidget;
class Track;
class TrackList;

// The window's dialogs around a run: the questions a run asks while it waits, and the warnings
// shown once it has ended. Each is modal over aParent; the "don't ask again" answers are stored
// per device (aDeviceId) in the settings file.
class RunDialogs
{
    Q_DECLARE_TR_FUNCTIONS(RunDialogs)

public:
    // True when the tracks may be deleted (asked, or told once never to ask again).
    static bool confirmDeleteTracks(QWidget* aParent, const QString& aDeviceId, const TrackList& aTracks);
    // Protected tracks found by the scan (unless this device was told not to say so again).
    static void warnProtectedTracks(QWidget* aParent, const QString& aDeviceId, const TrackList& aTracks);
    // True when the run goes on although the chosen tracks need aShortfall bytes more.
    static bool goOnWithoutSpace(QWidget* aParent, qint64 aShortfall);

    // Tracks the run could not copy, with each one's code and reason; aFolderFailure: the run's last
    // failure was a folder that could not be made.
    static void warnNotCopied(QWidget* aParent, const QString& aDeviceId, const QList<Track>& aTracks,
                              const QList<int>& aErrors, const QStringList& aReasons, bool aFolderFailure);
    static void warnNotDownloaded(QWidget* aParent, const QList<Track>& aTracks);
    // What of another phone's data did not arrive (the whole backup when aExtractionFailed).
    static void warnDataNotCopied(QWidget* aParent, bool aExtractionFailed, const QStringList& aFailures);
    // A USB drive is ejected before it is unplugged (unless this device was told not to say so again).
    static void remindToEject(QWidget* aParent, const QString& aDeviceId);
};
