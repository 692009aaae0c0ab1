// veltrane-sync with a phone: the child process finds the software phone on umockdev's USB bus
// through real libusb and libmtp (it inherits the preload library and the testbed).
#include "cli/CliFixture.h"
#include "devices/mtp/libmtp/SoftwarePhone.h"

#include <QDir>
#include <QRegularExpression>

namespace {

class PhoneCliTest : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        static int address = 20;
        mPhone = std::make_unique<SoftwarePhone>(address++);
        mPhone->withResponder([this](MtpResponder& aPhone) {
            mStorage = aPhone.store().addStorage("Internal shared storage", 16ULL * 1024 * 1024 * 1024);
            aPhone.store().putFile(
                mStorage, "KORDA/android.xml",
                "<android version=\"13\" supports_playlists_from_playlists_vlt=\"false\"/>");
        });
    }
    QStringList phoneFiles()
    {
        QStringList files;
        mPhone->withResponder([&](MtpResponder& aPhone) { files = aPhone.store().files(mStorage); });
        return files;
    }
    QByteArray phoneFile(const QString& aPath)
    {
        QByteArray content;
        mPhone->withResponder([&](MtpResponder& aPhone) {
            if (const MtpResponder::Object* object = aPhone.store().find(mStorage, aPath))
                content = object->data;
        });
        return content;
    }

    std::unique_ptr<SoftwarePhone> mPhone;
    uint32_t mStorage = 0;
    const QString mName = "Pixel 7 Internal shared storage";
};

} // namespace

TEST_F(PhoneCliTest, ListsConfiguresAndSynchronisesAPhone)
{
    QByteArray output;
    ASSERT_EQ(run({"devices"}, &output), 0) << output.constData();
    EXPECT_TRUE(output.contains(mName.toUtf8() + "  phone")) << output.constData();
    // libmtp's own lines go into the diagnostics log, not into what scripts read.
    EXPECT_FALSE(output.contains("VID=")) << output.constData();
    EXPECT_FALSE(output.contains("Android device detected")) << output.constData();

    ASSERT_EQ(run({"configure", "--device", mName, "--music", "Few"}, &output), 0) << output.constData();
    const QByteArray id = phoneFile("KORDA/uniqueid");
    ASSERT_TRUE(id.endsWith('Y')) << id.constData();
    ASSERT_EQ(run({"devices"}, &output), 0);
    EXPECT_TRUE(output.contains(id + "  " + mName.toUtf8())) << output.constData();
    EXPECT_TRUE(output.contains("(configured)"));

    // Chosen by its identity.
    ASSERT_EQ(run({"--device", QString::fromLatin1(id)}, &output), 0) << output.constData();
    const QStringList tracks = phoneFiles().filter(QRegularExpression("^Music/.*\\.m4a$"));
    ASSERT_EQ(tracks.size(), 2) << phoneFiles().join(", ").toStdString();
    EXPECT_EQ(phoneFile(tracks.first()), readWholeFile(mediaFolder() + tracks.first().section('/', -1)));
    EXPECT_TRUE(phoneFile("Playlists_VLT/Few.m3u").startsWith("#EXTM3U\r\n#EXTINF:0,"));
    EXPECT_EQ(phoneFile("KORDA/synccomplete"), "sync-complete");
    // Nothing to do the second time.
    const QStringList before = phoneFiles();
    ASSERT_EQ(run({"--device", QString::fromLatin1(id)}, &output), 0) << output.constData();
    EXPECT_EQ(phoneFiles(), before);
}

TEST_F(PhoneCliTest, APhoneWithoutThePhoneApplicationIsListedButNotUsed)
{
    mPhone->withResponder(
        [this](MtpResponder& aPhone) { aPhone.store().putFile(mStorage, "KORDA/android.xml", ""); });
    QByteArray output;
    ASSERT_EQ(run({"devices"}, &output), 0);
    EXPECT_TRUE(output.contains("(no Tandrel app data")) << output.constData();
    EXPECT_EQ(run({"configure", "--device", mName, "--music", "Few"}, &output), 2);
    EXPECT_TRUE(output.contains("install and open the Tandrel app")) << output.constData();
}

TEST_F(PhoneCliTest, APhonePulledDuringARunEndsItWithItsCode)
{
    QByteArray output;
    ASSERT_EQ(run({"configure", "--device", mName, "--music", "All"}, &output), 0) << output.constData();
    mPhone->unplugAfterBytes(200000);
    EXPECT_EQ(run({"--device", mName}, &output), 9) << output.constData();
    EXPECT_TRUE(output.contains("disconnected")) << output.constData();
}

