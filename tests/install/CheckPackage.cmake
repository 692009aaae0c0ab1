# Makes the Debian package from the build and checks it: the files a Debian desktop expects (the
# programs in /usr/bin, compressed manual pages, bash completion, AppStream data, the desktop
# entry and icons, the changelog and copyright), no test data, the Depends line (the libraries
# found by dpkg-shlibdeps and what the programs load or run), and the validators of the desktop
# entry and the AppStream data. Prints "SKIPPED: ..." where dpkg-deb is missing.
# Usage: cmake -DBUILD_DIR=... -DOUT_DIR=... -P CheckPackage.cmake
find_program(DPKG_DEB dpkg-deb)
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NOT DPKG_DEB OR NOT DPKG_SHLIBDEPS)
    message(STATUS "SKIPPED: dpkg-deb or dpkg-shlibdeps is missing (Debian's dpkg-dev): no package made")
    return()
endif()
file(REMOVE_RECURSE "${OUT_DIR}")
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB packages "${OUT_DIR}/veltrane_*_*.deb")
if(NOT result EQUAL 0 OR NOT packages)
    message(FATAL_ERROR "cpack made no veltrane_<version>_<arch>.deb (${result}):\n${output}")
endif()
list(GET packages 0 package)

execute_process(COMMAND ${DPKG_DEB} --contents "${package}" OUTPUT_VARIABLE contents)
foreach(expected
        ./usr/bin/veltrane ./usr/bin/veltrane-sync ./usr/bin/veltrane-extract
        ./usr/share/man/man1/veltrane.1.gz ./usr/share/man/man1/veltrane-sync.1.gz
        ./usr/share/man/man1/veltrane-extract.1.gz
        ./usr/share/bash-completion/completions/veltrane-sync
        ./usr/share/metainfo/org.veltrane.Veltrane.metainfo.xml
        ./usr/share/applications/veltrane.desktop
        ./usr/share/icons/hicolor/scalable/apps/veltrane.svg ./usr/share/icons/hicolor/256x256/apps/veltrane.png
        ./usr/share/veltrane/translations/translation_de.qm ./usr/share/veltrane/guide/en/index.html
        ./usr/share/doc/veltrane/copyright ./usr/share/doc/veltrane/changelog.gz)
    string(FIND "${contents}" " ${expected}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "not in the package: ${expected}\n${contents}")
    endif()
endforeach()
foreach(unexpected "/usr/local/" "tests/data" ".ipd\n" ".sqlite\n" "/test_")
    string(FIND "${contents}" "${unexpected}" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "the package holds what it shouldn't (${unexpected}):\n${contents}")
    endif()
endforeach()

execute_process(COMMAND ${DPKG_DEB} --field "${package}" Depends OUTPUT_VARIABLE depends)
foreach(dependency libqt6widgets6 libqt6sql6-sqlite libmtp9 libmtp-common libtag1v5 libplist3 ffmpeg p7zip-full)
    if(NOT depends MATCHES "(^|, )${dependency}( |,|\n|$)")
        message(FATAL_ERROR "Depends lacks ${dependency}: ${depends}")
    endif()
endforeach()

# The validators, where they are installed.
set(unpacked "${OUT_DIR}/unpacked")
execute_process(COMMAND ${DPKG_DEB} --extract "${package}" "${unpacked}")
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${unpacked}/usr/share/applications/veltrane.desktop"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR output MATCHES "error|warning")
        message(FATAL_ERROR "desktop-file-validate: ${output}")
    endif()
endif()
if(APPSTREAMCLI)
    execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
                            "${unpacked}/usr/share/metainfo/org.veltrane.Veltrane.metainfo.xml"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "appstreamcli validate: ${output}")
    endif()
endif()
message(STATUS "package ${package}: files, Depends and validators as expected")
