# Checks the folder layering of the sources: cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
#
# Each top-level folder of the sources is a layer and may include only from the layers listed
# for it below (and from itself). Backend folders (the code behind a seam, named after what it
# runs on) may be included only from within themselves and from "backends", the one place that
# chooses them. The rules are written here and nowhere else; a violation names the file, the
# line and the rule, and fails the check.

cmake_minimum_required(VERSION 3.25)

# Layer: the layers it may include from. Lower layers come first.
set(LAYER_app "")
set(LAYER_settings "app")
set(LAYER_tracks "app;settings")
set(LAYER_library "app;settings;tracks")
set(LAYER_devices "app;settings;tracks")
set(LAYER_backup "app;settings;tracks")
set(LAYER_sync "app;settings;tracks;library;devices;backup")
set(LAYER_backends "app;settings;tracks;library;devices;backup;sync")
set(LAYER_cli "app;settings;tracks;library;devices;backup;sync;backends")
set(LAYER_ui "app;settings;tracks;library;devices;backup;sync;backends")
set(LAYER_extract "app;backup")

# Folders behind a seam: only the folder itself and "backends" may include them.
set(BACKEND_FOLDERS
    "devices/usbms/linux"
    "devices/mtp/libmtp"
    "library/itunes/xml"
    "sync/logind"
)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckLayers: give the sources with -DSOURCE_DIR=<folder>")
endif()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations "")
set(checked 0)
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" layer "${source}")
    get_filename_component(folder "${source}" DIRECTORY)
    if(layer STREQUAL source)
        continue() # a file at the top of the sources belongs to no layer
    endif()
    if(NOT DEFINED LAYER_${layer})
        string(APPEND violations "  ${source}: folder \"${layer}\" is in no layer (add it to CheckLayers.cmake)\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
        string(REGEX MATCH "^[^/]+" target "${included}")
        if(target STREQUAL included)
            continue() # a header beside the file, or a generated one
        endif()
        math(EXPR checked "${checked} + 1")
        if(NOT target STREQUAL layer AND NOT target IN_LIST LAYER_${layer})
            string(APPEND violations "  ${source}: includes \"${included}\": ${layer}/ may not include from ${target}/\n")
        endif()
        foreach(backend IN LISTS BACKEND_FOLDERS)
            string(FIND "${included}" "${backend}/" at)
            if(at EQUAL 0 AND NOT layer STREQUAL "backends")
                string(FIND "${folder}/" "${backend}/" inside)
                if(NOT inside EQUAL 0)
                    string(APPEND violations "  ${source}: includes \"${included}\": the backend ${backend}/ is chosen only in backends/\n")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    message(FATAL_ERROR "Includes against the layering (app <- settings <- tracks <- {library, devices, backup} <- sync <- backends <- {cli, ui}):\n${violations}")
endif()
message(STATUS "Layering: ${checked} includes between folders checked, none against the rules")
