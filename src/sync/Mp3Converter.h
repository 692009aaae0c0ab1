#pragma once

#include <QString>

class Track;

// Converts a track's file to MP3 with ffmpeg, into the KORDA folder's temp.mp3 (the track's
// upload source). Started with an argument list, never through a shell, and waited for. Whether
// it worked shows when the device copies temp.mp3.
class Mp3Converter
{
public:
    static void convert(const Track& aTrack);
    static QStringList arguments(const QString& aSource, int aBitRate, const QString& aTarget);
    // The converter every conversion of a run uses (audio to MP3, phone videos to MP4).
    static QString program() { return QStringLiteral("ffmpeg"); }
};
