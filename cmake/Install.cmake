# What `cmake --install` puts under the prefix, and the Debian package made from the
# same rules (`cpack -G DEB` in the build folder). The icon and the manual pages are
# made at build time, so an install only copies.
include(GNUInstallDirs)

set(ORLIMO_PROGRAMS orlimo orlimo-console gpssim nmeadump)
# Always bin/: src/session/file_places.cpp knows an installed program by <prefix>/bin.
install(TARGETS ${ORLIMO_PROGRAMS} RUNTIME DESTINATION bin)

install(FILES packaging/orlimo.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES packaging/example.quorvex.orlimo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The icon at the sizes of the hicolor theme.
set(ORLIMO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_dir ${CMAKE_BINARY_DIR}/packaging/icons)
set(icon_files)
foreach(size IN LISTS ORLIMO_ICON_SIZES)
  set(icon ${icon_dir}/${size}x${size}/apps/orlimo.png)
  list(APPEND icon_files ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(
  OUTPUT ${icon_files}
  COMMAND icon-render ${icon_dir} ${ORLIMO_ICON_SIZES}
  DEPENDS icon-render
  COMMENT "Drawing the program's icon"
  VERBATIM)
add_custom_target(orlimo_icons ALL DEPENDS ${icon_files})

# Manual pages from each program's --help (help2man), with the sections --help
# lacks from packaging/man/<program>.h2m. The page is written under a temporary
# name and renamed, so a stopped build never leaves half a page.
find_program(ORLIMO_HELP2MAN help2man)
find_program(ORLIMO_GZIP gzip)
if(ORLIMO_HELP2MAN AND ORLIMO_GZIP)
  set(man_dir ${CMAKE_BINARY_DIR}/packaging/man)
  set(man_pages)
  foreach(program IN LISTS ORLIMO_PROGRAMS)
    set(help ${man_dir}/${program}-help)
    set(page ${man_dir}/${program}.1.gz)
    file(GENERATE OUTPUT ${help}
      CONTENT "#!/bin/sh\n\"$<TARGET_FILE:${program}>\" \"$@\" | sed -E -f \"${PROJECT_SOURCE_DIR}/packaging/man/help.sed\"\n"
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    add_custom_command(
      OUTPUT ${page}
      COMMAND ${ORLIMO_HELP2MAN} --no-info --section=1
              --include=${PROJECT_SOURCE_DIR}/packaging/man/${program}.h2m
              --output=${man_dir}/${program}.1.part ${help}
      COMMAND ${ORLIMO_GZIP} -9nf ${man_dir}/${program}.1.part
      COMMAND ${CMAKE_COMMAND} -E rename ${man_dir}/${program}.1.part.gz ${page}
      DEPENDS ${program} ${help} packaging/man/${program}.h2m packaging/man/help.sed
      COMMENT "Writing the manual page of ${program}"
      VERBATIM)
    list(APPEND man_pages ${page})
  endforeach()
  add_custom_target(orlimo_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man or gzip not found: no manual pages are made or installed")
endif()

# The Debian package: cpack -G DEB. Its dependencies come from the libraries the
# programs link (dpkg-shlibdeps); what Qt loads at run time is named by hand.
set(CPACK_PACKAGE_NAME orlimo)
set(CPACK_PACKAGE_VENDOR "Quorvex")
set(CPACK_PACKAGE_CONTACT "Orlimo developers <orlimo@quorvex.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor and test a GPS receiver on a serial line")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Orlimo shows a GPS receiver on a serial line (USB-serial adapter, USB\n"
  "receiver, Bluetooth serial port, UART) live: position, signal bars with a\n"
  "satellite table, sky view, speed and course, and a monitor of every NMEA\n"
  "sentence. It finds the receiver's baud rate, identifies its firmware,\n"
  "restarts it and logs raw NMEA.\n"
  "\n"
  "The package also holds orlimo-console (the same session as text), gpssim\n"
  "(a simulated receiver on a pseudo-terminal) and nmeadump (NMEA logs to JSON).")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.quorvex.example/")
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)  # also in src/session/CMakeLists.txt
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs Qt's platform plugins and the Arial and Courier New look-alikes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-comic-neue")
include(CPack)
