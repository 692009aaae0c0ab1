#pragma once

// Real media for tests: audio made by ffmpeg, pictures made by QImage, embedded with TagLib.
#include <QByteArray>
#include <QString>

namespace fixtures {

// A short tone encoded by the extension of aPath (.mp3, .m4a, .flac, .ogg, .wav), with the
// given tags; true when ffmpeg made it.
bool makeAudio(const QString& aPath, const QString& aTitle = QString(), const QString& aArtist = QString(),
               const QString& aAlbum = QString(), double aSeconds = 1.0);

// A aSize x aSize picture in "JPG", "PNG" or "BMP", of one colour.
QByteArray makeImage(const char* aFormat, int aSize = 64, unsigned aRgb = 0x3366cc);

// Embeds aImage as the front cover (MP4 covr, ID3v2 APIC, FLAC or Vorbis picture).
bool embedPicture(const QString& aPath, const QByteArray& aImage);

// What ffprobe says of a file's first audio stream's codec ("mp3", "aac"...); empty when none.
QString probeCodec(const QString& aPath);

} // namespace fixtures
