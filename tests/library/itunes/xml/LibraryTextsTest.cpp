#include "library/itunes/xml/LibraryTexts.h"
#include "tracks/CacheEncoding.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<XmlLibrary> libraryOf(const QStringList& aLocations)
{
    auto library = std::make_shared<XmlLibrary>();
    for (int i = 0; i < aLocations.size(); ++i) {
        XmlLibrary::TrackData track;
        track.name = QString("Track %1").arg(i);
        track.location = aLocations.at(i);
        library->tracks.push_back(track);
    }
    return library;
}

// The index of the track found for aPath from aNear, -1 when none is.
int found(const LibraryTexts& aTexts, const QString& aPath, int aNear)
{
    QByteArray storage;
    KnownTexts::Texts texts;
    if (!aTexts.find(CacheEncoding::utf16BytesView(aPath, storage), texts, aNear))
        return -1;
    EXPECT_EQ(*texts.path, aPath);
    EXPECT_EQ(*texts.name, QString("Track %1").arg(aNear));
    return aNear;
}

} // namespace

// Found wherever the last track was found: beside it (the cache in the library's order or in the
// opposite one), far from it, or at either end of the library.
TEST(LibraryTexts, ATrackIsFoundByItsPathFromAnywhere)
{
    const QStringList paths = {"/m/a.mp3", "/m/b.mp3", "", "/m/c.mp3", "/m/a.mp3", "/m/d \u00e9.mp3"};
    const LibraryTexts texts(libraryOf(paths));
    const int last = static_cast<int>(paths.size()) - 1;
    for (int index : {1, 3, 5}) {
        for (int near : {-1, index - 1, index + 1, 0, last, last + 7, 2})
            EXPECT_EQ(found(texts, paths.at(index), near), index) << index << " from " << near;
    }
    for (int near : {-1, 0, 1, 3, 4, 5}) { // a path of two tracks finds one of them
        const int twin = found(texts, "/m/a.mp3", near);
        EXPECT_TRUE(twin == 0 || twin == 4) << twin << " from " << near;
    }
    EXPECT_EQ(found(texts, "/m/e.mp3", 1), -1);
    EXPECT_EQ(found(texts, "", 1), -1);
    KnownTexts::Texts none;
    int near = 0;
    EXPECT_FALSE(texts.find(QByteArrayView("/\0m", 3), none, near)); // half a unit: no path
}

TEST(LibraryTexts, AMappedLibraryIsFoundByThePathsOfThisComputer)
{
    auto library = libraryOf({"Z:/Music/a.mp3", "/here/b.mp3"});
    library->applyPathMap(LibraryPathMap(QList<QPair<QString, QString>>{{"Z:/", "/mnt/z"}}));
    const LibraryTexts texts(library);
    EXPECT_EQ(found(texts, "/mnt/z/Music/a.mp3", -1), 0);
    EXPECT_EQ(found(texts, "Z:/Music/a.mp3", -1), -1);
    EXPECT_EQ(found(texts, "/here/b.mp3", 0), 1);
}
