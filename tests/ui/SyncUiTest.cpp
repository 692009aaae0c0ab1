// The main window: its states, its start-up, and whole runs started from its button against a
// folder standing for a USB player, with the run's questions answered in its dialogs.
#include "ui/SyncUi.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "settings/SyncSettings.h"
#include "support/SimulatedPhone.h"
#include "support/SyncFixture.h"
#include "sync/MusicSync.h"
#include "sync/SyncState.h"
#include "sync/SyncStateTexts.h"
#include "sync/freedesktop/FreedesktopNotifier.h"
#include "ui/LibraryChooser.h"
#include "ui/LoopbackServer.h"
#include "ui/NotificationService.h"
#include "ui/SoftwareUpdateWatcher.h"
#include "ui/SpaceGauge.h"
#include "ui/UiTestSupport.h"
#include "ui/wizard/DeviceWizard.h"
#include "ui/wizard/IntroPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class SyncUiTest : public ::testing::Test
{
protected:
    void TearDown() override { uitest::cancelPendingAnswers(); }
    std::unique_ptr<SyncUi> window()
    {
        auto ui = std::make_unique<SyncUi>(uitest::backends(mFixture.xmlPath, mFixture.prober));
        ui->setUpdateAddress(mServer.address("/update/update124.txt"));
        return ui;
    }
    // Shows the window and waits until it has started up and reports the drive (state 1).
    std::unique_ptr<SyncUi> startedWindow()
    {
        auto ui = window();
        ui->show();
        EXPECT_TRUE(uitest::waitFor([&] { return ui->state() == SyncState::Ready; })) << ui->state();
        // A drive counts as mounted once the mounted checker has answered for it.
        EXPECT_TRUE(uitest::waitFor([&] {
            return ui->deviceList().DeviceIsConnected() && ui->deviceList().ConnectedDevice()->IsMounted();
        }));
        return ui;
    }
    // Clicks Synchronize and waits for the run's end (its warnings are answered by the caller).
    void synchronize(SyncUi& aUi)
    {
        aUi.syncButton()->click();
        EXPECT_TRUE(uitest::waitFor([&] { return !aUi.runInProgress() && aUi.lastRunState() != -1; }));
        // The warnings after a run come once the run's report has been taken.
        QApplication::processEvents();
    }
    bool visible(QWidget* aWidget, SyncUi& aUi) const { return aWidget->isVisibleTo(&aUi); }

    SyncFixture mFixture;
    LoopbackServer mServer;
};

} // namespace