TEST_F(PhoneCliTest, FoldersNamedLikeItsFilesAreLeftAloneAndNamed)
{
    // Someone's folders, each holding a file, under the names of files Veltrane writes.
    const QStringList folders = {"KORDA/uniqueid", "KORDA/synccomplete", "Playlists_VLT/Few.m3u",
                                 "Music/Band/Album/01 Song.m4a"};
    mPhone->withResponder([&](MtpResponder& aPhone) {
        for (const QString& folder : folders)
            aPhone.store().putFile(mStorage, folder + "/mine.txt", "mine");
    });
    QByteArray output;
    EXPECT_EQ(run({"configure", "--device", mName, "--music", "Few"}, &output), 2);
    EXPECT_TRUE(output.contains("KORDA\\uniqueid on the phone is a folder")) << output.constData();
    mPhone->withResponder([&](MtpResponder& aPhone) {
        aPhone.store().remove(aPhone.store().find(mStorage, "KORDA/uniqueid")->handle);
    });
    ASSERT_EQ(run({"configure", "--device", mName, "--music", "Few"}, &output), 0) << output.constData();
    // The track and the playlist are not written, nor the mark of a complete run; each is named.
    EXPECT_EQ(run({"--device", mName}, &output), 7) << output.constData();
    EXPECT_TRUE(output.contains("Song 1: a folder on the phone has its name")) << output.constData();
    EXPECT_TRUE(output.contains("Not written on the device: the playlist \"Few\": a folder"))
        << output.constData();
    EXPECT_TRUE(output.contains("Not written on the device: KORDA\\synccomplete")) << output.constData();
    for (const QString& folder : folders.mid(1))
        EXPECT_EQ(phoneFile(folder + "/mine.txt"), "mine") << folder.toStdString();
    EXPECT_EQ(phoneFiles().filter(QRegularExpression("^Music/.*\\.m4a$")).size(), 1); // Song 2
}

TEST_F(PhoneCliTest, ASecondRunLeavesAPhoneInUseAloneAndATrackDeletedOnItComesBack)
{
    QByteArray output;
    ASSERT_EQ(run({"configure", "--device", mName, "--music", "All"}, &output), 0) << output.constData();
    // The first run is slow (every operation answered late); a second one meanwhile doesn't
    // touch the phone and says why.
    mPhone->setOperationDelay(30);
    std::unique_ptr<QProcess> first(start({"--device", mName}));
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(*first, "Copying", seen)) << seen.constData();
    EXPECT_EQ(run({"--device", mName}, &output), 11) << output.constData();
    EXPECT_TRUE(output.contains("in use by another Veltrane")) << output.constData();
    mPhone->setOperationDelay(0);
    ASSERT_TRUE(first->waitForFinished(50000));
    EXPECT_EQ(first->exitCode(), 0) << first->readAll().constData();
    EXPECT_EQ(phoneFiles().filter(QRegularExpression("^Music/.*\\.m4a$")).size(), kTracks);

    // A track deleted in the phone's own app is sent again.
    mPhone->withResponder([&](MtpResponder& aPhone) {
        aPhone.store().remove(aPhone.store().find(mStorage, "Music/Band/Album/03 Song.m4a")->handle);
    });
    ASSERT_EQ(run({"--device", mName}, &output), 0) << output.constData();
    EXPECT_FALSE(phoneFile("Music/Band/Album/03 Song.m4a").isEmpty());

    // The track cache lost (a new home folder, the settings copied over): the copies on the phone
    // are taken as they are.
    for (const QString& name : QDir(mHome.korda()).entryList(QDir::Files)) {
        if (name != "korda.xml")
            QFile::remove(mHome.korda() + "/" + name);
    }
    int sends = 0;
    mPhone->withResponder(
        [&](MtpResponder& aPhone) { sends = static_cast<int>(aPhone.operations().count(0x100D)); });
    ASSERT_EQ(run({"--device", mName}, &output), 0) << output.constData();
    EXPECT_TRUE(output.contains(QByteArray::number(kTracks) + " track(s) already on the device were kept"))
        << output.constData();
    mPhone->withResponder([&](MtpResponder& aPhone) {
        // The playlist and the mark of a complete run only.
        EXPECT_LE(aPhone.operations().count(0x100D) - sends, 3);
    });
}

TEST_F(PhoneCliTest, ABusyPhoneIsSaidSoAndOneLostIsSaidToBeGone)
{
    QByteArray output;
    // Busy while its MTP service starts: the reason is given, and (libmtp can't open a phone
    // again after a failed open) the process doesn't crash trying; the next run opens it.
    mPhone->withResponder([](MtpResponder& aPhone) { aPhone.answerBusyToOpenSession(1); });
    EXPECT_EQ(run({"configure", "--device", mName, "--music", "All"}, &output), 2);
    EXPECT_TRUE(output.contains("could not be opened")) << output.constData();
    ASSERT_EQ(run({"configure", "--device", mName, "--music", "All"}, &output), 0) << output.constData();
    // The link fails in the middle of a run while the node stays: the phone is gone (exit 9), not
    // every remaining track tried and the run called complete.
    mPhone->setOperationDelay(20);
    std::unique_ptr<QProcess> run1(start({"--device", mName}));
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(*run1, "Copying", seen)) << seen.constData();
    mPhone->breakLink();
    ASSERT_TRUE(run1->waitForFinished(50000));
    EXPECT_EQ(run1->exitCode(), 9) << run1->readAll().constData();
}

TEST_F(PhoneCliTest, APhonePulledWhileItOpensIsSaidToBeDisconnected)
{
    mPhone->unplugAtOperation(0x1002); // OpenSession
    QByteArray output;
    EXPECT_EQ(run({"configure", "--device", mName, "--music", "All"}, &output), 2);
    EXPECT_TRUE(output.contains("disconnected while it was being opened")) << output.constData();
    EXPECT_FALSE(output.contains("unlock")) << output.constData();
}
