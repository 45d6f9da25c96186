# Cross build for 32-bit Windows with Debian's MinGW-w64 (i686), tested under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(ZZ_MINGW_TRIPLET i686-w64-mingw32)
# The posix thread model gives the full standard thread library; with -static its runtime is linked in.
set(CMAKE_C_COMPILER ${ZZ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZZ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZZ_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZZ_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every .exe and .dll carries its C and C++ runtime, so Wine (and the editor) need no MinGW DLLs.
set(ZZ_MINGW_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${ZZ_MINGW_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${ZZ_MINGW_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${ZZ_MINGW_STATIC_RUNTIME}")

# Test programs and try_run go through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