TEST_F(SyncUiTest, EveryStateShowsItsTextsBarAndButtons)
{
    auto ui = window();
    // Starting: busy, all buttons off.
    EXPECT_EQ(ui->state(), -1);
    EXPECT_EQ(ui->statusLabel()->text(), "Please wait while the iTunes library is read");
    EXPECT_FALSE(ui->chooseLibraryButton()->isVisibleTo(ui.get()));
    EXPECT_EQ(ui->progressBar()->maximum(), 0);
    EXPECT_FALSE(ui->syncButton()->isEnabled());
    EXPECT_FALSE(ui->settingsButton()->isEnabled());
    EXPECT_EQ(ui->minimumWidth(), 500);
    EXPECT_EQ(ui->maximumWidth(), 500);
    EXPECT_EQ(ui->windowTitle(), "Veltrane");

    // No device: state 0.
    mFixture.prober->unplugAll();
    ui->UpdateProgress(SyncState::NoPhone, 0);
    EXPECT_EQ(ui->state(), SyncState::NoPhone);
    EXPECT_EQ(ui->statusLabel()->text(), "Connect your phone to the PC");
    EXPECT_EQ(ui->detailLabel()->text(), "If your phone is already connected then click Help");
    EXPECT_TRUE(visible(ui->spaceGauge(), *ui));
    EXPECT_FALSE(visible(ui->progressBar(), *ui));
    EXPECT_FALSE(ui->spaceGauge()->gaugeEnabled());
    EXPECT_TRUE(ui->settingsButton()->isEnabled());
    EXPECT_TRUE(ui->helpButton()->isEnabled());
    EXPECT_FALSE(ui->syncButton()->isEnabled());
    EXPECT_FALSE(ui->forceBox()->isEnabled());
    uitest::saveScreenshot(*ui, "window-state-0");

    // The drive comes: the auto-refresher reports state 1.
    mFixture.prober->plugIn(mFixture.root, "Player");
    ui->deviceList().RefreshDevices();
    ui->UpdateProgress(SyncState::Ready, 0);
    EXPECT_EQ(ui->statusLabel()->text(), "A phone is connected and is ready to be synchronized");
    EXPECT_EQ(ui->detailLabel()->text(), "Player");
    EXPECT_TRUE(ui->spaceGauge()->gaugeEnabled());
    EXPECT_TRUE(ui->syncButton()->isEnabled());
    EXPECT_TRUE(ui->forceBox()->isEnabled());
    uitest::saveScreenshot(*ui, "window-state-1");

    // The steps of a run: busy bar, buttons off, gauge hidden.
    for (int state = SyncState::ScanningLibrary; state <= SyncState::ConvertingVideo; ++state) {
        if (state == SyncState::Copying)
            continue;
        ui->UpdateProgress(state, 0);
        EXPECT_EQ(ui->statusLabel()->text(), SyncStateTexts::status(state)) << state;
        EXPECT_EQ(ui->progressBar()->maximum(), 0) << state;
        EXPECT_TRUE(visible(ui->progressBar(), *ui) && !visible(ui->spaceGauge(), *ui)) << state;
        EXPECT_FALSE(ui->syncButton()->isEnabled() || ui->settingsButton()->isEnabled() ||
                     ui->helpButton()->isEnabled() || ui->forceBox()->isEnabled())
            << state;
    }
    EXPECT_EQ(ui->detailLabel()->text(), "");
    ui->UpdateProgress(SyncState::ScanningLibrary, 0);
    EXPECT_EQ(ui->detailLabel()->text(), "Please Wait");
    // Copying: a percentage bar, the track's name below.
    ui->UpdateProgress(SyncState::Copying, 40, "Rock Song 2");
    EXPECT_EQ(ui->statusLabel()->text(), "Copying tracks to the phone");
    EXPECT_EQ(ui->detailLabel()->text(), "Rock Song 2");
    EXPECT_EQ(ui->progressBar()->maximum(), 100);
    EXPECT_EQ(ui->progressBar()->value(), 40);
    uitest::saveScreenshot(*ui, "window-state-13");
    // State 7 changes nothing.
    ui->UpdateProgress(SyncState::Reserved, 0);
    EXPECT_EQ(ui->statusLabel()->text(), "Copying tracks to the phone");

    // The end of a run stays on screen through the first "ready" report, not the second.
    ui->UpdateProgress(SyncState::Complete, 0);
    EXPECT_EQ(ui->statusLabel()->text(), "Phone synchronization is complete");
    EXPECT_EQ(ui->detailLabel()->text(), "");
    EXPECT_TRUE(ui->syncButton()->isEnabled());
    EXPECT_TRUE(ui->forceBox()->isEnabled());
    uitest::saveScreenshot(*ui, "window-state-2");
    ui->UpdateProgress(SyncState::Ready, 0);
    EXPECT_EQ(ui->statusLabel()->text(), "Phone synchronization is complete");
    ui->UpdateProgress(SyncState::Ready, 0);
    EXPECT_EQ(ui->statusLabel()->text(), "A phone is connected and is ready to be synchronized");

    ui->UpdateProgress(SyncState::Cancelled, 0);
    EXPECT_EQ(ui->statusLabel()->text(), "Phone synchronization was cancelled");
    // A run ended by a fault did not complete (never "complete").
    ui->UpdateProgress(SyncState::Fault, 0);
    EXPECT_EQ(ui->statusLabel()->text(), "Phone synchronization did not complete");
    EXPECT_FALSE(ui->detailLabel()->text().isEmpty());
    EXPECT_NE(ui->detailLabel()->text(), "Phone synchronization is complete");
}

TEST_F(SyncUiTest, TheFirstStartOpensTheWizardAndAMissingLibraryIsExplained)
{
    QFile::remove(SyncSettings::filePath());
    auto ui = window();
    QString introText;
    bool wasWizard = false;
    uitest::answerNextModal([&](QWidget* aModal) {
        auto* wizard = qobject_cast<DeviceWizard*>(aModal);
        wasWizard = wizard != nullptr;
        if (wizard) {
            introText = uitest::textOf(wizard->page(DeviceWizard::IntroPageId));
            uitest::saveScreenshot(*wizard, "wizard-intro-first-run");
            wizard->reject();
        }
    });
    ui->show();
    ASSERT_TRUE(uitest::waitFor([&] { return wasWizard; }));
    EXPECT_TRUE(
        introText.contains("This wizard will help you set up a phone so that it can be synchronized."));
    EXPECT_TRUE(uitest::waitFor([&] { return ui->state() == SyncState::Ready; }));
    EXPECT_FALSE(QFile::exists(SyncSettings::filePath())); // cancelled: nothing written
}

