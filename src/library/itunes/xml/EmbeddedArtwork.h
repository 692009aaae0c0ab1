#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The pictures embedded in an audio file, read with TagLib: MP4 "covr" atoms, ID3v2 APIC frames
// (MP3, WAV, AIFF), FLAC pictures and Vorbis/Opus picture blocks, front cover first.
class EmbeddedArtwork
{
public:
    static QList<QByteArray> read(const QString& aPath);
    // JPEG 1, PNG 2, BMP 3, from the image's own signature; 0 for anything else.
    static int formatOf(const QByteArray& aImage);
};
