#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One frame of a captured stack, innermost first. Empty strings and line 0 where unknown.
struct FaultFrame
{
    std::string function;
    std::string file;
    std::uint32_t line = 0;
};

// What the signal handler records about a fault before it jumps back to the guard: only plain
// values, since nothing else is safe to do inside the handler.
struct FaultContext
{
    static constexpr int kMaxAddresses = 64;

    std::uint32_t exceptionCode = 0;
    void* programCounter = nullptr;
    void* addresses[kMaxAddresses] = {};
    int addressCount = 0;
};

// The last captured processor fault and its stack, turned into the log's fault report. Holds only
// the last capture; captures and reports are made on the faulting thread, with no lock.
class FaultTrace
{
public:
    static constexpr std::size_t kMaxFrames = 6;
    static constexpr std::uint32_t kMachineAmd64 = 0x8664;
    static constexpr std::uint32_t kMachineI386 = 0x014C;
    static constexpr std::uint32_t kMachineArm64 = 0xAA64;

    FaultTrace();

    // Records the fault's code and up to six symbolised frames; returns 1, "run the handler".
    int capture(const FaultContext& aContext);
    std::string report() const;

    std::uint32_t exceptionCode() const { return mExceptionCode; }
    const std::vector<FaultFrame>& frames() const { return mFrames; }
    std::uint32_t machineType() const { return mMachineType; }

    // PROCESSOR_ARCHITECTURE as written ("EM64T" and "AMD64", "x86"; anything else 0, no stack
    // walk); when the variable is unset, the architecture this program was built for.
    static std::uint32_t machineTypeFor(const char* aProcessorArchitecture);

    static FaultTrace& instance();

private:
    std::uint32_t mExceptionCode = 0;
    std::vector<FaultFrame> mFrames;
    std::map<std::uint32_t, const char*> mExceptionNames;
    std::uint32_t mMachineType = 0;
};

int captureFault(const FaultContext& aContext);
std::string faultReport();