TEST_F(SyncUiTest, WithoutALibraryTheWindowExplainsAndTheUserChoosesOne)
{
    // No library file anywhere (none chosen, none in ~/Music/iTunes).
    Backends none = uitest::backends(QString(), mFixture.prober);
    QFile::rename(mFixture.xmlPath, mFixture.home.path() + "/elsewhere.xml");
    SyncUi waiting(none);
    waiting.show();
    ASSERT_TRUE(
        uitest::waitFor([&] { return waiting.statusLabel()->text() == "Waiting for the iTunes library"; }));
    EXPECT_TRUE(waiting.detailLabel()->text().contains("Choose that file"));
    EXPECT_TRUE(waiting.chooseLibraryButton()->isVisibleTo(&waiting));
    uitest::saveScreenshot(waiting, "window-library-missing");
    // A minute of failed attempts (four a second) raises no box about iTunes.
    for (int attempt = 0; attempt < 240; ++attempt) {
        emit waiting.library().iTunesFailure();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::activeModalWidget(), nullptr) << attempt;
    }
    EXPECT_EQ(waiting.state(), -1);

    // A file that is no library is refused with its reason; nothing is chosen.
    QString refusal;
    const auto takeWarning = [&] {
        uitest::answerNextModal([&](QWidget* aModal) {
            refusal = uitest::textOf(aModal);
            uitest::clickButton(aModal, "&OK") || uitest::clickButton(aModal, "OK");
        });
    };
    QFile notes(mFixture.home.path() + "/notes.xml");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("<?xml version=\"1.0\"?><notes><note>milk</note></notes>");
    notes.close();
    takeWarning();
    waiting.libraryChooser().chooseFile(notes.fileName());
    ASSERT_TRUE(uitest::waitFor([&] { return !refusal.isEmpty(); }));
    EXPECT_TRUE(refusal.contains("notes.xml is not an iTunes library")) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains("No library file is chosen yet."));

    // The library chosen: read at once, and the window goes on to the phone.
    waiting.libraryChooser().chooseFile(mFixture.home.path() + "/elsewhere.xml");
    EXPECT_TRUE(uitest::waitFor([&] { return waiting.state() == SyncState::Ready; })) << waiting.state();
    EXPECT_EQ(LibraryChooser::configuredFile(), mFixture.home.path() + "/elsewhere.xml");
    // Another wrong file keeps that choice.
    refusal.clear();
    takeWarning();
    waiting.libraryChooser().chooseFile(mFixture.home.path() + "/nothing-here.xml");
    ASSERT_TRUE(uitest::waitFor([&] { return !refusal.isEmpty(); }));
    EXPECT_TRUE(refusal.contains("The library file stays " + mFixture.home.path() + "/elsewhere.xml"));
    EXPECT_EQ(LibraryChooser::configuredFile(), mFixture.home.path() + "/elsewhere.xml");
}

TEST_F(SyncUiTest, TracksOnAnotherComputersDriveAreMappedToAFolderFromTheWindow)
{
    // The library names its files on drive Z: of the computer that wrote it.
    for (XmlTrackEntry& track : mFixture.writer.tracks)
        track.location.replace(LibraryXmlWriter::fileUrl(mFixture.home.path() + "/"), "file://localhost/Z:/");
    mFixture.writeLibrary();
    mFixture.configure({"Rock"});
    auto ui = startedWindow();
    ASSERT_TRUE(uitest::waitFor([&] { return ui->noteLabel()->isVisibleTo(ui.get()); }));
    EXPECT_EQ(ui->missingFiles().prefix, "Z:/");
    EXPECT_EQ(ui->missingFiles().missing, ui->missingFiles().tracks);
    EXPECT_TRUE(ui->noteLabel()->text().contains("of the library are not on this computer: their files are "
                                                 "under Z:/ of another computer."));
    uitest::saveScreenshot(*ui, "window-files-elsewhere");

    // The link asks for the folder that holds them here; the count drops without a restart.
    const QRegularExpressionMatch link =
        QRegularExpression("href=\"(map:[^\"]+)\"").match(ui->noteLabel()->text());
    ASSERT_TRUE(link.hasMatch());
    uitest::answerNextModal([&](QWidget* aModal) {
        auto* dialog = qobject_cast<QFileDialog*>(aModal);
        ASSERT_NE(dialog, nullptr);
        // Typed in full, as the dialog's directory listing loads on the side.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(mFixture.home.path());
        static_cast<QDialog*>(dialog)->accept();
    });
    emit ui->noteLabel()->linkActivated(link.captured(1));
    EXPECT_TRUE(uitest::waitFor([&] { return ui->missingFiles().missing == 0; }));
    EXPECT_FALSE(ui->noteLabel()->isVisibleTo(ui.get()));
    SyncSettings settings;
    settings.load();
    EXPECT_EQ(settings.getGlobalSettingsList(SyncSettings::kLibraryPathMap),
              (QList<QPair<QString, QString>>{{"Z:/", mFixture.home.path()}}));
}

