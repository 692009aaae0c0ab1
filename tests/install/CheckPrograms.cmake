# Each program answers --version with its name and version (exit 0) and refuses an option it
# doesn't know with its code for bad arguments, without a display.
# Usage: cmake -DPROGRAM_DIR=... -DVERSION=... -P CheckPrograms.cmake
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{HOME} "${PROGRAM_DIR}/programs-check-home")
file(MAKE_DIRECTORY "$ENV{HOME}")
# veltrane-extract's code 1 is its bad arguments (2 is an encrypted backup).
foreach(program_and_code veltrane:2 veltrane-sync:2 veltrane-extract:1)
    string(REPLACE ":" ";" pair ${program_and_code})
    list(GET pair 0 program)
    list(GET pair 1 bad_arguments)
    execute_process(COMMAND "${PROGRAM_DIR}/${program}" --version
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_QUIET)
    if(NOT result EQUAL 0 OR NOT output STREQUAL "${program} ${VERSION}\n")
        message(FATAL_ERROR "${program} --version: ${result} '${output}'")
    endif()
    execute_process(COMMAND "${PROGRAM_DIR}/${program}" --no-such-option
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE output)
    if(NOT result EQUAL ${bad_arguments} OR NOT output MATCHES "no-such-option|usage")
        message(FATAL_ERROR "${program} --no-such-option: ${result} '${output}'")
    endif()
endforeach()
message(STATUS "--version and an unknown option: as expected")
