// A run and its front end: cancelling or destroying a run while its question waits for the user
// ends the run without deadlock, and an answer that comes too late goes nowhere.
#include "support/SyncFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A front end that answers nothing by itself: each question runs aAnswer, which may spin an
// event loop as a modal dialog does.
class SlowFrontEnd : public SyncFrontEnd
{
public:
    std::function<bool()> answer = [] { return true; };
    int questions = 0;
    int finishedRuns = 0;

    void UpdateProgress(int, int) override {}
    void UpdateProgress(int, int, const QString&) override {}
    bool ConfirmDeleteTracks(const TrackList&) override
    {
        ++questions;
        return answer();
    }
    void displayDrmTracksWarning(const TrackList&) override {}
    void displayTracksNotDownloadedWarning(const TrackList&) override {}
    bool notEnoughSpace(qint64) override
    {
        ++questions;
        return answer();
    }
    void syncFinished(const MusicSync&) override { ++finishedRuns; }
};

// Waits, without running the event loop, until the run waits for an answer.
bool untilAsking(const SyncRun& aRun)
{
    QElapsedTimer clock;
    clock.start();
    while (!aRun.isWaitingForAnswer()) {
        if (clock.elapsed() > 20000)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// A drive holding Rock, now configured for Jazz only: the next run asks to delete Rock.
void prepareDeletion(SyncFixture& aFixture)
{
    aFixture.configure({"Rock"});
    ASSERT_EQ(aFixture.run().state, SyncState::Complete);
    aFixture.configure({"Jazz"});
}

std::unique_ptr<SyncRun> makeRun(SyncFixture& aFixture, SyncFrontEnd& aFrontEnd)
{
    return std::make_unique<SyncRun>(*aFixture.library, *aFixture.device, aFixture.parent.get(), aFrontEnd,
                                     KeepAwake::Factory());
}

} // namespace

TEST(SyncRun, DestroyingARunWhoseQuestionIsStillQueuedEndsItWithoutDeleting)
{
    SyncFixture fixture;
    prepareDeletion(fixture);
    SlowFrontEnd frontEnd;
    auto run = makeRun(fixture, frontEnd);
    run->start(false);
    ASSERT_TRUE(untilAsking(*run));
    // The front end's thread never got to the question: destroying the run must not wait for it.
    run.reset();
    QCoreApplication::processEvents(); // the queued question finds its run gone
    EXPECT_EQ(frontEnd.questions, 0);
    EXPECT_EQ(fixture.musicOnDrive().filter(".mp3").size(), 3); // Rock is still there
    EXPECT_EQ(fixture.cachedOnDevice().size(), 3);
}

TEST(SyncRun, CancellingWhileTheQuestionIsOnScreenEndsTheRunCancelled)
{
    SyncFixture fixture;
    prepareDeletion(fixture);
    SlowFrontEnd frontEnd;
    SyncRun run(*fixture.library, *fixture.device, fixture.parent.get(), frontEnd, KeepAwake::Factory());
    // The "dialog" stays up until the run has ended, then says yes: too late to count.
    frontEnd.answer = [&run] {
        run.cancel();
        while (!run.wait(10))
            QCoreApplication::processEvents();
        return true;
    };
    run.start(false);
    while (frontEnd.finishedRuns == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(frontEnd.questions, 1);
    EXPECT_EQ(run.sync().state(), SyncState::Cancelled);
    EXPECT_EQ(fixture.musicOnDrive().filter(".mp3").size(), 3);
}

TEST(SyncRun, DestroyingTheRunFromInsideItsQuestionIsSafe)
{
    SyncFixture fixture;
    prepareDeletion(fixture);
    SlowFrontEnd frontEnd;
    auto run = makeRun(fixture, frontEnd);
    // As when the window is closed while the delete confirmation is open.
    frontEnd.answer = [&run] {
        QTimer::singleShot(0, [&run] { run.reset(); });
        while (run)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return true;
    };
    run->start(false);
    while (run)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(frontEnd.questions, 1);
    EXPECT_EQ(frontEnd.finishedRuns, 0);
    EXPECT_EQ(fixture.musicOnDrive().filter(".mp3").size(), 3);
}

TEST(SyncRun, AnsweringNoToTheSpaceQuestionCancelsAndYesGoesOn)
{
    for (const bool goOn : {false, true}) {
        SyncFixture fixture;
        fixture.configure({"Rock"});
        fixture.prober->setFreeSpace(fixture.root, 10);
        SlowFrontEnd frontEnd;
        frontEnd.answer = [goOn] { return goOn; };
        SyncRun run(*fixture.library, *fixture.device, fixture.parent.get(), frontEnd, KeepAwake::Factory());
        run.start(false);
        while (frontEnd.finishedRuns == 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        EXPECT_EQ(frontEnd.questions, 1);
        EXPECT_EQ(run.sync().state(), goOn ? SyncState::Complete : SyncState::Cancelled) << goOn;
    }
}