TEST_F(SyncUiTest, ARunFromTheButtonAsksBeforeDeletingAndRemembersYesAlways)
{
    mFixture.configure({"Rock", "Jazz"});
    auto ui = startedWindow();
    // The first run: everything is copied; after it, the eject reminder (a USB drive), which is
    // told not to come again.
    bool reminded = false;
    uitest::answerNextModal([&](QWidget* aModal) {
        reminded = uitest::textOf(aModal).contains("Please eject your phone");
        aModal->findChild<QCheckBox*>()->setChecked(true);
        uitest::clickButton(aModal, "&OK") || uitest::clickButton(aModal, "OK");
    });
    synchronize(*ui);
    EXPECT_EQ(ui->lastRunState(), SyncState::Complete);
    EXPECT_EQ(ui->statusLabel()->text(), "Phone synchronization is complete");
    EXPECT_TRUE(uitest::waitFor([&] { return reminded; }));
    EXPECT_EQ(mFixture.cachedOnDevice().size(), 5);

    // Jazz no longer chosen: asked; "No" deletes nothing and ends cancelled.
    mFixture.configure({"Rock"});
    QStringList listed;
    uitest::answerNextModal([&](QWidget* aModal) {
        for (int i = 0; i < aModal->findChild<QListWidget*>()->count(); ++i)
            listed.append(aModal->findChild<QListWidget*>()->item(i)->text());
        uitest::clickButton(aModal, "No");
    });
    synchronize(*ui);
    EXPECT_EQ(ui->lastRunState(), SyncState::Cancelled);
    EXPECT_EQ(ui->statusLabel()->text(), "Phone synchronization was cancelled");
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"Jazz Tune 1", "Jazz Tune 2"}));
    EXPECT_EQ(mFixture.cachedOnDevice().size(), 5);

    // "Yes" with "Always": deleted, and never asked again for this device.
    uitest::answerNextModal([](QWidget* aModal) {
        aModal->findChild<QCheckBox*>()->setChecked(true);
        uitest::clickButton(aModal, "Yes");
    });
    synchronize(*ui);
    EXPECT_EQ(ui->lastRunState(), SyncState::Complete);
    EXPECT_EQ(mFixture.cachedOnDevice().size(), 3);
    SyncSettings settings;
    settings.load();
    EXPECT_TRUE(settings.deleteWithoutWarning(mFixture.device->UniqueDeviceId()));
    EXPECT_TRUE(settings.skipUsbEjectWarning(mFixture.device->UniqueDeviceId()));
    // No music at all now: deleted without a question. The run is forced, and the box unticks once
    // it is complete.
    mFixture.configure({});
    ui->forceBox()->setChecked(true);
    int dialogs = 0;
    uitest::answerNextModal(
        [&](QWidget* aModal) {
            ++dialogs;
            aModal->close();
        },
        3000);
    synchronize(*ui);
    EXPECT_EQ(ui->lastRunState(), SyncState::Complete);
    EXPECT_EQ(mFixture.cachedOnDevice().size(), 0);
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(ui->forceBox()->isChecked());
}

TEST_F(SyncUiTest, TooLittleSpaceIsAskedBeforeTheRun)
{
    mFixture.configure({"Rock"});
    mFixture.prober->setFreeSpace(mFixture.root, 1000);
    auto ui = startedWindow();
    QString question;
    uitest::answerNextModal([&](QWidget* aModal) {
        question = uitest::textOf(aModal);
        uitest::clickButton(aModal, "Don't Sync");
    });
    synchronize(*ui);
    EXPECT_TRUE(question.startsWith("You do not have enough space on your phone"));
    EXPECT_EQ(ui->lastRunState(), SyncState::Cancelled);
    EXPECT_TRUE(mFixture.musicOnDrive().isEmpty());
}

