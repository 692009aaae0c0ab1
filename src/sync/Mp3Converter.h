#pragma once

#include <QString>

class Track;

// Converts a track's file to MP3 with ffmpeg, into the KORDA folder's temp.mp3 (the track's
// upload source). Started with an argument list, never through a shell, and waited for.
class Mp3Converter
{
public:
    // True when ffmpeg ended well and left an MP3; otherwise what it left is removed, so that a
    // partial MP3 is never copied as the track.
    static bool convert(const Track& aTrack);
    static QStringList arguments(const QString& aSource, int aBitRate, const QString& aTarget);
    // The converter every conversion of a run uses (audio to MP3, phone videos to MP4).
    static QString program() { return QStringLiteral("ffmpeg"); }
};
