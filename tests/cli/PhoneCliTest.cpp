// veltrane-sync with a phone: the child process finds the software phone on umockdev's USB bus
// through real libusb and libmtp (it inherits the preload library and the testbed).
#include "cli/CliFixture.h"
#include "devices/mtp/libmtp/SoftwarePhone.h"

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