TEST_F(SyncUiTest, NotEnoughSpaceCountsWholeMegabytesAndSyncAnywayGoesOn)
{
    auto ui = window();
    QString text;
    uitest::answerNextModal([&](QWidget* aModal) {
        text = uitest::textOf(aModal);
        EXPECT_EQ(aModal->windowTitle(), "Not Enough Space");
        uitest::clickButton(aModal, "Sync Anyway");
    });
    EXPECT_TRUE(ui->notEnoughSpace(5242879));
    EXPECT_TRUE(text.contains("You need to free up 4 MB."));
    uitest::answerNextModal([](QWidget* aModal) { uitest::clickButton(aModal, "Don't Sync"); });
    EXPECT_FALSE(ui->notEnoughSpace(5242880));
}

TEST_F(SyncUiTest, ATrackLeftOutIsListedAfterTheRunAndSaidInTheStatus)
{
    const int id = mFixture.addTrack("Lost Song", "Stone Band", "Heavy", "Music/lost/Lost Song.mp3");
    mFixture.addPlaylist("WithLost", {101, id});
    mFixture.writeLibrary();
    QFile::remove(mFixture.home.path() + "/Music/lost/Lost Song.mp3");
    mFixture.configure({"WithLost"});
    auto ui = startedWindow();
    QString warning;
    uitest::answerNextModal([&](QWidget* aModal) {
        warning = uitest::textOf(aModal);
        QListWidget* list = aModal->findChild<QListWidget*>();
        if (list && list->count() == 1)
            warning += "\n" + list->item(0)->text();
        uitest::saveScreenshot(*aModal, "warning-not-copied");
        if (QCheckBox* box = aModal->findChild<QCheckBox*>())
            box->setChecked(true);
        uitest::clickButton(aModal, "&OK") || uitest::clickButton(aModal, "OK");
        // The eject reminder follows.
        uitest::answerNextModal(
            [](QWidget* aNext) { uitest::clickButton(aNext, "&OK") || uitest::clickButton(aNext, "OK"); });
    });
    synchronize(*ui);
    EXPECT_EQ(ui->lastRunState(), SyncState::Complete);
    EXPECT_EQ(ui->statusLabel()->text(),
              "Phone synchronization is complete, but 1 track could not be copied");
    EXPECT_TRUE(uitest::waitFor([&] { return !warning.isEmpty(); }));
    EXPECT_TRUE(warning.contains("It was not possible to copy the following tracks"));
    EXPECT_TRUE(warning.contains("Lost Song - Heavy - Stone Band (The file could not be found : "));
    SyncSettings settings;
    settings.load();
    EXPECT_TRUE(settings.skipNotCopiedWarning(mFixture.device->UniqueDeviceId()));
    EXPECT_FALSE(settings.skipNotCopiedWarning("another phone"));
}

TEST_F(SyncUiTest, CancelOrCloseDuringARunStopsItAfterTheCurrentTrack)
{
    // A phone whose transfers are slow enough for the window to be used during them.
    SyncFixture target(SyncFixture::Target::Phone);
    target.configure({"Rock", "Jazz"});
    target.phone->setBlockDelay(300);
    Backends backends = uitest::backends(target.xmlPath, target.prober);
    auto phones = std::make_shared<SimulatedPhoneManager>();
    phones->add(target.phone);
    backends.phones = phones;
    SyncUi ui(backends);
    ui.show();
    ASSERT_TRUE(uitest::waitFor([&] { return ui.state() == SyncState::Ready; })) << ui.state();
    ui.forceBox()->setChecked(true);

    // The button becomes Cancel while the run copies; the run stops and says what it copied.
    ui.syncButton()->click();
    ASSERT_TRUE(uitest::waitFor([&] { return ui.state() == SyncState::Copying; }));
    EXPECT_EQ(ui.syncButton()->text(), "&Cancel");
    EXPECT_TRUE(ui.syncButton()->isEnabled());
    ui.syncButton()->click();
    ASSERT_TRUE(uitest::waitFor([&] { return !ui.runInProgress() && ui.lastRunState() != -1; }));
    EXPECT_EQ(ui.lastRunState(), SyncState::Cancelled);
    EXPECT_TRUE(QRegularExpression("^Copied [0-4] of 5 tracks before the synchronization stopped\\.$")
                    .match(ui.detailLabel()->text())
                    .hasMatch())
        << ui.detailLabel()->text().toStdString();
    EXPECT_LT(target.cachedOnDevice().size(), 5);
    EXPECT_EQ(ui.syncButton()->text(), "S&ynchronize");
    EXPECT_TRUE(ui.forceBox()->isChecked()); // not done: still to be forced

    // A close during a run cancels it, and the window closes when the run has ended.
    ui.syncButton()->click();
    ASSERT_TRUE(uitest::waitFor([&] { return ui.state() == SyncState::Copying; }));
    ui.close();
    EXPECT_TRUE(ui.isVisible());
    EXPECT_EQ(ui.statusLabel()->text(), "Cancelling");
    EXPECT_TRUE(uitest::waitFor([&] { return !ui.isVisible(); }));
    EXPECT_FALSE(ui.runInProgress());
}

