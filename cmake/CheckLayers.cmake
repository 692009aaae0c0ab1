# Checks the folder layering of the sources: cmake -DSOURCE_DIR=<src> [-DLIBRARIES=<file>] -P CheckLayers.cmake
#
# Each top-level folder of the sources is a layer and may include only from the layers listed
# for it below (and from itself). Backend folders (the code behind a seam, named after what it
# runs on) may be included only from within themselves and from "backends", the one place that
# chooses them. The rules are written here and nowhere else; a violation names the file, the
# line and the rule, and fails the check.
#
# With LIBRARIES (a file the build writes: each library's SOURCES_<name> and LINKS_<name>), the
# libraries are checked too: each holds only the folders given for it below, links only
# libraries of ours whose folders its own folders may include (so the link graph only looks
# down), and only the backends library links what the backends run on.

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
    "sync/freedesktop"
    "sync/logind"
)

# Library: the folders it holds (backend folders belong to the backends library).
set(LIBRARY_veltrane_base "app;settings;tracks")
set(LIBRARY_veltrane_backup "backup")
set(LIBRARY_veltrane_engine "library;devices;sync")
set(LIBRARY_veltrane_backends "backends;${BACKEND_FOLDERS}")
set(LIBRARY_veltrane_extract "extract")
set(LIBRARY_veltrane_ui "ui")
# What only the backends library links: the libraries the backends run on.
set(BACKEND_LINKS "Qt6::DBus;PkgConfig::TagLib;PkgConfig::LibMtp;PkgConfig::LibUsb")

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

# The folder of a source file within the sources, and the library that should hold it.
function(library_of_source source result)
    set(best "")
    set(best_length 0)
    foreach(library veltrane_base veltrane_backup veltrane_engine veltrane_backends veltrane_extract veltrane_ui)
        foreach(folder IN LISTS LIBRARY_${library})
            string(FIND "${source}/" "${folder}/" at)
            string(LENGTH "${folder}" length)
            if(at EQUAL 0 AND length GREATER best_length)
                set(best "${library}")
                set(best_length ${length})
            endif()
        endforeach()
    endforeach()
    set(${result} "${best}" PARENT_SCOPE)
endfunction()

if(LIBRARIES)
    include("${LIBRARIES}")
    set(libraries_checked 0)
    foreach(library veltrane_base veltrane_backup veltrane_engine veltrane_backends veltrane_extract veltrane_ui)
        math(EXPR libraries_checked "${libraries_checked} + 1")
        foreach(source IN LISTS SOURCES_${library})
            set(relative "${source}")
            if(IS_ABSOLUTE "${source}")
                file(RELATIVE_PATH relative "${SOURCE_DIR}" "${source}")
                string(FIND "${relative}" "../" outside)
                if(outside EQUAL 0)
                    continue() # generated in the build tree
                endif()
            endif()
            library_of_source("${relative}" owner)
            if(NOT owner STREQUAL library)
                string(APPEND violations "  ${library}: holds ${relative}, which belongs to ${owner}\n")
            endif()
        endforeach()
        foreach(link IN LISTS LINKS_${library})
            if(link IN_LIST BACKEND_LINKS AND NOT library STREQUAL "veltrane_backends")
                string(APPEND violations "  ${library}: links ${link}, which only the backends library may link\n")
            endif()
            if(NOT link MATCHES "^veltrane_" OR NOT DEFINED LIBRARY_${link})
                continue()
            endif()
            # Each folder of the linked library is one that some folder of this one may include.
            foreach(linked IN LISTS LIBRARY_${link})
                string(REGEX MATCH "^[^/]+" target "${linked}")
                set(allowed FALSE)
                foreach(folder IN LISTS LIBRARY_${library})
                    string(REGEX MATCH "^[^/]+" layer "${folder}")
                    if(target STREQUAL layer OR target IN_LIST LAYER_${layer})
                        set(allowed TRUE)
                    endif()
                endforeach()
                if(NOT allowed)
                    string(APPEND violations "  ${library}: links ${link}, whose ${target}/ none of its folders may include\n")
                endif()
            endforeach()
        endforeach()
    endforeach()
    message(STATUS "Layering: ${libraries_checked} libraries checked")
endif()

if(violations)
    message(FATAL_ERROR "Includes against the layering (app <- settings <- tracks <- {library, devices, backup} <- sync <- backends <- {cli, ui}):\n${violations}")
endif()
message(STATUS "Layering: ${checked} includes between folders checked, none against the rules")
