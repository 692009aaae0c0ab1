# The test build runs under AddressSanitizer and UndefinedBehaviorSanitizer; every target of the
# tree is instrumented so that the core library is checked through the tests.
option(VELTRANE_FUZZ "Build the fuzz targets (clang: libFuzzer, AddressSanitizer, UBSan)" OFF)
option(VELTRANE_TSAN "Build with ThreadSanitizer (clang; the threaded tests)" OFF)
if(VELTRANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
# The fuzz build: everything instrumented for coverage as well, the targets linked with libFuzzer.
if(VELTRANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VELTRANE_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(VELTRANE_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
    # Every program and test starts its processes in a way the sanitizer can follow.
    add_library(veltrane_tsan_process_start OBJECT ${CMAKE_CURRENT_LIST_DIR}/TsanProcessStart.cpp)
    target_link_libraries(veltrane_tsan_process_start PRIVATE ${CMAKE_DL_LIBS})
    link_libraries(veltrane_tsan_process_start)
endif()
