// The main function of every test executable: the test environment, a Qt application object for
// signals, timers and processes, then GoogleTest.
#include <QCoreApplication>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>

// A test program's own preparation before anything else runs (one that must run under a preload
// library re-executes itself here).
extern "C" __attribute__((weak)) void veltraneBeforeTests(int, char**) {}
// The application object of a test program: a QCoreApplication unless the program makes another
// (the widget tests make a QApplication).
__attribute__((weak)) QCoreApplication* veltraneCreateApplication(int& aArgc, char** aArgv)
{
    return new QCoreApplication(aArgc, aArgv);
}

int main(int argc, char** argv)
{
    veltraneBeforeTests(argc, argv);
    // Never the real home folder; dates in one time zone; widgets without a display.
    setenv("HOME", VELTRANE_TEST_HOME, 1);
    setenv("XDG_CONFIG_HOME", VELTRANE_TEST_HOME "/.config", 1);
    setenv("XDG_DATA_HOME", VELTRANE_TEST_HOME "/.local/share", 1);
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::unique_ptr<QCoreApplication> application(veltraneCreateApplication(argc, argv));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Qt scales large images on its global thread pool; its idle threads must be gone before the
    // leak checker stops the process to look at it.
    QThreadPool::globalInstance()->waitForDone();
    return result;
}

// Sanitizer settings of every test program; one may define its own in place of these.
extern "C" __attribute__((weak)) const char* __asan_default_options()
{
    return "allocator_may_return_null=0";
}
// The leak checker of this compiler can crash at exit reading the thread-local blocks of loaded
// libraries (seen after Qt's image and SQL plugins were loaded): thread-local memory is not
// scanned, and GLib's per-thread data, which only a thread-local block points to, is not counted
// as a leak, nor the loader's bookkeeping for loaded libraries.
extern "C" __attribute__((weak)) const char* __lsan_default_options()
{
    return "use_tls=0";
}
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions()
{
    return "leak:libglib-2.0.so\nleak:_dl_map_object_deps\n";
}
extern "C" __attribute__((weak)) const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}
