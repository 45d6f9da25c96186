# The header-only libraries the stand-in, the tool and the reader use (nlohmann/json, CLI11, Boost)
# come from the build machine's /usr/include. A cross build cannot put /usr/include on its include
# path (glibc's headers would shadow MinGW's), so it gets package files of its own that expose just
# those libraries' folders.
# `find_package(nlohmann_json)` and `find_package(CLI11)` then work the same for both targets.

function(zz_host_header_package package target header_dir version_file)
  if(NOT EXISTS /usr/include/${header_dir} OR NOT EXISTS ${version_file})
    return()  # not installed: find_package fails as usual
  endif()
  set(root ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${root}/include ${root}/${package})
  file(CREATE_LINK /usr/include/${header_dir} ${root}/include/${header_dir} SYMBOLIC)
  file(COPY_FILE ${version_file} ${root}/${package}/${package}ConfigVersion.cmake)
  file(WRITE ${root}/${package}/${package}Config.cmake
    "if(NOT TARGET ${target})\n"
    "  add_library(${target} INTERFACE IMPORTED)\n"
    "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES \"${root}/include\")\n"
    "endif()\n")
  set(${package}_DIR ${root}/${package} CACHE PATH "Header-only ${package} from the build machine" FORCE)
endfunction()

zz_host_header_package(nlohmann_json nlohmann_json::nlohmann_json nlohmann
  /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
zz_host_header_package(CLI11 CLI11::CLI11 CLI /usr/share/cmake/CLI11/CLI11ConfigVersion.cmake)

# Boost: the headers only (the reader's polygon library).
file(GLOB ZZ_BOOST_VERSION_FILES /usr/lib/*/cmake/Boost-*/BoostConfigVersion.cmake)
if(ZZ_BOOST_VERSION_FILES)
  list(GET ZZ_BOOST_VERSION_FILES 0 ZZ_BOOST_VERSION_FILE)
  zz_host_header_package(Boost Boost::headers boost ${ZZ_BOOST_VERSION_FILE})
endif()
