#include "app/FaultGuard.h"
#include "app/FaultTrace.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// The faults are real: the sanitizers are kept out of these few functions so that the processor,
// not a sanitizer check, meets the bad instruction.
__attribute__((noipa, no_sanitize("address", "undefined"))) void writeThroughNull(volatile int* aPointer)
{
    *aPointer = 42;
}

// The quotient goes to a volatile: an unused result would let an optimising build drop the
// division (and the fault) altogether.
volatile int gQuotient = 0;

__attribute__((noipa, no_sanitize("undefined"))) void divide(volatile int aNumerator,
                                                             volatile int aDenominator)
{
    gQuotient = aNumerator / aDenominator;
}

__attribute__((noipa)) void illegalInstruction()
{
    __builtin_trap();
}

__attribute__((noipa, no_sanitize("address", "undefined"))) int recurseForever(volatile int aDepth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(aDepth);
    if (aDepth < 0) // never: the stack runs out long before
        return 0;
    return recurseForever(aDepth + 1) + frame[0];
}

int countOf(const std::string& aText, const std::string& aPiece)
{
    int count = 0;
    for (std::size_t at = aText.find(aPiece); at != std::string::npos; at = aText.find(aPiece, at + 1))
        ++count;
    return count;
}

std::string firstLine(const std::string& aReport)
{
    return aReport.substr(0, aReport.find("\r\n"));
}

} // namespace

TEST(FaultGuard, AnAccessViolationOnAWorkerThreadIsReportedAndTheThreadGoesOn)
{
    std::string report;
    bool firstCompleted = true;
    bool secondCompleted = false;
    int afterwards = 0;
    std::thread worker([&] {
        firstCompleted = FaultGuard::run([] { writeThroughNull(nullptr); });
        report = faultReport();
        secondCompleted = FaultGuard::run([&] { afterwards = 7; });
    });
    worker.join();
    EXPECT_FALSE(firstCompleted);
    EXPECT_TRUE(secondCompleted);
    EXPECT_EQ(afterwards, 7);
    EXPECT_EQ(firstLine(report), "Exception: EXCEPTION_ACCESS_VIOLATION");
    EXPECT_EQ(report.substr(report.find("\r\n") + 2, 68), std::string(66, '-') + "\r\n");
    const int frames = countOf(report, "Function : ");
    EXPECT_GE(frames, 1);
    EXPECT_LE(frames, 6);
    EXPECT_EQ(countOf(report, "    [Source File : "), frames);
    EXPECT_EQ(countOf(report, "    [Source Line : "), frames);
    // The innermost frame is the function that faulted, with its source file when known.
    EXPECT_NE(report.find("Function : (anonymous namespace)::writeThroughNull"), std::string::npos) << report;
    EXPECT_NE(report.find("FaultGuardTest.cpp"), std::string::npos) << report;
}

TEST(FaultGuard, NamesEachKindOfProcessorFault)
{
    EXPECT_FALSE(FaultGuard::run([] { divide(1, 0); }));
    EXPECT_EQ(firstLine(faultReport()), "Exception: EXCEPTION_INT_DIVIDE_BY_ZERO");
    EXPECT_EQ(FaultTrace::instance().exceptionCode(), 0xC0000094u);

    EXPECT_FALSE(FaultGuard::run([] { illegalInstruction(); }));
    EXPECT_EQ(firstLine(faultReport()), "Exception: EXCEPTION_ILLEGAL_INSTRUCTION");

    EXPECT_FALSE(FaultGuard::run([] { writeThroughNull(nullptr); }));
    EXPECT_EQ(FaultTrace::instance().exceptionCode(), 0xC0000005u);
}

TEST(FaultGuard, AStackOverflowIsCaughtOnTheAlternateStack)
{
    std::thread worker([] {
        EXPECT_FALSE(FaultGuard::run([] { recurseForever(0); }));
        EXPECT_EQ(firstLine(faultReport()), "Exception: EXCEPTION_STACK_OVERFLOW");
        EXPECT_LE(countOf(faultReport(), "Function : "), 6);
        EXPECT_TRUE(FaultGuard::run([] {}));
    });
    worker.join();
}

