# Warnings for the project's own code. Third-party code is never built with these. The presets and
# CI make them errors (ZZ_WERROR); a plain build of a release on another compiler should not fail on
# a warning that compiler newly invents.
option(ZZ_WERROR "Treat the project's compiler warnings as errors (on in the presets)" OFF)

function(zz_project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(ZZ_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # g++ 12's optimiser reports overlapping copies inside the standard library's string `+` that
    # cannot happen (a known false positive of that release); it stays a warning there.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict)
    endif()
  endif()
endfunction()

# What ships in the plug-in also keeps every stack frame small: the editor calls us on its UI thread.
# That limit is an error in every build, whatever ZZ_WERROR says.
function(zz_plugin_options target)
  zz_project_warnings(${target})
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${target} PRIVATE -Wframe-larger-than=16384 -Werror=frame-larger-than)
  else()
    target_compile_options(${target} PRIVATE -Wframe-larger-than=16384 -Werror=frame-larger-than=16384)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
