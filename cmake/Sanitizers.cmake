# ZZ_SANITIZE: comma-separated sanitizers (e.g. "address,undefined") applied to every target of the
# build, tests included. Any finding aborts the program so that CTest reports it as a failure.
set(ZZ_SANITIZE "" CACHE STRING "Sanitizers for the whole build, e.g. address,undefined")

if(ZZ_SANITIZE)
  if(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "ZZ_SANITIZE is for the native build only")
  endif()
  set(ZZ_SANITIZER_FLAGS -fsanitize=${ZZ_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${ZZ_SANITIZER_FLAGS})
  # GCC's instrumentation makes this warning fire inside the standard library (std::regex,
  # std::function); the native build still checks it.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
  add_link_options(${ZZ_SANITIZER_FLAGS})
  message(STATUS "Sanitizers: ${ZZ_SANITIZE}")
endif()