TEST_F(SyncUiTest, AClosingDuringTheStartClosesAtOnce)
{
    // The library is read but the podcast names not yet: no run exists, so nothing holds the
    // window.
    auto ui = window();
    ui->show();
    ui->UpdateProgress(SyncState::ScanningLibrary, 0);
    ui->close();
    EXPECT_FALSE(ui->isVisible());
    ui->show();
    ui->close();
    EXPECT_FALSE(ui->isVisible());
}

TEST_F(SyncUiTest, ARunEndingWhileTheUserLooksElsewhereIsToldByTheDesktop)
{
    NotificationService service;
    ASSERT_TRUE(service.isRunning());
    mFixture.configure({"Rock"});
    SyncSettings settings;
    settings.load();
    settings.setSkipUsbEjectWarning(mFixture.device->UniqueDeviceId());
    settings.save();
    Backends backends = uitest::backends(mFixture.xmlPath, mFixture.prober);
    backends.notifier = std::make_shared<FreedesktopNotifier>(service.client());
    SyncUi ui(backends);
    ui.show();
    ASSERT_TRUE(uitest::waitFor([&] { return ui.state() == SyncState::Ready; }));
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    synchronize(ui);
    ASSERT_TRUE(uitest::waitFor([&] { return service.shown().size() == 1; }));
    EXPECT_EQ(service.shown()[0].application, "Veltrane");
    EXPECT_EQ(service.shown()[0].icon, "veltrane");
    EXPECT_EQ(service.shown()[0].summary, "Phone synchronization is complete");
    EXPECT_EQ(service.shown()[0].hints.value("desktop-entry").toString(), "veltrane");

    // The window in front: nothing. No service at all: nothing, and nothing waits for it.
    QApplication::setActiveWindow(&ui);
    synchronize(ui);
    service.leave();
    QApplication::setActiveWindow(&elsewhere);
    synchronize(ui);
    EXPECT_EQ(ui.lastRunState(), SyncState::Complete);
    QApplication::processEvents();
    EXPECT_EQ(service.shown().size(), 1);
}

TEST_F(SyncUiTest, DeviceErrorsAreShownOneAtATime)
{
    auto ui = window();
    int boxes = 0;
    QString text;
    uitest::answerNextModal([&](QWidget* aModal) {
        ++boxes;
        text = uitest::textOf(aModal);
        // A second report while the box is open shows nothing more.
        emit ui->deviceList().unableToOpenDevice(11009);
        QApplication::processEvents();
        aModal->close();
    });
    emit ui->deviceList().unableToOpenDevice(11009);
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(text.contains("If the screen is locked then disconnect the device"));
}

TEST_F(SyncUiTest, TheUpdateAnnouncementIsShownOnceUnlessSuppressed)
{
    mFixture.configure({"Rock"});
    mServer.answer(200, "Veltrane 2\nv2\n<p>Version 2 is out.</p>");
    for (int start = 0; start < 2; ++start) {
        int shown = 0;
        uitest::answerNextModal(
            [&](QWidget* aModal) {
                if (aModal->windowTitle() == "Veltrane 2") {
                    ++shown;
                    aModal->findChild<QCheckBox*>()->setChecked(true);
                }
                aModal->close();
            },
            5000);
        auto ui = startedWindow();
        uitest::waitFor([&] { return shown > 0; }, 5000);
        EXPECT_EQ(shown, start == 0 ? 1 : 0) << start;
    }
    SyncSettings settings;
    settings.load();
    EXPECT_EQ(settings.skipUpdateMessage(), "v2");
}
