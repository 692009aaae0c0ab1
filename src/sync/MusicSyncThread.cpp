#include "sync/MusicSyncThread.h"

#include "app/FaultGuard.h"
#include "app/LogScope.h"
#include "sync/KeepAwake.h"
#include "sync/MusicSync.h"

#include <exception>

void MusicSyncThread::run()
{
    LogScope log("MusicSyncThread::run");
    // The computer stays awake while this thread runs.
    const std::unique_ptr<KeepAwake> keepAwake = mSync->makeKeepAwake();
    bool completed = FaultGuard::run([this] {
        try {
            mSync->Start();
        } catch (const std::exception& aException) {
            logValue("! Exception ended the sync", aException.what());
            mSync->ChangeState(MusicSync::StateFault);
        } catch (...) {
            logMessage("! Exception ended the sync");
            mSync->ChangeState(MusicSync::StateFault);
        }
    });
    if (!completed)
        mSync->ChangeState(MusicSync::StateFault);
}
