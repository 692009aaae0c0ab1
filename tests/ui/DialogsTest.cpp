// The space gauge and the small dialogs of the window and the wizard.
#include "tracks/Track.h"
#include "tracks/TrackList.h"
#include "ui/DeleteTracksConfirm.h"
#include "ui/SpaceGauge.h"
#include "ui/SyncUiTexts.h"
#include "ui/SyncWarningDialog.h"
#include "ui/UiTestSupport.h"
#include "ui/UpdateDialog.h"
#include "ui/UsbEjectWarning.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

Track track(const QString& aName, const QString& aPath = QString())
{
    return Track(aName, "Album", "Artist", 1, aPath, true, false, false);
}

} // namespace

TEST(SpaceGauge, DrawsTheUsedShareOfItsInnerWidth)
{
    SpaceGauge gauge(false);
    gauge.resize(204, 23);
    gauge.update(30, 70);
    EXPECT_EQ(gauge.usedBarWidth(), 60);
    // A percentage above 100 is held at 100; a sum not above 0 draws no bar.
    gauge.update(500, -100);
    EXPECT_EQ(gauge.usedBarWidth(), 200);
    gauge.update(-50, 20);
    EXPECT_EQ(gauge.usedBarWidth(), 0);
    // Terabytes of phone: no overflow.
    gauge.update(3LL << 40, 1LL << 40);
    EXPECT_EQ(gauge.usedBarWidth(), 150);
    gauge.disable();
    EXPECT_EQ(gauge.usedBarWidth(), 0);

    // What is drawn: red from the left to the bar's end, green after it; grey when disabled.
    gauge.enable();
    gauge.update(30, 70);
    const QImage drawn = gauge.grab().toImage();
    const QColor used = drawn.pixelColor(30, 17);
    const QColor free = drawn.pixelColor(150, 17);
    EXPECT_GT(used.red(), 200);
    EXPECT_LT(used.green(), 120);
    EXPECT_GT(free.green(), 200);
    EXPECT_LT(free.red(), 120);
    gauge.disable();
    const QColor grey = gauge.grab().toImage().pixelColor(30, 17);
    EXPECT_LT(qAbs(grey.red() - grey.green()), 20);
    uitest::saveScreenshot(gauge, "gauge-disabled");

    // The figures, in words on the bar and in its tooltip; none while disabled.
    EXPECT_TRUE(gauge.text().isEmpty());
    gauge.enable();
    gauge.update(3LL << 29, 1LL << 29);
    EXPECT_EQ(gauge.text().toStdString(), "1.50 GiB used, 512.00 MiB free of 2.00 GiB");
    EXPECT_EQ(gauge.toolTip(), gauge.text());
}

TEST(Images, StaySharpAtTwiceTheSize)
{
    // The wizard's watermark is drawn again at twice its size for such screens.
    const QPixmap doubled = SyncUiTexts::watermark(2.0);
    EXPECT_EQ(doubled.size(), QSize(328, 628));
    EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
    EXPECT_EQ(SyncUiTexts::watermark(1.0).size(), QSize(164, 314));
    // The scalable icon shows what the drawn one shows.
    QSvgRenderer svg(QStringLiteral(VELTRANE_SOURCE_DIR "/src/ui/desktop/veltrane.svg"));
    ASSERT_TRUE(svg.isValid());
    QImage rendered(256, 256, QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    svg.render(&painter);
    painter.end();
    const QImage drawn = QImage(":/images/veltrane.png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(drawn.size(), rendered.size());
    int different = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = rendered.pixel(x, y);
            if (qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) +
                    qAbs(qAlpha(a) - qAlpha(b)) >
                48)
                ++different;
        }
    }
    EXPECT_LT(different, 256 * 256 / 100) << "pixels that differ";
}

TEST(DeleteTracksConfirm, AnswersNoYesAndYesAlways)
{
    TrackList tracks;
    tracks.addTrack(track("First"));
    tracks.addTrack(track("Second"));
    for (const auto& [button, always, expected] : {std::tuple<QString, bool, int>{"No", false, 0},
                                                   {"Yes", false, 1},
                                                   {"Yes", true, 2},
                                                   {"No", true, 0}}) {
        DeleteTracksConfirm dialog(tracks);
        EXPECT_EQ(dialog.findChild<QListWidget*>()->count(), 2);
        dialog.findChild<QCheckBox*>()->setChecked(always);
        uitest::answerNextModal(
            [button = button](QWidget* aDialog) { uitest::clickButton(aDialog, button); });
        EXPECT_EQ(dialog.exec(), expected) << button.toStdString();
    }
}

TEST(SyncWarningDialog, KindsTextsAndTheMissingFileLine)
{
    const QList<Track> tracks = {track("Song", "/music/song.m4a"), track("Other")};
    SyncWarningDialog failed(nullptr, tracks, SyncWarningDialog::CopyFailed, {-5005, -6005},
                             {"its file is not on this computer", "copying it to the device failed"});
    auto* list = failed.findChild<QListWidget*>();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Song - Album - Artist (The file could not be found : /music/song.m4a)");
    EXPECT_EQ(list->item(1)->text(), "Other - Album - Artist (copying it to the device failed)");
    // The link leads to the guide installed beside the program.
    EXPECT_TRUE(uitest::textOf(&failed).contains("/guide/en/index.html#copy-failed\">here</a>"));
    EXPECT_EQ(failed.width(), 500);
    // The box is there for every kind but "not downloaded".
    failed.findChild<QCheckBox*>()->setChecked(true);
    EXPECT_TRUE(failed.doNotShowAgain());
    SyncWarningDialog notDownloaded(nullptr, tracks, SyncWarningDialog::NotDownloaded);
    EXPECT_EQ(notDownloaded.findChild<QCheckBox*>(), nullptr);
    EXPECT_TRUE(uitest::textOf(&notDownloaded).contains("have not been downloaded in iTunes"));
    SyncWarningDialog protectedTracks(nullptr, tracks, SyncWarningDialog::CopyProtected);
    EXPECT_NE(protectedTracks.findChild<QCheckBox*>(), nullptr);
    EXPECT_TRUE(uitest::textOf(&protectedTracks).contains("index.html#protected"));
    EXPECT_EQ(SyncWarningDialog::itemText(track("Lost"), -5005, QString()),
              "Lost - Album - Artist (The file could not be found)");
}

TEST(UsbEjectWarningAndUpdateDialog, ReturnWhetherTheBoxWasTicked)
{
    for (bool ticked : {false, true}) {
        UsbEjectWarning warning;
        warning.findChild<QCheckBox*>()->setChecked(ticked);
        uitest::answerNextModal([](QWidget* aDialog) {
            uitest::clickButton(aDialog, "OK") || uitest::clickButton(aDialog, "&OK");
        });
        EXPECT_EQ(warning.exec(), ticked ? 1 : 0);
    }
    UpdateDialog update(nullptr, "Version 2", "<p>A new version is out.</p>");
    EXPECT_EQ(update.windowTitle(), "Version 2");
    EXPECT_EQ(update.width(), 500);
    update.findChild<QCheckBox*>()->setChecked(true);
    EXPECT_TRUE(update.doNotShowAgain());
}
