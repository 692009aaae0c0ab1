#pragma once

#include <functional>

// Runs a piece of work so that a processor fault inside it (SIGSEGV, SIGBUS, SIGFPE, SIGILL)
// ends the work instead of the process: the fault is captured (FaultTrace), its report is
// written to the diagnostics log as one message, and run() returns false so that the caller can
// recover. Usable from any thread and nestable; each thread gets its own alternate signal stack.
// A fault outside any guard goes to the handler that was installed before ours (or the default
// action), so it still ends the process as usual.
//
// The work is abandoned where it faulted: destructors between the fault and the guard don't run,
// so guarded work must not hold locks across code that may fault.
class FaultGuard
{
public:
    static bool run(const std::function<void()>& aWork);
};
