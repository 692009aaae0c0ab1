// The update watcher against a web server on the loopback interface.
#include "ui/SoftwareUpdateWatcher.h"
#include "ui/LoopbackServer.h"
#include "ui/UiTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(SoftwareUpdateWatcher, ReadsTitleIdentifierAndTextOfAnAnnouncement)
{
    LoopbackServer server;
    server.answer(200, "Veltrane 2.0\nv2\n<p>A new version is out: <a href=\"x\">get it</a>.</p>\n");
    SoftwareUpdateWatcher watcher;
    QSignalSpy found(&watcher, &SoftwareUpdateWatcher::updateInfoFound);
    watcher.getUpdateInfo(SoftwareUpdateWatcher::updateAddress(server.address()));
    ASSERT_TRUE(found.wait(20000));
    EXPECT_TRUE(server.lastRequest().startsWith("GET /update/update124.txt HTTP/1.1\r\n"))
        << server.lastRequest().constData();
    EXPECT_EQ(watcher.title(), "Veltrane 2.0");
    EXPECT_EQ(watcher.messageId(), "v2");
    EXPECT_EQ(watcher.text(), "<p>A new version is out: <a href=\"x\">get it</a>.</p>\n");
    // One request per start.
    watcher.getUpdateInfo(SoftwareUpdateWatcher::updateAddress(server.address()));
    QTest::qWait(200);
    EXPECT_EQ(server.requests(), 1);
}

TEST(SoftwareUpdateWatcher, OtherStatusesErrorsAndSilenceSayNothing)
{
    LoopbackServer notFound;
    notFound.answer(404, "Title\nv9\ntext");
    SoftwareUpdateWatcher first;
    QSignalSpy found(&first, &SoftwareUpdateWatcher::updateInfoFound);
    first.getUpdateInfo(notFound.address("/update/update124.txt"));
    EXPECT_FALSE(found.wait(2000));

    // A server that takes the request and never answers: the watcher gives up at its time-out.
    LoopbackServer silent;
    silent.neverAnswer();
    SoftwareUpdateWatcher second;
    second.setTimeout(500);
    QSignalSpy foundSilent(&second, &SoftwareUpdateWatcher::updateInfoFound);
    second.getUpdateInfo(silent.address("/update/update124.txt"));
    EXPECT_FALSE(foundSilent.wait(3000));
    EXPECT_EQ(silent.requests(), 1);

    // Nobody listening at all.
    SoftwareUpdateWatcher third;
    QSignalSpy foundNone(&third, &SoftwareUpdateWatcher::updateInfoFound);
    third.getUpdateInfo("http://127.0.0.1:1/update/update124.txt");
    EXPECT_FALSE(foundNone.wait(2000));
}

TEST(SoftwareUpdateWatcher, AMalformedReplyGivesEmptyPartsAndAHugeOneIsNotRead)
{
    SoftwareUpdateWatcher watcher;
    watcher.parse("only one line without a line feed");
    EXPECT_TRUE(watcher.title().isEmpty());
    EXPECT_TRUE(watcher.text().isEmpty());
    watcher.parse("Title\nid-only\n");
    EXPECT_EQ(watcher.title(), "Title");
    EXPECT_EQ(watcher.messageId(), "id-only");
    EXPECT_TRUE(watcher.text().isEmpty()); // no dialog for this
    watcher.parse("T\r\nid\r\nline 1\nline 2");
    EXPECT_EQ(watcher.title(), "T\r"); // a carriage return stays part of its line
    EXPECT_EQ(watcher.text(), "line 1\nline 2");
    // Latin-1.
    watcher.parse("Caf\xe9\nid\ntext");
    EXPECT_EQ(watcher.title(), QString::fromUtf8("Caf\u00e9"));

    LoopbackServer server;
    server.answer(200, "Huge\nid\n" + QByteArray(4 * 1024 * 1024, 'x'));
    SoftwareUpdateWatcher huge;
    QSignalSpy found(&huge, &SoftwareUpdateWatcher::updateInfoFound);
    huge.getUpdateInfo(server.address("/update/update124.txt"));
    found.wait(5000);
    // Whatever arrived, no more than the limit was read.
    EXPECT_LE(huge.text().size(), SoftwareUpdateWatcher::kMaxReplyBytes);
}
