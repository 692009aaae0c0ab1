// The parsed library kept between runs: it gives back exactly what a parse gives, serves only
// the unchanged file it was made from, and a damaged one is never used.
#include "library/itunes/xml/LibrarySnapshot.h"
#include "library/itunes/xml/ITunesXmlBackend.h"
#include "library/itunes/xml/XmlLibraryParser.h"
#include "support/LibraryXmlWriter.h"
#include "support/TestHome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<XmlLibrary> parse(const QString& aPath)
{
    auto library = std::make_unique<XmlLibrary>();
    QFile file(aPath);
    QString error;
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && XmlLibraryParser::parse(file, *library, error))
        << aPath.toStdString() << ": " << error.toStdString();
    return library;
}

void expectSame(const XmlLibrary& aRead, const XmlLibrary& aParsed)
{
    EXPECT_EQ(aRead.musicFolder, aParsed.musicFolder);
    ASSERT_EQ(aRead.tracks.size(), aParsed.tracks.size());
    for (std::size_t i = 0; i < aParsed.tracks.size(); ++i) {
        const XmlLibrary::TrackData& a = aRead.tracks[i];
        const XmlLibrary::TrackData& b = aParsed.tracks[i];
        EXPECT_TRUE(a.id == b.id && a.name == b.name && a.artist == b.artist && a.album == b.album &&
                    a.location == b.location && a.location.isNull() == b.location.isNull() &&
                    a.size == b.size && a.trackNumber == b.trackNumber && a.discNumber == b.discNumber &&
                    a.dateAdded == b.dateAdded && a.compilation == b.compilation && a.hasFile == b.hasFile)
            << "track " << i << ": " << b.name.toStdString();
    }
    ASSERT_EQ(aRead.playlists.size(), aParsed.playlists.size());
    for (std::size_t i = 0; i < aParsed.playlists.size(); ++i) {
        const XmlLibrary::PlaylistData& a = aRead.playlists[i];
        const XmlLibrary::PlaylistData& b = aParsed.playlists[i];
        EXPECT_TRUE(a.name == b.name && a.kind == b.kind && a.specialKind == b.specialKind &&
                    a.smart == b.smart && a.tracks == b.tracks)
            << "playlist " << b.name.toStdString();
    }
}

// A library file last changed an hour ago (a file written moments ago is never kept).
QString settledLibrary(const TestHome& aHome, const QString& aName, const QByteArray& aContent)
{
    const QString path = aHome.writeFile(aName, aContent);
    QFile file(path);
    EXPECT_TRUE(
        file.open(QIODevice::ReadWrite) &&
        file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    return path;
}

QByteArray twoTrackLibrary(const QString& aSecondName = "Two")
{
    LibraryXmlWriter writer;
    writer.tracks.append({1, "One", "A", "B", "file:///music/one.mp3"});
    writer.tracks.append({2, aSecondName, "A", "B", "file:///music/two.mp3"});
    writer.playlists.append({"Library", true, -1, false, false, false, {1, 2}});
    writer.playlists.append({"Mix", false, -1, false, false, false, {2}});
    return writer.toXml();
}

} // namespace

TEST(LibrarySnapshot, GivesBackWhatEveryRealExportParsesTo)
{
    TestHome home;
    const QDir data(QStringLiteral(VELTRANE_TESTDATA "/itunes"));
    for (const QString& name : data.entryList({"*.xml"}, QDir::Files)) {
        const QString path = settledLibrary(home, name, readWholeFile(data.filePath(name)));
        const std::unique_ptr<XmlLibrary> parsed = parse(path);
        const LibrarySnapshot snapshot(home.korda() + "/snapshot-" + name);
        const LibrarySnapshot::FileIdentity identity = LibrarySnapshot::identityOf(path);
        ASSERT_TRUE(snapshot.save(identity, *parsed)) << name.toStdString();
        XmlLibrary read;
        ASSERT_TRUE(snapshot.load(identity, read)) << name.toStdString();
        expectSame(read, *parsed);
    }
}

