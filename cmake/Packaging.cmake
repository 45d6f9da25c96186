# What a user installs, and the packages scripts/package.sh makes with CPack:
#   native build:  the zizozudu tool, its man page and the license (`cmake --install`, a .deb);
#   Windows build: Zizozudu.dll without debug information, that information in Zizozudu.dll.debug
#                  beside it, an install text and the license (a .zip).
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
  add_custom_target(zz_plugin_release ALL DEPENDS ${dist}/Zizozudu.dll ${dist}/Zizozudu.dll.debug)

  # Plain texts for Windows: CR LF line ends.
  configure_file(${PROJECT_SOURCE_DIR}/win32/INSTALL.txt.in ${dist}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${dist}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${dist}/Zizozudu.dll ${dist}/Zizozudu.dll.debug ${dist}/INSTALL.txt ${dist}/LICENSE.txt
          DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Zizozudu-${PROJECT_VERSION}-win32)
elseif(NOT CMAKE_CROSSCOMPILING AND TARGET zizozudu)
  install(TARGETS zizozudu RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zizozudu RENAME copyright)

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
  # The long description; CPack puts the summary above it and indents it.
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "zizozudu reads one Gerber photoplot file (RS-274-X, or RS-274-D with its aperture table)\n"
      "through the Zizozudu importer into an in-memory board and reports, dumps (JSON) and draws\n"
      "(SVG) that board.")
  # The library packages the tool links against, found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
