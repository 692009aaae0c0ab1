# Installs the build into a folder of its own and checks what a desktop gets: the programs, the
# translations where the program looks for them, the user's guide in each language, the .desktop
# file and the icon at a fixed and at any size.
# Usage: cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(expected
        bin/veltrane bin/veltrane-sync bin/veltrane-extract
        share/veltrane/translations/translation_fr.qm share/veltrane/translations/translation_de.qm
        share/veltrane/guide/en/index.html share/veltrane/guide/de/index.html share/veltrane/guide/fr/index.html
        share/applications/veltrane.desktop share/icons/hicolor/256x256/apps/veltrane.png
        share/icons/hicolor/scalable/apps/veltrane.svg)
    if(NOT EXISTS "${PREFIX}/${expected}")
        message(FATAL_ERROR "not installed: ${expected}")
    endif()
endforeach()
file(READ "${PREFIX}/share/applications/veltrane.desktop" desktop)
if(NOT desktop MATCHES "Exec=veltrane\n" OR NOT desktop MATCHES "Icon=veltrane\n")
    message(FATAL_ERROR "the .desktop file doesn't start veltrane with its icon")
endif()
message(STATUS "installed: programs, translations, guide, .desktop file and icons")
