# What a user installs, and the packages scripts/package.sh makes with CPack:
#   native build:  the zizozudu tool, its man page and the license (`cmake --install`, a .deb);
#   Windows build: Zizozudu.dll without debug information, that information in Zizozudu.dll.debug
#                  beside it, zizozudu.exe, an install text and the license (a .zip).
# Test programs, benchmarks and the Wine host programs are never installed.
include(GNUInstallDirs)

set(CPACK_PACKAGE_VENDOR "the Zizozudu developers")
set(CPACK_PACKAGE_CONTACT "the Zizozudu developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Gerber importer of a PCB design editor, and a tool that runs it")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

if(TARGET Zizozudu)
  # The DLL the tests load keeps its debug information; the installed one gets a stripped copy that
  # names its debug file (.gnu_debuglink), so a debugger finds the symbols when the file is beside it.
  set(dist ${CMAKE_BINARY_DIR}/plugin-release)
  file(MAKE_DIRECTORY ${dist})
  add_custom_command(
    OUTPUT ${dist}/Zizozudu.dll ${dist}/Zizozudu.dll.debug
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:Zizozudu> Zizozudu.dll.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=Zizozudu.dll.debug $<TARGET_FILE:Zizozudu> Zizozudu.dll
    DEPENDS Zizozudu
    WORKING_DIRECTORY ${dist}
    COMMENT "Splitting the debug information off Zizozudu.dll"
    VERBATIM)
  set(zz_release_files ${dist}/Zizozudu.dll ${dist}/Zizozudu.dll.debug)
  if(TARGET zizozudu)
    # The tool beside the plug-in, stripped: its debug information stays in the build.
    add_custom_command(
      OUTPUT ${dist}/zizozudu.exe
      COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:zizozudu> zizozudu.exe
      DEPENDS zizozudu
      WORKING_DIRECTORY ${dist}
      COMMENT "Stripping zizozudu.exe"
      VERBATIM)
    list(APPEND zz_release_files ${dist}/zizozudu.exe)
  endif()
  add_custom_target(zz_plugin_release ALL DEPENDS ${zz_release_files})

  # Plain texts for Windows: CR LF line ends.
  configure_file(${PROJECT_SOURCE_DIR}/win32/INSTALL.txt.in ${dist}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${dist}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${zz_release_files} ${dist}/INSTALL.txt ${dist}/LICENSE.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Zizozudu-${PROJECT_VERSION}-win32)
elseif(NOT CMAKE_CROSSCOMPILING AND TARGET zizozudu)
  install(TARGETS zizozudu RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # What Debian asks of a package's documentation folder: the copyright in machine-readable form
  # (the MIT license is "Expat" there) and the package's changelog, compressed without a time stamp;
  # changelog.gz, not changelog.Debian.gz: the package is native, its version has no Debian revision.
  set(ZZ_DEB_MAINTAINER "Zizozudu developers <zizozudu@example.org>")
  set(debdoc ${CMAKE_BINARY_DIR}/debian-doc)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE ZZ_DEB_LICENSE)
  string(REGEX REPLACE "\n+$" "" ZZ_DEB_LICENSE "${ZZ_DEB_LICENSE}")
  string(REPLACE "\n\n" "\n.\n" ZZ_DEB_LICENSE "${ZZ_DEB_LICENSE}")
  string(REPLACE "\n" "\n " ZZ_DEB_LICENSE " ${ZZ_DEB_LICENSE}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in ${debdoc}/copyright @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog
               ${PROJECT_SOURCE_DIR}/LICENSE)
  execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/cmake/debian/changelog
                  OUTPUT_FILE ${debdoc}/changelog.gz RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip of cmake/debian/changelog failed (${status})")
  endif()
  install(FILES ${debdoc}/copyright ${debdoc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zizozudu)

  find_program(ZZ_HELP2MAN help2man)
  if(ZZ_HELP2MAN)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/zizozudu.1.gz)
    add_custom_command(
      OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:zizozudu> -DOUT=${page}
              -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
      DEPENDS zizozudu ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
      COMMENT "Writing the man page of zizozudu"
      VERBATIM)
    add_custom_target(zz_man_page ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(STATUS "help2man not found: no man page for zizozudu (scripts/install-deps.sh installs it)")
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_PACKAGE_NAME zizozudu)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZZ_DEB_MAINTAINER}")
  # The long description; CPack puts the summary above it and indents it.
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "zizozudu reads Gerber photoplot files (RS-274-X, or RS-274-D with its\n"
      "aperture table) through the Zizozudu importer into an in-memory board, and\n"
      "reports, dumps (JSON) and draws (SVG) that board. Several files, or a folder\n"
      "of them, go each on the layer the file says.")
  # The library packages the tool links against, found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
