#include "library/itunes/xml/EmbeddedArtwork.h"

#include "tracks/SourceFile.h"

#include "library/itunes/ITunesTypeLibrary.h"

#include <QFile>

#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

namespace {

QByteArray toByteArray(const TagLib::ByteVector& aBytes)
{
    return QByteArray(aBytes.data(), static_cast<qsizetype>(aBytes.size()));
}

void addId3v2Pictures(TagLib::ID3v2::Tag* aTag, QList<QByteArray>& aPictures)
{
    if (!aTag)
        return;
    QList<QByteArray> others;
    for (TagLib::ID3v2::Frame* frame : aTag->frameList("APIC")) {
        auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (!picture)
            continue;
        if (picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
            aPictures.append(toByteArray(picture->picture()));
        else
            others.append(toByteArray(picture->picture()));
    }
    aPictures.append(others);
}

void addFlacPictures(const TagLib::List<TagLib::FLAC::Picture*>& aList, QList<QByteArray>& aPictures)
{
    QList<QByteArray> others;
    for (TagLib::FLAC::Picture* picture : aList) {
        if (picture->type() == TagLib::FLAC::Picture::FrontCover)
            aPictures.append(toByteArray(picture->data()));
        else
            others.append(toByteArray(picture->data()));
    }
    aPictures.append(others);
}

} // namespace

QList<QByteArray> EmbeddedArtwork::read(const QString& aPath)
{
    QList<QByteArray> pictures;
    // Only regular files are handed to TagLib: a FIFO named by a library would block it, a
    // device like /dev/zero would keep it reading.
    if (!SourceFile::isPresent(aPath))
        return pictures;
    const QByteArray path = QFile::encodeName(aPath);
    TagLib::FileRef reference(path.constData(), false);
    TagLib::File* file = reference.file();
    if (!file || !file->isValid())
        return pictures;
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        if (mp4->tag() && mp4->tag()->contains("covr")) {
            for (const TagLib::MP4::CoverArt& cover : mp4->tag()->item("covr").toCoverArtList())
                pictures.append(toByteArray(cover.data()));
        }
    } else if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        addId3v2Pictures(mpeg->ID3v2Tag(), pictures);
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        addFlacPictures(flac->pictureList(), pictures);
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) {
        if (vorbis->tag())
            addFlacPictures(vorbis->tag()->pictureList(), pictures);
    } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) {
        if (opus->tag())
            addFlacPictures(opus->tag()->pictureList(), pictures);
    } else if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
        addId3v2Pictures(wav->ID3v2Tag(), pictures);
    } else if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) {
        addId3v2Pictures(aiff->tag(), pictures);
    }
    return pictures;
}

int EmbeddedArtwork::formatOf(const QByteArray& aImage)
{
    if (aImage.startsWith("\xff\xd8\xff"))
        return itunes::kArtworkFormatJpeg;
    if (aImage.startsWith("\x89PNG\r\n\x1a\n"))
        return itunes::kArtworkFormatPng;
    if (aImage.startsWith("BM"))
        return itunes::kArtworkFormatBmp;
    return itunes::kArtworkFormatUnknown;
}
