// A processor fault inside one track's upload. The guard abandons the faulting stack, whose
// allocations are never freed: this test runs without leak checking.
#include "support/SyncFixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// A drive whose upload of one track faults, as a bug or a bad driver would.
class FaultingDrive : public UsbMSDevice
{
public:
    using UsbMSDevice::UsbMSDevice;
    int UploadTrack(Track& aTrack) override
    {
        if (aTrack.trackName() == "Rock Song 2")
            crash(nullptr);
        return UsbMSDevice::UploadTrack(aTrack);
    }

private:
    __attribute__((noipa, no_sanitize("address", "undefined"))) static void crash(volatile int* aPointer)
    {
        *aPointer = 1;
    }
};

} // namespace

TEST(MusicSync, AFaultInOneUploadSkipsThatTrackOnly)
{
    SyncFixture fixture;
    fixture.replaceDrive(std::make_unique<FaultingDrive>(fixture.root, "Player", true, fixture.prober));
    fixture.configure({"Rock", "Jazz"});
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_EQ(fixture.cachedOnDevice().size(), 4);
    EXPECT_FALSE(QFileInfo::exists(fixture.root + "Music/Stone Band/Heavy/2 Rock Song.mp3"));
}

extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
