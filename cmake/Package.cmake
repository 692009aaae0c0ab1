# What the installed tree holds beyond the programs (manual pages, bash completion, AppStream
# data, the Debian changelog and copyright), and the Debian package CPack makes of it
# (scripts/package.sh): veltrane_<version>_<arch>.deb, installed under /usr.
include(GNUInstallDirs)
find_program(GZIP_PROGRAM gzip REQUIRED)

set(VELTRANE_HOMEPAGE "https://veltrane.example" CACHE STRING "The project's web page, named in the AppStream data")
set(VELTRANE_PROJECT_LICENSE "LicenseRef-proprietary")
set(VELTRANE_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)

# Compressed the way Debian wants them: best compression, no name or time stamp inside.
function(veltrane_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND ${GZIP_PROGRAM} -9nc ${source} > ${output}
        DEPENDS ${source} VERBATIM)
endfunction()

set(gzipped)
foreach(page veltrane veltrane-sync veltrane-extract)
    configure_file(${PROJECT_SOURCE_DIR}/doc/man/${page}.1 ${VELTRANE_PACKAGE_FILES}/${page}.1 @ONLY)
    veltrane_gzip(${VELTRANE_PACKAGE_FILES}/${page}.1 ${VELTRANE_PACKAGE_FILES}/${page}.1.gz)
    list(APPEND gzipped ${VELTRANE_PACKAGE_FILES}/${page}.1.gz)
    install(FILES ${VELTRANE_PACKAGE_FILES}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(VERSION ${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog ${VELTRANE_PACKAGE_FILES}/changelog @ONLY)
veltrane_gzip(${VELTRANE_PACKAGE_FILES}/changelog ${VELTRANE_PACKAGE_FILES}/changelog.gz)
list(APPEND gzipped ${VELTRANE_PACKAGE_FILES}/changelog.gz)
add_custom_target(veltrane_package_files ALL DEPENDS ${gzipped})

install(FILES ${VELTRANE_PACKAGE_FILES}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltrane)
install(FILES ${PROJECT_SOURCE_DIR}/src/cli/completion/veltrane-sync
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
configure_file(${PROJECT_SOURCE_DIR}/src/ui/desktop/veltrane.metainfo.xml.in
               ${VELTRANE_PACKAGE_FILES}/org.veltrane.Veltrane.metainfo.xml @ONLY)
install(FILES ${VELTRANE_PACKAGE_FILES}/org.veltrane.Veltrane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VENDOR "The Veltrane developers")
set(CPACK_PACKAGE_CONTACT "The Veltrane developers <team@veltrane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps a phone's music in step with an iTunes library")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrane reads an iTunes library (the XML file iTunes writes, often on
another computer's disk or a share) and copies what its playlists and
podcasts hold to an Android phone over MTP or to a USB music player,
converting AAC to MP3 when the device needs it; the next run copies only
the difference. It also carries contacts, messages, calendar, notes and
photos from iPhone and BlackBerry backups onto the new phone. The package
holds the window (veltrane) and its command-line twin (veltrane-sync).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELTRANE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link, as dpkg-shlibdeps finds them; then what they load or run:
# the SQLite driver of Qt, libmtp's udev rules (access to phones), ffmpeg and 7z.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libmtp-common, ffmpeg, p7zip-full")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, dbus-user-session")
include(CPack)