TEST(FaultGuard, NestedGuardsCatchAtTheInnermostAndRepeatedFaultsAreFine)
{
    bool innerCompleted = true;
    bool outerWentOn = false;
    const bool outerCompleted = FaultGuard::run([&] {
        innerCompleted = FaultGuard::run([] { writeThroughNull(nullptr); });
        outerWentOn = true;
    });
    EXPECT_FALSE(innerCompleted);
    EXPECT_TRUE(outerWentOn);
    EXPECT_TRUE(outerCompleted);

    std::atomic<int> caught{0};
    auto faultMany = [&caught] {
        for (int i = 0; i < 200; ++i) {
            if (!FaultGuard::run([i] { i % 2 ? writeThroughNull(nullptr) : divide(i, 0); }))
                ++caught;
        }
    };
    std::thread a(faultMany);
    std::thread b(faultMany);
    a.join();
    b.join();
    EXPECT_EQ(caught.load(), 400);
}

TEST(FaultGuardDeathTest, AFaultOutsideAnyGuardStillEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_TRUE(FaultGuard::run([] {}));
    EXPECT_DEATH(writeThroughNull(nullptr), "");
}

TEST(FaultTrace, ReportsUnknownCodesAndWalksNoStackForAnUnknownMachine)
{
    ASSERT_EQ(setenv("PROCESSOR_ARCHITECTURE", "IA64", 1), 0);
    FaultTrace trace;
    unsetenv("PROCESSOR_ARCHITECTURE");
    EXPECT_EQ(trace.machineType(), 0u);

    FaultContext context;
    context.exceptionCode = 0xC0000005;
    context.programCounter = reinterpret_cast<void*>(&writeThroughNull);
    context.addresses[0] = context.programCounter;
    context.addressCount = 1;
    EXPECT_EQ(trace.capture(context), 1);
    EXPECT_EQ(trace.report(), "Exception: EXCEPTION_ACCESS_VIOLATION\r\n" + std::string(66, '-') + "\r\n");

    context.exceptionCode = 0x12345678;
    trace.capture(context);
    EXPECT_EQ(trace.report(), "Unknown Exception...\r\n" + std::string(66, '-') + "\r\n");
}

TEST(FaultTrace, MachineTypeFollowsProcessorArchitectureAsWritten)
{
    EXPECT_EQ(FaultTrace::machineTypeFor("AMD64"), 0x8664u);
    EXPECT_EQ(FaultTrace::machineTypeFor("EM64T"), 0x8664u);
    EXPECT_EQ(FaultTrace::machineTypeFor("x86"), 0x014Cu);
    EXPECT_EQ(FaultTrace::machineTypeFor("amd64"), 0u);
    EXPECT_EQ(FaultTrace::machineTypeFor("X86"), 0u);
    EXPECT_EQ(FaultTrace::machineTypeFor(""), 0u);
#if defined(__x86_64__)
    EXPECT_EQ(FaultTrace::machineTypeFor(nullptr), 0x8664u);
#endif
}

TEST(FaultTrace, UnknownFramesAreNamedAsTheLogExpects)
{
    FaultTrace trace;
    FaultContext context;
    context.exceptionCode = 0xC0000094;
    // An address outside every loaded module: no function, no file.
    context.programCounter = reinterpret_cast<void*>(0x10);
    context.addresses[0] = context.programCounter;
    context.addressCount = 1;
    trace.capture(context);
    EXPECT_EQ(trace.report(), "Exception: EXCEPTION_INT_DIVIDE_BY_ZERO\r\n" + std::string(66, '-') +
                                  "\r\nFunction : UnkownFunction\r\n    [Source File : UnkownFile]\r\n"
                                  "    [Source Line : 0]\r\n");
}
