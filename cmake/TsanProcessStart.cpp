// ThreadSanitizer build only: QProcess starts its children with clone(CLONE_VM | CLONE_VFORK),
// which the sanitizer's clone interceptor (clang 14 to 16) cannot follow - every process start
// aborts with "CHECK failed ... !thr->slot". This clone starts the child as a copy instead, which
// the sanitizer handles like fork(); the child still only sets itself up and execs.
#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

extern "C" int clone(int (*function)(void*), void* stack, int flags, void* argument, ...)
{
    va_list rest;
    va_start(rest, argument);
    auto* parentTid = va_arg(rest, pid_t*);
    void* tls = va_arg(rest, void*);
    auto* childTid = va_arg(rest, pid_t*);
    va_end(rest);
    using Clone = int (*)(int (*)(void*), void*, int, void*, ...);
    static const auto realClone = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
    return realClone(function, stack, flags & ~(CLONE_VM | CLONE_VFORK), argument, parentTid, tls, childTid);
}
