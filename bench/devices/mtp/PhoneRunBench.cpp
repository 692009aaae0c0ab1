// What whole runs of veltrane-sync ask of a phone on the wire: the software phone (real libmtp and
// libusb on umockdev's USB bus) counts the MTP operations it answers. A library of TRACKS tracks
// (5 to an album) in 5 playlists; a phone that also holds OTHER files of its own (photos).
//   1. the first sync: operations per track (target: no more than 4.6);
//   2. a run with nothing to do, every operation answered 5 ms late as a real phone's round trip
//      is: object operations per track (target: at most 0.2) and wall time (target: under 5 s
//      for 2,000 tracks);
//   3. after a track is deleted on the phone (its own app): the next run sends it again.
// Each run describes every object of the phone at most once (printed as objects described).
//
//   bench_phone_run [TRACKS [OTHER]]      (defaults 2000 and 0)
#include "devices/mtp/libmtp/SoftwarePhone.h"
#include "support/LibraryXmlWriter.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>

#include <cstdio>

namespace {

const QString kPhone = QStringLiteral("Pixel 7 Internal shared storage");

struct Counts
{
    QHash<uint16_t, int> byCode;
    qint64 described = 0;
    int total() const
    {
        int sum = 0;
        for (int count : byCode)
            sum += count;
        return sum;
    }
    // Object information, property lists, handle listings and reads.
    int objectOperations() const
    {
        return byCode.value(0x1008) + byCode.value(0x9805) + byCode.value(0x1007) + byCode.value(0x1009);
    }
};

Counts countsOf(SoftwarePhone& aPhone)
{
    Counts counts;
    aPhone.withResponder([&](MtpResponder& aResponder) {
        for (uint16_t code : aResponder.operations())
            ++counts.byCode[code];
        counts.described = aResponder.objectsDescribed();
    });
    return counts;
}

Counts since(const Counts& aBefore, const Counts& aAfter)
{
    Counts counts;
    for (auto it = aAfter.byCode.cbegin(); it != aAfter.byCode.cend(); ++it)
        counts.byCode[it.key()] = it.value() - aBefore.byCode.value(it.key());
    counts.described = aAfter.described - aBefore.described;
    return counts;
}

int runSync(const TestHome& aHome, const QStringList& aArguments, QByteArray* aOutput = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", aHome.path());
    environment.insert("XDG_CONFIG_HOME", aHome.path() + "/.config");
    environment.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0");
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(VELTRANE_SYNC_PATH, aArguments);
    process.waitForFinished(-1);
    if (aOutput)
        *aOutput = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void print(const char* aWhat, const Counts& aCounts, int aTracks)
{
    std::printf("%s: %d operations (%.2f per track), %d object operations (%.3f per track): "
                "object info %d, property lists %d, handle listings %d, reads %d; "
                "sends %d + %d; objects described %lld\n",
                aWhat, aCounts.total(), static_cast<double>(aCounts.total()) / aTracks,
                aCounts.objectOperations(), static_cast<double>(aCounts.objectOperations()) / aTracks,
                aCounts.byCode.value(0x1008), aCounts.byCode.value(0x9805), aCounts.byCode.value(0x1007),
                aCounts.byCode.value(0x1009), aCounts.byCode.value(0x100C), aCounts.byCode.value(0x100D),
                static_cast<long long>(aCounts.described));
}

} // namespace

int main(int argc, char** argv)
{
    SoftwarePhone::runUnderUmockdev(argv);
    QCoreApplication application(argc, argv);
    const int tracks = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    const int others = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    TestHome home;
    QDir().mkpath(home.path() + "/Desktop/VLT");

    // The library: small files (what is counted is the phone's operations, not its bytes).
    LibraryXmlWriter writer;
    const QString media = home.path() + "/Music/iTunes/iTunes Media/Music/";
    QList<XmlPlaylistEntry> playlists;
    for (int p = 1; p <= 5; ++p)
        playlists.append({QString("Mix %1").arg(p), false, -1, false, false, false, {}});
    XmlPlaylistEntry master{"Library", true, -1, false, false, false, {}};
    for (int i = 1; i <= tracks; ++i) {
        const QString artist = QString("Artist %1").arg((i - 1) / 50);
        const QString album = QString("Album %1").arg((i - 1) / 5);
        const QString path =
            media + artist + "/" + album + QString("/%1 Track %2.mp3").arg((i - 1) % 5 + 1).arg(i);
        QDir().mkpath(media + artist + "/" + album);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(3000, 'a')) != 3000)
            return 1;
        XmlTrackEntry track{i, QString("Track %1").arg(i), artist, album, LibraryXmlWriter::fileUrl(path)};
        track.size = 3000;
        track.trackNumber = (i - 1) % 5 + 1;
        writer.tracks.append(track);
        master.trackIds.append(i);
        playlists[(i - 1) % 5].trackIds.append(i);
    }
    writer.playlists = {master};
    writer.playlists += playlists;
    QDir().mkpath(home.path() + "/Music/iTunes");
    if (!writer.writeTo(home.path() + "/Music/iTunes/iTunes Music Library.xml"))
        return 1;

    SoftwarePhone phone(40);
    uint32_t storage = 0;
    phone.withResponder([&](MtpResponder& aPhone) {
        storage = aPhone.store().addStorage("Internal shared storage", 64ULL * 1024 * 1024 * 1024);
        aPhone.store().putFile(storage, "KORDA/android.xml",
                               "<android version=\"13\" supports_playlists_from_playlists_vlt=\"false\"/>");
        for (int i = 0; i < others; ++i)
            aPhone.store().putFile(storage, QString("DCIM/Camera%1/IMG_%2.jpg").arg(i / 1000).arg(i), "jpeg");
    });
    QByteArray output;
    if (runSync(home, {"configure", "--device", kPhone, "--music", "Mix 1,Mix 2,Mix 3,Mix 4,Mix 5"},
                &output) != 0) {
        std::fprintf(stderr, "configure failed:\n%s", output.constData());
        QFile log(home.path() + "/Desktop/VLT/log.txt");
        if (log.open(QIODevice::ReadOnly))
            std::fprintf(stderr, "%s", log.readAll().constData());
        return 1;
    }
    std::printf("tracks: %d in %d albums, 5 playlists; other files on the phone: %d\n", tracks,
                (tracks + 4) / 5, others);

    Counts before = countsOf(phone);
    int code = runSync(home, {"--device", kPhone}, &output);
    const Counts first = since(before, countsOf(phone));
    print("first sync", first, tracks);
    if (code != 0) {
        std::fprintf(stderr, "first sync: exit %d\n%s", code, output.constData());
        return 1;
    }

    phone.setOperationDelay(5);
    before = countsOf(phone);
    QElapsedTimer clock;
    clock.start();
    code = runSync(home, {"--device", kPhone}, &output);
    const qint64 elapsed = clock.elapsed();
    const Counts nothing = since(before, countsOf(phone));
    print("nothing to do", nothing, tracks);
    std::printf("nothing to do with 5 ms an operation: %.2f s (target: under %.1f s for %d tracks)\n",
                elapsed / 1000.0, 5.0 * tracks / 2000, tracks);
    phone.setOperationDelay(0);

    // A track deleted in the phone's own app comes back with the next run.
    phone.withResponder([&](MtpResponder& aPhone) {
        const QStringList files = aPhone.store().files(storage, "Music");
        aPhone.store().remove(aPhone.store().find(storage, files.first())->handle);
    });
    before = countsOf(phone);
    code = runSync(home, {"--device", kPhone}, &output);
    const Counts again = since(before, countsOf(phone));
    print("one track deleted on the phone", again, tracks);
    std::printf("sent again: %d\n", again.byCode.value(0x100D) - 1 /* the sync-complete mark */);
    return code == 0 ? 0 : 1;
}
