# What `cmake --install` puts where, and the packages CPack makes of it: a Debian package on
# Linux, a zip from the MinGW build.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
# The package's Maintainer field; a packager sets their own.
set(TARNWICK_MAINTAINER "The Tarnwick developers <tarnwick@example.org>" CACHE STRING
    "Maintainer of the packages: Name <address>")
set(CPACK_PACKAGE_CONTACT "${TARNWICK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measure how well a chess engine solves EPD test suites")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # One folder to unzip anywhere: the programs at the top, the sample suite beside them.
  install(TARGETS tarnwick RUNTIME DESTINATION .)
  if(TARGET tarnwick-testengine)
    install(TARGETS tarnwick-testengine RUNTIME DESTINATION .)
  endif()
  install(FILES packaging/README.txt DESTINATION .)
  install(FILES examples/sample.epd DESTINATION examples)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tarnwick-${PROJECT_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  # Debian keeps the programs of its games section in /usr/games, so an install into /usr, as
  # the Debian package makes, puts it there; any other prefix gets the usual bin/.
  install(CODE "
    if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
      set(TARNWICK_BINDIR games)
    else()
      set(TARNWICK_BINDIR ${CMAKE_INSTALL_BINDIR})
    endif()")
  install(TARGETS tarnwick RUNTIME DESTINATION \${TARNWICK_BINDIR})
  # The bundled engine is a helper of this package, not a command of its own.
  if(TARGET tarnwick-testengine)
    install(TARGETS tarnwick-testengine RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tarnwick)
  endif()

  # Debian keeps man pages gzipped, without a time stamp so the package builds reproducibly.
  find_program(GZIP_PROGRAM gzip)
  if(GZIP_PROGRAM)
    set(man_page ${CMAKE_BINARY_DIR}/tarnwick.1.gz)
    add_custom_command(OUTPUT ${man_page}
      COMMAND sh -c "\"$1\" -9n -c \"$2\" > \"$3\"" gzip ${GZIP_PROGRAM}
              ${CMAKE_SOURCE_DIR}/docs/tarnwick.1 ${man_page}
      DEPENDS ${CMAKE_SOURCE_DIR}/docs/tarnwick.1 VERBATIM)
    add_custom_target(tarnwick-man-page ALL DEPENDS ${man_page})
  else()
    set(man_page ${CMAKE_SOURCE_DIR}/docs/tarnwick.1)
  endif()
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  install(FILES README.md docs/engines.md packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES examples/sample.epd DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  install(DIRECTORY examples/engines DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
          FILES_MATCHING PATTERN "*.eng")

  # A native package's changelog, in Debian's format, for the version being built.
  string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
      COMMAND ${GZIP_PROGRAM} -9nf ${CMAKE_BINARY_DIR}/changelog -k
      DEPENDS ${CMAKE_BINARY_DIR}/changelog VERBATIM)
    add_custom_target(tarnwick-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
    install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tarnwick starts a chess engine as a child process, speaks UCI or the
xboard/WinBoard protocol with it, gives it a fixed time per EPD test
position, scores the engine's moves against the positions' best and avoid
moves, and reports how many positions it solved and how fast.
.
A small bundled engine for trying it out is in /usr/libexec/tarnwick.")
endif()

include(CPack)
