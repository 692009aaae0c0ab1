#include "support/AudioFixtures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/vorbisfile.h>

namespace fixtures {

namespace {

TagLib::ByteVector bytesOf(const QByteArray& aData)
{
    return TagLib::ByteVector(aData.constData(), static_cast<unsigned>(aData.size()));
}

const char* mimeOf(const QByteArray& aImage)
{
    if (aImage.startsWith("\x89PNG"))
        return "image/png";
    if (aImage.startsWith("BM"))
        return "image/bmp";
    return "image/jpeg";
}

} // namespace

bool makeAudio(const QString& aPath, const QString& aTitle, const QString& aArtist, const QString& aAlbum,
               double aSeconds)
{
    QStringList arguments{
        "-v",  "error", "-y", "-f", "lavfi", "-i", QString("sine=frequency=440:duration=%1").arg(aSeconds),
        "-ac", "2"};
    if (aPath.endsWith(".mp3"))
        arguments << "-c:a"
                  << "libmp3lame"
                  << "-b:a"
                  << "64k";
    else if (aPath.endsWith(".m4a") || aPath.endsWith(".m4p") || aPath.endsWith(".m4b"))
        arguments << "-c:a"
                  << "aac"
                  << "-b:a"
                  << "64k"
                  << "-f"
                  << "ipod";
    else if (aPath.endsWith(".ogg"))
        arguments << "-c:a"
                  << "libvorbis";
    if (!aTitle.isEmpty())
        arguments << "-metadata"
                  << "title=" + aTitle;
    if (!aArtist.isEmpty())
        arguments << "-metadata"
                  << "artist=" + aArtist;
    if (!aAlbum.isEmpty())
        arguments << "-metadata"
                  << "album=" + aAlbum;
    arguments << aPath;
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", arguments);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0 && QFile::exists(aPath);
}

QByteArray makeImage(const char* aFormat, int aSize, unsigned aRgb)
{
    QImage image(aSize, aSize, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(aRgb));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, aFormat);
    return buffer.data();
}

bool embedPicture(const QString& aPath, const QByteArray& aImage)
{
    const QByteArray path = QFile::encodeName(aPath);
    if (aPath.endsWith(".mp3")) {
        TagLib::MPEG::File file(path.constData());
        auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setMimeType(mimeOf(aImage));
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        frame->setPicture(bytesOf(aImage));
        file.ID3v2Tag(true)->addFrame(frame); // the tag owns the frame
        return file.save();
    }
    if (aPath.endsWith(".m4a") || aPath.endsWith(".m4p") || aPath.endsWith(".m4b")) {
        TagLib::MP4::File file(path.constData());
        const auto format = aImage.startsWith("\x89PNG") ? TagLib::MP4::CoverArt::PNG
                            : aImage.startsWith("BM")    ? TagLib::MP4::CoverArt::BMP
                                                         : TagLib::MP4::CoverArt::JPEG;
        TagLib::MP4::CoverArtList covers;
        covers.append(TagLib::MP4::CoverArt(format, bytesOf(aImage)));
        file.tag()->setItem("covr", TagLib::MP4::Item(covers));
        return file.save();
    }
    auto picture = [&] {
        auto* flacPicture = new TagLib::FLAC::Picture;
        flacPicture->setType(TagLib::FLAC::Picture::FrontCover);
        flacPicture->setMimeType(mimeOf(aImage));
        flacPicture->setData(bytesOf(aImage));
        return flacPicture;
    };
    if (aPath.endsWith(".flac")) {
        TagLib::FLAC::File file(path.constData());
        file.addPicture(picture()); // the file owns the picture
        return file.save();
    }
    if (aPath.endsWith(".ogg")) {
        TagLib::Ogg::Vorbis::File file(path.constData());
        file.tag()->addPicture(picture());
        return file.save();
    }
    return false;
}

QString probeCodec(const QString& aPath)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries", "stream=codec_name",
                            "-of", "default=nw=1:nk=1", aPath});
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
        return QString();
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

} // namespace fixtures
