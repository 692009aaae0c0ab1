// veltrane-sync with another phone's data: the backups found, a backup and what to copy chosen
// by name, the data carried by the next run, and a failed copy that ends with its own code.
#include "cli/CliFixture.h"
#include "settings/SyncSettings.h"
#include "support/BackupBuilder.h"
#include "support/IphoneDatabases.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using BackupCliTest = CliFixture;

} // namespace

TEST_F(BackupCliTest, ABackupChosenByNameIsCarriedOnceAndAFailedCopyIsTriedAgain)
{
    QByteArray output;
    ASSERT_EQ(run({"backups"}, &output), 0);
    EXPECT_TRUE(output.contains("No iPhone backup found"));

    IphoneDatabases::newSms(mHome.path() + "/sms.db");
    BackupBuilder backup(mHome.path() + "/.local/share/Apple Computer/MobileSync/Backup", "00008030-0011");
    backup.setInfoPlist("Sam's iPhone");
    backup.addFileFrom("HomeDomain", "Library/SMS/sms.db", mHome.path() + "/sms.db");
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0001.JPG", IphoneDatabases::picture(20, 20));
    backup.write();
    ASSERT_EQ(run({"backups"}, &output), 0);
    EXPECT_TRUE(output.startsWith("Sam's iPhone  00008030-0011  ")) << output.constData();

    // A backup and copies are chosen for a configured device only, and only what exists.
    EXPECT_EQ(
        run({"configure", "--device", mDrive, "--backup", "Sam's iPhone", "--copy", "messages"}, &output), 2);
    EXPECT_TRUE(output.contains("not configured yet"));
    configure("Few", false);
    EXPECT_EQ(run({"configure", "--device", mDrive, "--backup", "Nobody's iPhone"}, &output), 2);
    EXPECT_TRUE(output.contains("no iPhone backup named \"Nobody's iPhone\""));
    EXPECT_EQ(run({"configure", "--device", mDrive, "--backup", "Sam's iPhone", "--copy", "messages,mail"},
                  &output),
              2);
    EXPECT_TRUE(output.contains("--copy takes"));
    const QString ipd = mHome.writeFile("old.ipd", "x");
    EXPECT_EQ(run({"configure", "--device", mDrive, "--backup", ipd, "--copy", "notes"}, &output), 2);
    EXPECT_TRUE(output.contains("BlackBerry backup holds messages and contacts only"));

    ASSERT_EQ(run({"configure", "--device", mDrive, "--backup", "sam's iphone", "--copy", "messages,photos"},
                  &output),
              0)
        << output.constData();
    EXPECT_TRUE(output.contains("data from another phone: messages, photos from")) << output.constData();
    // The music choice made before stays.
    ASSERT_EQ(run({"--device", mDrive, "--yes"}, &output), 0) << output.constData();
    EXPECT_EQ(filesOnDrive("*.m4a").size(), 2);
    EXPECT_TRUE(readWholeFile(mDrive + "/KORDA/messages.xml").contains("<sent_message>"));
    EXPECT_TRUE(QFileInfo::exists(mDrive + "/DCIM/100APPLE/IMG_0001.JPG"));

    // Chosen again, with something in the way of the messages file on the drive: the run says
    // so, ends with its own code, and the next one carries it.
    ASSERT_EQ(run({"configure", "--device", mDrive, "--copy", "messages"}, &output), 0);
    QFile::remove(mDrive + "/KORDA/messages.xml");
    ASSERT_TRUE(QDir().mkpath(mDrive + "/KORDA/messages.xml/in the way"));
    EXPECT_EQ(run({"--device", mDrive}, &output), 13) << output.constData();
    EXPECT_TRUE(output.contains("Messages could not be copied to the phone")) << output.constData();
    QDir(mDrive + "/KORDA/messages.xml").removeRecursively();
    EXPECT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    EXPECT_TRUE(QFileInfo(mDrive + "/KORDA/messages.xml").isFile());

    ASSERT_EQ(run({"configure", "--device", mDrive, "--backup", "none"}, &output), 0);
    EXPECT_TRUE(output.contains("data from another phone: none"));
}
