#include "library/itunes/xml/TrackSearchIndex.h"
#include "library/itunes/xml/XmlLibrary.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// What a search must find: the tracks whose name, artist or album contains the text, ignoring case.
std::vector<int> bruteForce(const XmlLibrary& aLibrary, const QString& aText)
{
    std::vector<int> found;
    for (std::size_t i = 0; i < aLibrary.tracks.size(); ++i) {
        const XmlLibrary::TrackData& track = aLibrary.tracks[i];
        if (track.name.contains(aText, Qt::CaseInsensitive) ||
            track.artist.contains(aText, Qt::CaseInsensitive) ||
            track.album.contains(aText, Qt::CaseInsensitive))
            found.push_back(static_cast<int>(i));
    }
    return found;
}

QString randomText(QRandomGenerator& aRandom, int aMaxLength)
{
    static const QString kAlphabet = QStringLiteral("abAB \u00e9\u00c9\u00df-1");
    QString text;
    const int length = aRandom.bounded(aMaxLength + 1);
    for (int i = 0; i < length; ++i)
        text += kAlphabet.at(aRandom.bounded(static_cast<int>(kAlphabet.size())));
    return text;
}

} // namespace

TEST(TrackSearchIndex, FindsWhatASubstringSearchFinds)
{
    QRandomGenerator random(7);
    XmlLibrary library;
    for (int i = 0; i < 400; ++i) {
        XmlLibrary::TrackData track;
        track.name = randomText(random, 12);
        track.artist = randomText(random, 8);
        track.album = randomText(random, 8);
        library.tracks.push_back(track);
    }
    const TrackSearchIndex index(library);
    for (int i = 0; i < 500; ++i) {
        const QString needle = randomText(random, 6);
        ASSERT_EQ(index.find(needle), bruteForce(library, needle)) << needle.toStdString();
    }
}

TEST(TrackSearchIndex, MatchesNeverSpanTwoFields)
{
    XmlLibrary library;
    XmlLibrary::TrackData track;
    track.name = "Song";
    track.artist = "Artist";
    track.album = "Album";
    library.tracks.push_back(track);
    const TrackSearchIndex index(library);
    EXPECT_TRUE(index.find("ngArt").empty());
    EXPECT_EQ(index.find("SONG"), std::vector<int>{0});
    EXPECT_EQ(index.find("tist"), std::vector<int>{0});
    EXPECT_EQ(index.find(""), std::vector<int>{0});
    EXPECT_TRUE(index.find("missing").empty());
}
