// The software phone's tests run with umockdev's preload library in front of libc: the program
// starts itself again with it when it was started without. The testbed exists before anything
// starts libusb.
#include "devices/mtp/libmtp/SoftwarePhone.h"

extern "C" void veltraneBeforeTests(int, char** argv)
{
    SoftwarePhone::runUnderUmockdev(argv);
}

// The sanitizer's runtime can't come first when a preload library does; glib's and libusb's
// allocations that live as long as the process are not leaks of ours.
extern "C" const char* __asan_default_options()
{
    return "verify_asan_link_order=0:allocator_may_return_null=0";
}
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libglib-2.0\nleak:libgobject-2.0\nleak:libgio-2.0\nleak:libumockdev\nleak:libusb-1.0\nleak:"
           "libmtp\n"
           "leak:libudev\nleak:_dl_map_object_deps\n";
}
