#include "app/FaultGuard.h"

#include "app/DiagnosticLog.h"
#include "app/FaultTrace.h"

#include <QMutex>
#include <QMutexLocker>

#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <execinfo.h>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <ucontext.h>

namespace {

const int kGuardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr std::size_t kAlternateStackSize = 256 * 1024;
constexpr std::uintptr_t kStackOverflowMargin = 64 * 1024;

struct sigaction sPreviousActions[NSIG];

struct GuardFrame
{
    sigjmp_buf jump;
    FaultContext context;
    GuardFrame* outer = nullptr;
};

// Per-thread state: the innermost active guard, the thread's stack bounds (to tell a stack
// overflow from another access violation) and its alternate signal stack, released at thread end.
struct ThreadGuardState
{
    GuardFrame* innermost = nullptr;
    std::uintptr_t stackLow = 0;
    std::unique_ptr<char[]> alternateStack;

    ThreadGuardState()
    {
        alternateStack = std::make_unique<char[]>(kAlternateStackSize);
        stack_t stack{};
        stack.ss_sp = alternateStack.get();
        stack.ss_size = kAlternateStackSize;
        sigaltstack(&stack, nullptr);
        pthread_attr_t attributes;
        if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
            void* address = nullptr;
            std::size_t size = 0;
            if (pthread_attr_getstack(&attributes, &address, &size) == 0)
                stackLow = reinterpret_cast<std::uintptr_t>(address);
            pthread_attr_destroy(&attributes);
        }
    }
    ~ThreadGuardState();
    ThreadGuardState(const ThreadGuardState&) = delete;
    ThreadGuardState& operator=(const ThreadGuardState&) = delete;
};

thread_local ThreadGuardState* tState = nullptr;

ThreadGuardState::~ThreadGuardState()
{
    // A fault while the thread ends is no longer ours.
    tState = nullptr;
    stack_t stack{};
    stack.ss_flags = SS_DISABLE;
    sigaltstack(&stack, nullptr);
}

ThreadGuardState& threadState()
{
    thread_local ThreadGuardState state;
    tState = &state;
    return state;
}

// The exception code that a Windows build would have seen for this signal.
std::uint32_t exceptionCodeFor(int aSignal, const siginfo_t* aInfo, std::uintptr_t aStackLow)
{
    switch (aSignal) {
    case SIGSEGV: {
        const auto address = reinterpret_cast<std::uintptr_t>(aInfo->si_addr);
        if (aStackLow != 0 && address + kStackOverflowMargin >= aStackLow &&
            address < aStackLow + kStackOverflowMargin)
            return 0xC00000FD; // stack overflow
        return 0xC0000005;     // access violation
    }
    case SIGBUS:
        return aInfo->si_code == BUS_ADRALN ? 0x80000002  // datatype misalignment
                                            : 0xC0000006; // in-page error (a mapped file went away)
    case SIGFPE:
        switch (aInfo->si_code) {
        case FPE_INTDIV:
            return 0xC0000094;
        case FPE_INTOVF:
            return 0xC0000095;
        case FPE_FLTDIV:
            return 0xC000008E;
        case FPE_FLTOVF:
            return 0xC0000091;
        case FPE_FLTUND:
            return 0xC0000093;
        case FPE_FLTRES:
            return 0xC000008F;
        case FPE_FLTINV:
            return 0xC0000090;
        case FPE_FLTSUB:
            return 0xC000008C;
        default:
            return 0xC0000094;
        }
    case SIGILL:
        return aInfo->si_code == ILL_PRVOPC || aInfo->si_code == ILL_PRVREG ? 0xC0000096 : 0xC000001D;
    default:
        return 0;
    }
}

void* programCounterOf(void* aUserContext)
{
#if defined(__x86_64__)
    return reinterpret_cast<void*>(static_cast<ucontext_t*>(aUserContext)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__i386__)
    return reinterpret_cast<void*>(static_cast<ucontext_t*>(aUserContext)->uc_mcontext.gregs[REG_EIP]);
#elif defined(__aarch64__)
    return reinterpret_cast<void*>(static_cast<ucontext_t*>(aUserContext)->uc_mcontext.pc);
#else
    (void)aUserContext;
    return nullptr;
#endif
}

void onFault(int aSignal, siginfo_t* aInfo, void* aUserContext)
{
    ThreadGuardState* state = tState;
    GuardFrame* frame = state ? state->innermost : nullptr;
    if (!frame) {
        // Not ours: give the fault back to whoever handled it before us. Returning re-runs the
        // faulting instruction, which then reaches that handler or the default action.
        sigaction(aSignal, &sPreviousActions[aSignal], nullptr);
        return;
    }
    frame->context.exceptionCode = exceptionCodeFor(aSignal, aInfo, state->stackLow);
    frame->context.programCounter = programCounterOf(aUserContext);
    frame->context.addressCount = backtrace(frame->context.addresses, FaultContext::kMaxAddresses);
    siglongjmp(frame->jump, 1);
}

void installHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // backtrace() loads the unwinder on its first call; do that here, not inside a handler.
        void* warmUp[2];
        backtrace(warmUp, 2);
        for (int signal : kGuardedSignals) {
            struct sigaction action
            {
            };
            action.sa_sigaction = onFault;
            action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
            sigemptyset(&action.sa_mask);
            sigaction(signal, &action, &sPreviousActions[signal]);
        }
    });
}

QMutex sReportMutex;

} // namespace

bool FaultGuard::run(const std::function<void()>& aWork)
{
    installHandlers();
    ThreadGuardState& state = threadState();
    GuardFrame frame;
    frame.outer = state.innermost;
    state.innermost = &frame;
    // sigsetjmp must be called in this frame, which stays alive while the work runs. The signal
    // mask needs no saving: the handler runs with SA_NODEFER, so a jump leaves it as it was.
    if (sigsetjmp(frame.jump, 0) == 0) {
        aWork();
        state.innermost = frame.outer;
        return true;
    }
    state.innermost = frame.outer;
    // One capture and its report at a time, whichever thread faulted.
    QMutexLocker lock(&sReportMutex);
    captureFault(frame.context);
    logMessage(faultReport().c_str());
    return false;
}
