#include "app/FaultTrace.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <map>
#include <memory>
#include <mutex>

namespace {

std::string demangle(const char* aName)
{
    if (!aName)
        return {};
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(aName, nullptr, nullptr, &status),
                                                      &std::free);
    return status == 0 && plain ? std::string(plain.get()) : std::string(aName);
}

// Asks binutils' addr2line for the function, source file and line of one code address of a module.
// Optional: without addr2line or debug information the frame keeps what dladdr knew.
void lookUpSourceLine(const Dl_info& aModule, const void* aAddress, FaultFrame& aFrame)
{
    const auto base = reinterpret_cast<std::uintptr_t>(aModule.dli_fbase);
    auto address = reinterpret_cast<std::uintptr_t>(aAddress);
    const auto* header = static_cast<const ElfW(Ehdr)*>(aModule.dli_fbase);
    // Position-independent modules are looked up by offset, fixed executables by address.
    if (header && header->e_type == ET_DYN)
        address -= base;
    QProcess addr2line;
    addr2line.start(QStringLiteral("addr2line"),
                    {QStringLiteral("-f"), QStringLiteral("-C"), QStringLiteral("-e"),
                     QString::fromLocal8Bit(aModule.dli_fname),
                     QStringLiteral("0x") + QString::number(address, 16)});
    if (!addr2line.waitForStarted(2000) || !addr2line.waitForFinished(5000)) {
        addr2line.kill();
        addr2line.waitForFinished(1000);
        return;
    }
    const QList<QByteArray> lines = addr2line.readAllStandardOutput().split('\n');
    if (lines.size() < 2)
        return;
    const QByteArray function = lines.at(0).trimmed();
    if (aFrame.function.empty() && function != "??")
        aFrame.function = function.toStdString();
    QByteArray location = lines.at(1).trimmed();
    const int discriminator = location.indexOf(" (discriminator");
    if (discriminator >= 0)
        location.truncate(discriminator);
    const int colon = location.lastIndexOf(':');
    if (colon <= 0 || location.startsWith("??"))
        return;
    bool ok = false;
    const uint line = location.mid(colon + 1).toUInt(&ok);
    aFrame.file = location.left(colon).toStdString();
    aFrame.line = ok ? line : 0;
}

FaultFrame lookUp(const void* aAddress, bool aIsReturnAddress)
{
    FaultFrame frame;
    // A return address points after the call; the call itself is one byte earlier.
    const void* lookup = aIsReturnAddress ? static_cast<const char*>(aAddress) - 1 : aAddress;
    Dl_info module{};
    if (dladdr(lookup, &module) == 0)
        return frame;
    frame.function = demangle(module.dli_sname);
    if (module.dli_fname && *module.dli_fname)
        lookUpSourceLine(module, lookup, frame);
    return frame;
}

// Faults tend to repeat at the same places (one bad track after another): each address is looked
// up once.
FaultFrame describe(const void* aAddress, bool aIsReturnAddress)
{
    static std::mutex mutex;
    static std::map<std::pair<const void*, bool>, FaultFrame> known;
    const std::pair<const void*, bool> key{aAddress, aIsReturnAddress};
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = known.find(key);
        if (found != known.end())
            return found->second;
    }
    FaultFrame frame = lookUp(aAddress, aIsReturnAddress);
    std::lock_guard<std::mutex> lock(mutex);
    known.emplace(key, frame);
    return frame;
}

} // namespace

FaultTrace::FaultTrace()
{
    mExceptionNames = {
        {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},
        {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
        {0x80000003, "EXCEPTION_BREAKPOINT"},
        {0x80000004, "EXCEPTION_SINGLE_STEP"},
        {0xC000008C, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
        {0xC000008D, "EXCEPTION_FLT_DENORMAL_OPERAND"},
        {0xC000008E, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
        {0xC000008F, "EXCEPTION_FLT_INEXACT_RESULT"},
        {0xC0000090, "EXCEPTION_FLT_INVALID_OPERATION"},
        {0xC0000091, "EXCEPTION_FLT_OVERFLOW"},
        {0xC0000092, "EXCEPTION_FLT_STACK_CHECK"},
        {0xC0000093, "EXCEPTION_FLT_UNDERFLOW"},
        {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
        {0xC0000095, "EXCEPTION_INT_OVERFLOW"},
        {0xC0000096, "EXCEPTION_PRIV_INSTRUCTION"},
        {0xC0000006, "EXCEPTION_IN_PAGE_ERROR"},
        {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION"},
        {0xC0000025, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
        {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},
        {0xC0000026, "EXCEPTION_INVALID_DISPOSITION"},
        {0x80000001, "EXCEPTION_GUARD_PAGE"},
        {0xC0000008, "EXCEPTION_INVALID_HANDLE"},
    };
    mMachineType = machineTypeFor(std::getenv("PROCESSOR_ARCHITECTURE"));
}

std::uint32_t FaultTrace::machineTypeFor(const char* aProcessorArchitecture)
{
    if (!aProcessorArchitecture) {
#if defined(__x86_64__)
        return kMachineAmd64;
#elif defined(__i386__)
        return kMachineI386;
#elif defined(__aarch64__)
        return kMachineArm64;
#else
        return 0;
#endif
    }
    const std::string value(aProcessorArchitecture);
    if (value == "EM64T" || value == "AMD64")
        return kMachineAmd64;
    if (value == "x86")
        return kMachineI386;
    return 0;
}

FaultTrace& FaultTrace::instance()
{
    static FaultTrace trace;
    return trace;
}

int FaultTrace::capture(const FaultContext& aContext)
{
    mExceptionCode = aContext.exceptionCode;
    mFrames.clear();
    if (mMachineType == 0)
        return 1;
    // The handler's own frames come first; the walk starts at the faulting instruction.
    int first = -1;
    for (int i = 0; i < aContext.addressCount && first < 0; ++i) {
        if (aContext.addresses[i] == aContext.programCounter)
            first = i;
    }
    if (first < 0) {
        // The trampoline was not recognised: report the faulting instruction alone.
        if (aContext.programCounter)
            mFrames.push_back(describe(aContext.programCounter, false));
        return 1;
    }
    for (int i = first; i < aContext.addressCount && mFrames.size() < kMaxFrames; ++i) {
        if (aContext.addresses[i] == nullptr)
            break;
        mFrames.push_back(describe(aContext.addresses[i], i != first));
    }
    return 1;
}

std::string FaultTrace::report() const
{
    std::string text;
    const auto name = mExceptionNames.find(mExceptionCode);
    if (name != mExceptionNames.end())
        text += std::string("Exception: ") + name->second + "\r\n";
    else
        text += "Unknown Exception...\r\n";
    text += std::string(66, '-') + "\r\n";
    for (const FaultFrame& frame : mFrames) {
        text += "Function : " + (frame.function.empty() ? std::string("UnkownFunction") : frame.function) +
                "\r\n";
        text +=
            "    [Source File : " + (frame.file.empty() ? std::string("UnkownFile") : frame.file) + "]\r\n";
        text += "    [Source Line : " + std::to_string(frame.line) + "]\r\n";
    }
    return text;
}

int captureFault(const FaultContext& aContext)
{
    return FaultTrace::instance().capture(aContext);
}

std::string faultReport()
{
    return FaultTrace::instance().report();
}
