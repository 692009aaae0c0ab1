// Writes to the process-wide log as Veltrane does: the start-up lines, a function with a
// result, values of each kind, a fault inside guarded work, then the end of the entry function.
// The first argument is a marker written as a value, so tests can tell runs apart; a second and
// third are a file to copy into the log folder and the name to give it.
#include "app/DiagnosticLog.h"
#include "app/FaultGuard.h"
#include "app/LogScope.h"
#include "app/Startup.h"

#include <QString>

#include <string>

namespace {

bool probe()
{
    LogScope log("Probe::run");
    logValue("x", -1);
    logValue("count", static_cast<int>(3000000000u));
    logValue("album", QStringLiteral("Ol\u00e9 \u2013 WALL\u2022E"));
    logValue("wide", std::wstring(L"na\u00efve"));
    logValue("text", "plain");
    return log.ret(true);
}

__attribute__((noinline, no_sanitize("address", "undefined"))) void readThroughNull(volatile int* aPointer)
{
    *aPointer = 1;
}

} // namespace

int main(int argc, char** argv)
{
    Startup::begin(argc);
    logValue("marker", argc > 1 ? argv[1] : "");
    probe();
    const bool completed = FaultGuard::run([] { readThroughNull(nullptr); });
    logValue("guarded work completed", completed);
    if (argc > 3)
        copyToLogFolder(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    Startup::end(0);
    return 0;
}
