# Installation and the Debian package: `cmake --install build` puts the programs,
# the manual page, the desktop integration and the pictures under the prefix;
# `cpack` (in the build folder) makes mireforge_<version>_<arch>.deb of the same.
include(GNUInstallDirs)

set(MIREFORGE_APP_ID org.mireforge.Mireforge)
set(MIREFORGE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

# --- command-line tool and its manual page -----------------------------------
install(TARGETS mireforge-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The page is written from the CLI's own option tables, like its --help.
add_executable(mireforge-man ${MIREFORGE_PACKAGING_DIR}/man_page.cpp)
target_link_libraries(mireforge-man PRIVATE mireforge_cli_lib)
set(MIREFORGE_MAN_PAGE ${CMAKE_BINARY_DIR}/man/mireforge-cli.1)
find_program(MIREFORGE_GZIP gzip)
if(MIREFORGE_GZIP)
  # -n keeps the name and time out of the archive, so the package is reproducible.
  add_custom_command(OUTPUT ${MIREFORGE_MAN_PAGE}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND mireforge-man ${MIREFORGE_MAN_PAGE}
    COMMAND ${MIREFORGE_GZIP} -9nf ${MIREFORGE_MAN_PAGE}
    DEPENDS mireforge-man
    COMMENT "Writing the manual page of mireforge-cli")
  set(MIREFORGE_MAN_FILE ${MIREFORGE_MAN_PAGE}.gz)
else()
  add_custom_command(OUTPUT ${MIREFORGE_MAN_PAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND mireforge-man ${MIREFORGE_MAN_PAGE}
    DEPENDS mireforge-man
    COMMENT "Writing the manual page of mireforge-cli")
  set(MIREFORGE_MAN_FILE ${MIREFORGE_MAN_PAGE})
endif()
add_custom_target(mireforge-man-page ALL DEPENDS ${MIREFORGE_MAN_FILE})
install(FILES ${MIREFORGE_MAN_FILE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian's own files: the licence in the machine-readable format, the package's
# changelog, and the editor's manual page, compressed reproducibly like the CLI's.
set(MIREFORGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mireforge)
install(FILES ${MIREFORGE_PACKAGING_DIR}/copyright DESTINATION ${MIREFORGE_DOC_DIR})
configure_file(${MIREFORGE_PACKAGING_DIR}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian @ONLY)
configure_file(${MIREFORGE_PACKAGING_DIR}/mireforge.1 ${CMAKE_BINARY_DIR}/man/mireforge.1 @ONLY)
if(MIREFORGE_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz ${CMAKE_BINARY_DIR}/man/mireforge.1.gz
    COMMAND ${MIREFORGE_GZIP} -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog.Debian ${CMAKE_BINARY_DIR}/man/mireforge.1
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.Debian ${CMAKE_BINARY_DIR}/man/mireforge.1
    COMMENT "Compressing the package changelog and the editor's manual page")
  add_custom_target(mireforge-package-docs ALL
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz ${CMAKE_BINARY_DIR}/man/mireforge.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz DESTINATION ${MIREFORGE_DOC_DIR})
endif()

# --- desktop editor and its desktop integration --------------------------------
# The editor target exists exactly when the top-level build could make it
# (MIREFORGE_BUILD_GUI, its sources present, Qt 6 found).
if(TARGET mireforge)
  install(TARGETS mireforge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(MIREFORGE_GZIP)
    install(FILES ${CMAKE_BINARY_DIR}/man/mireforge.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES ${CMAKE_BINARY_DIR}/man/mireforge.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  install(FILES ${MIREFORGE_PACKAGING_DIR}/${MIREFORGE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${MIREFORGE_PACKAGING_DIR}/${MIREFORGE_APP_ID}.mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${MIREFORGE_APP_ID}.xml)
  configure_file(${MIREFORGE_PACKAGING_DIR}/${MIREFORGE_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/packaging/${MIREFORGE_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${MIREFORGE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/app/icon-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${MIREFORGE_APP_ID}.png)
  endforeach()
  # The actual view's own picture pack (the tile pictures are compiled in).
  if(EXISTS ${CMAKE_SOURCE_DIR}/resources/scene)
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/scene/
      DESTINATION ${CMAKE_INSTALL_DATADIR}/mireforge/scene FILES_MATCHING PATTERN "*.png")
  endif()
endif()

# Debian keeps documentation under the package name.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${MIREFORGE_DOC_DIR})

# --- Debian package -------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mireforge)
set(CPACK_PACKAGE_VENDOR "Mireforge")
set(CPACK_PACKAGE_CONTACT "Mireforge developers <mireforge@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "terrain map generator and editor for Midnight/MU")
# Lines of at most 80 characters, as Debian's tools expect.
set(CPACK_PACKAGE_DESCRIPTION
  "Mireforge generates terrain maps for the game Midnight/MU (plasma fractal,\n\
cEvo, heightmap import), lets you paint terrain and domains and name places,\n\
and exports the map to the game (PHP map file, SQL script) and to people\n\
(HTML page, images). mireforge-cli generates, converts and exports maps\n\
without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# A Debian revision, so the changelog is changelog.Debian.gz as for any packaged upstream.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # mireforge_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/mireforge")
# Library dependencies are read from the programs themselves; Qt loads its
# window-system plugin at run time, which no linker dependency reveals.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET mireforge)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, hicolor-icon-theme")
endif()
include(CPack)

# --- checks -----------------------------------------------------------------------
if(MIREFORGE_BUILD_TESTS)
  add_test(NAME packaging.man_page_matches_help
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/packaging/check_man_page.sh
      $<TARGET_FILE:mireforge-man> $<TARGET_FILE:mireforge-cli>)
  find_program(MIREFORGE_DPKG_DEB dpkg-deb)
  find_program(MIREFORGE_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(MIREFORGE_DPKG_DEB AND MIREFORGE_DPKG_SHLIBDEPS AND TARGET mireforge)
    add_test(NAME packaging.deb_contents
      COMMAND sh ${CMAKE_SOURCE_DIR}/tests/packaging/check_package.sh --build ${CMAKE_BINARY_DIR})
    # cpack reinstalls the whole build; running it beside other tests only slows both.
    set_tests_properties(packaging.deb_contents PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
  endif()
endif()
