#!/usr/bin/env bash
# Line and branch coverage of src/ by the native test suite: a g++ --coverage build of its own in
# build/coverage-build, every CTest test run once, gcovr's report in build/coverage/index.html.
# Prints gcovr's summary and, last, "src/ line coverage: NN.N %". Installs gcovr first if missing.
# Usage: scripts/coverage.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

if ! command -v gcovr >/dev/null; then
  sudo=''
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq -o DPkg::Lock::Timeout=300 gcovr >/dev/null
fi

build=build/coverage-build
# A shared compiler cache with a base directory writes source paths relative to it into the
# coverage notes, and gcov then finds no source: this build takes absolute paths.
unset CCACHE_BASEDIR
report=build/coverage
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_C_FLAGS_DEBUG='-g -O0' -DCMAKE_CXX_FLAGS_DEBUG='-g -O0' \
  -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_SHARED_LINKER_FLAGS=--coverage -DZZ_BUILD_TESTS=ON -DZZ_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs" >/dev/null
# Counts of an earlier run would add up with this one's.
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j "$jobs" --output-on-failure >"$build/ctest.log" 2>&1 ||
  { tail -n 40 "$build/ctest.log"; echo "coverage.sh: tests failed (log: $build/ctest.log)" >&2; exit 1; }

# The compiler checks of the configure step leave coverage notes of their own.
find "$build/CMakeFiles" -name '*.gcno' -delete
rm -rf "$report"
mkdir -p "$report"
# Branches that only exception handling adds, and branches the compiler made unreachable, say
# nothing about the tests.
gcovr --root . --filter 'src/' --object-directory "$build" \
  --exclude-throw-branches --exclude-unreachable-branches \
  --html-details "$report/index.html" --json-summary "$report/summary.json" --print-summary
python3 - "$report/summary.json" <<'EOF'
import json, sys
summary = json.load(open(sys.argv[1]))
total, covered = summary["line_total"], summary["line_covered"]
print(f"src/ line coverage: {100.0 * covered / total if total else 0.0:.1f} %")
EOF