// What the snapshot is keyed on: each way a library file changes (iTunes rewriting it in place
// with the same size and its old times, another file renamed over it, a touch, another file)
// makes it parse again.
TEST(LibrarySnapshot, ServesOnlyTheUnchangedFileItWasMadeFrom)
{
    TestHome home;
    const QString path = settledLibrary(home, "Library.xml", twoTrackLibrary());
    const LibrarySnapshot snapshot(home.korda() + "/library-snapshot");
    ASSERT_TRUE(snapshot.save(LibrarySnapshot::identityOf(path), *parse(path)));
    XmlLibrary read;
    EXPECT_TRUE(snapshot.load(LibrarySnapshot::identityOf(path), read));

    // Rewritten in place, same size, modification time put back.
    const QDateTime modified = QFileInfo(path).lastModified();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(twoTrackLibrary("Owt"));
        file.flush();
        file.setFileTime(modified, QFileDevice::FileModificationTime);
    }
    ASSERT_EQ(QFileInfo(path).size(), twoTrackLibrary().size());
    EXPECT_FALSE(snapshot.load(LibrarySnapshot::identityOf(path), read));

    // Replaced: another file of the same content renamed over it.
    ASSERT_TRUE(snapshot.save(LibrarySnapshot::identityOf(path), *parse(path)));
    const QString other = settledLibrary(home, "Other.xml", readWholeFile(path));
    QFile::remove(path);
    ASSERT_TRUE(QFile::rename(other, path));
    EXPECT_FALSE(snapshot.load(LibrarySnapshot::identityOf(path), read));

    // Touched.
    ASSERT_TRUE(snapshot.save(LibrarySnapshot::identityOf(path), *parse(path)));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    }
    EXPECT_FALSE(snapshot.load(LibrarySnapshot::identityOf(path), read));

    // Another library file, and one that is gone.
    ASSERT_TRUE(snapshot.save(LibrarySnapshot::identityOf(path), *parse(path)));
    const QString copy = settledLibrary(home, "Copy.xml", readWholeFile(path));
    EXPECT_FALSE(snapshot.load(LibrarySnapshot::identityOf(copy), read));
    EXPECT_FALSE(snapshot.load(LibrarySnapshot::identityOf(home.path() + "/gone.xml"), read));
    EXPECT_TRUE(snapshot.load(LibrarySnapshot::identityOf(path), read));

    // A snapshot another Veltrane version wrote.
    ASSERT_TRUE(
        LibrarySnapshot(snapshot.path(), "0.0.9").save(LibrarySnapshot::identityOf(path), *parse(path)));
    EXPECT_FALSE(snapshot.load(LibrarySnapshot::identityOf(path), read));

    // A file written moments ago is not kept.
    const QString fresh = home.writeFile("Fresh.xml", twoTrackLibrary());
    EXPECT_FALSE(snapshot.save(LibrarySnapshot::identityOf(fresh), *parse(fresh)));
}

TEST(LibrarySnapshot, ADamagedSnapshotIsNeverUsed)
{
    TestHome home;
    const QString path = settledLibrary(home, "Library.xml", twoTrackLibrary());
    const LibrarySnapshot::FileIdentity identity = LibrarySnapshot::identityOf(path);
    const LibrarySnapshot snapshot(home.korda() + "/library-snapshot");
    ASSERT_TRUE(snapshot.save(identity, *parse(path)));
    const QByteArray whole = readWholeFile(snapshot.path());

    QByteArray flipped = whole;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x20);
    for (const QByteArray& damaged :
         {flipped, whole.left(whole.size() - 9), QByteArray(), QByteArray(5000, 'x')}) {
        home.writeFile("KORDA/library-snapshot", damaged);
        XmlLibrary read;
        EXPECT_FALSE(snapshot.load(identity, read));
        EXPECT_TRUE(read.tracks.empty());
    }

    // Whole and checksummed, but a playlist names a track the snapshot doesn't hold.
    const std::unique_ptr<XmlLibrary> wrong = parse(path);
    wrong->playlists[1].tracks = {0, 7};
    ASSERT_TRUE(snapshot.save(identity, *wrong));
    XmlLibrary read;
    EXPECT_FALSE(snapshot.load(identity, read));
}

// The backend parses a library file once and keeps it; a later backend (the next run) takes the
// snapshot while the file is unchanged, and parses again (and keeps the new reading) once it
// changed or the snapshot is damaged.
TEST(LibrarySnapshot, TheNextRunTakesTheSnapshotUntilTheFileChanges)
{
    TestHome home;
    const QString path = settledLibrary(home, "Library.xml", twoTrackLibrary());
    const LibrarySnapshot snapshot;
    auto trackNames = [&] {
        ITunesXmlBackend backend(path);
        QString found;
        const std::shared_ptr<const XmlLibrary> library = backend.library(found);
        QStringList names;
        for (const XmlLibrary::TrackData& track :
             library ? library->tracks : std::vector<XmlLibrary::TrackData>())
            names << track.name;
        return names.join(',');
    };
    EXPECT_EQ(trackNames(), "One,Two");
    ASSERT_TRUE(QFile::exists(snapshot.path()));

    // Planted for the same file: taken, so the next run never parsed.
    const std::unique_ptr<XmlLibrary> planted = parse(path);
    planted->tracks[1].name = "Planted";
    ASSERT_TRUE(snapshot.save(LibrarySnapshot::identityOf(path), *planted));
    EXPECT_EQ(trackNames(), "One,Planted");

    // Touched: parsed again, and kept.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime);
    }
    EXPECT_EQ(trackNames(), "One,Two");
    XmlLibrary read;
    EXPECT_TRUE(snapshot.load(LibrarySnapshot::identityOf(path), read));

    // Damaged: parsed again and written anew.
    home.writeFile("KORDA/library-snapshot", "damaged");
    EXPECT_EQ(trackNames(), "One,Two");
    EXPECT_TRUE(snapshot.load(LibrarySnapshot::identityOf(path), read));
}
