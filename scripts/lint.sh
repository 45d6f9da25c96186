#!/usr/bin/env bash
# Style checks of the code we write by hand: clang-format on every C++ file of the plug-in, the
# stand-in, the tool and the reader, and clang-tidy (.clang-tidy) on those of their sources that the
# native build compiles (the Win32 seams are left to the compiler of the cross build). Any finding fails.
# Usage: scripts/lint.sh [BUILD_DIR]    BUILD_DIR holds compile_commands.json (default build/native,
#                                       configured here when missing)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build="${1:-build/native}"

mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'standin/*.cpp' 'standin/*.h' \
  'cli/*.cpp' 'cli/*.h' 'gerberx/*.cpp' 'gerberx/*.h' 'report/*.cpp' 'report/*.h')
echo "lint.sh: clang-format on ${#files[@]} files"
clang-format --dry-run --Werror "${files[@]}"

[ -f "$build/compile_commands.json" ] || cmake --preset native >/dev/null
mapfile -t sources < <(printf '%s\n' "${files[@]}" | grep '\.cpp$' |
  while read -r file; do grep -qF "\"$root/$file\"" "$build/compile_commands.json" && echo "$file"; done)
echo "lint.sh: clang-tidy on ${#sources[@]} sources"
# The compile commands carry g++ warning options that clang does not know.
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -n 8 clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option
echo "lint.sh: clean"
