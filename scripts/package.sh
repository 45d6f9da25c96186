#!/usr/bin/env bash
# Builds the release packages into build/packages/ and checks them (scripts/check-packages.sh):
#   Zizozudu-<version>-win32.zip   the plug-in for the editor (i686 MinGW-w64 Release build)
#   zizozudu_<version>_amd64.deb   the zizozudu tool with its man page (native Release build)
# Each has a Release build folder of its own (build/release-win32, build/release-native), without
# tests or benchmarks. Warnings are errors as in CI; ZZ_WERROR=OFF scripts/package.sh for a compiler
# that warns of new things.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/install-deps.sh

jobs=${ZZ_PACKAGE_JOBS:-$(nproc)}
packages="$root/build/packages"
common=(-G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DZZ_BUILD_TESTS=OFF -DZZ_BUILD_BENCH=OFF
        "-DZZ_WERROR=${ZZ_WERROR:-ON}" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON)
mkdir -p "$packages"
# Only the targets a package holds are built (CPack then installs without building everything).

# The DLL is built with -g so that its debug information can go into the .debug file beside it.
cmake -S . -B build/release-win32 "${common[@]}" --toolchain "$root/cmake/toolchain-i686-w64-mingw32.cmake" \
  "-DCMAKE_C_FLAGS_RELEASE=-O3 -DNDEBUG -g" "-DCMAKE_CXX_FLAGS_RELEASE=-O3 -DNDEBUG -g" >/dev/null
cmake --build build/release-win32 --target zz_plugin_release -j "$jobs"
(cd build/release-win32 && cpack -G ZIP -D CPACK_OUTPUT_FILE_PREFIX="$packages" >/dev/null)

cmake -S . -B build/release-native "${common[@]}" -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release-native --target zizozudu zz_man_page -j "$jobs"
(cd build/release-native && cpack -G DEB -D CPACK_OUTPUT_FILE_PREFIX="$packages" >/dev/null)

version=$(sed -n -E 's/^project\(Zizozudu VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
scripts/check-packages.sh "$packages/Zizozudu-$version-win32.zip" "$packages/zizozudu_${version}_amd64.deb"
ls -l "$packages"
