#!/usr/bin/env bash
# The whole test suite: configure, build and test the native, sanitizer and Windows (under Wine)
# builds, stopping at the first failure. Installs missing packages first (scripts/install-deps.sh).
# Usage: scripts/test.sh [PRESET...]     presets: native asan mingw (default: all three, in that order,
#                                       then scripts/lint.sh and the fuzzers)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native asan mingw)
for preset in "${presets[@]}"; do
  case "$preset" in
    native | asan | mingw) ;;
    *) echo "test.sh: unknown preset '$preset' (native, asan, mingw)" >&2; exit 2 ;;
  esac
done

timings=()
stage_start=0
stage_cpu=0
times_file="$(mktemp)"
# CPU seconds (user + system) of all finished child processes, into $cpu; on a shared machine it
# says more about the cost of a stage than the wall clock does. (`times` must run in this shell.)
cpu=0
read_children_cpu() {
  times >"$times_file"
  cpu=$(awk 'NR == 2 {
    n = split($0, t, /[ms ]+/); total = 0
    for (i = 1; i + 1 <= n; i += 2) total += t[i] * 60 + t[i + 1]
    printf "%d", total }' "$times_file")
}
begin() {
  stage_start=$SECONDS
  read_children_cpu
  stage_cpu=$cpu
  printf '\n==== %s\n' "$1"
}
finish() {
  read_children_cpu
  timings+=("$(printf '%-24s %5ds wall %6ds CPU' "$1" $((SECONDS - stage_start)) $((cpu - stage_cpu)))")
}
report() {
  local status=$?
  rm -f "$times_file"
  # The Wine server of the test prefix lingers for a while after the last test; end it now.
  if [ -f build/mingw/wineprefix/.zz-ready ] && command -v wineserver >/dev/null 2>&1; then
    WINEPREFIX="$root/build/mingw/wineprefix" wineserver -k >/dev/null 2>&1 || true
  fi
  if [ ${#timings[@]} -gt 0 ]; then
    printf '\n==== Timings\n'
    printf '%s\n' "${timings[@]}"
  fi
  if [ $status -eq 0 ]; then
    printf '\nAll tests passed (%s).\n' "${presets[*]}"
  else
    printf '\nFAILED (exit code %d); see the output above.\n' "$status" >&2
  fi
}
trap report EXIT

begin "install-deps"
scripts/install-deps.sh
finish "install-deps"

for preset in "${presets[@]}"; do
  begin "$preset: configure"
  cmake --preset "$preset"
  finish "$preset: configure"

  begin "$preset: build"
  cmake --build --preset "$preset"
  finish "$preset: build"

  # The full CTest output goes to build/<preset>/ctest.log; the terminal gets all but the passes.
  begin "$preset: test"
  set +e
  ctest --preset "$preset" 2>&1 | tee "build/$preset/ctest.log" |
    grep -v -E '^ *Start +[0-9]+: |^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed +[0-9.]+ sec$'
  status=${PIPESTATUS[0]}
  set -e
  finish "$preset: test"
  if [ "$status" -ne 0 ]; then
    echo "test.sh: $preset tests failed; full log in build/$preset/ctest.log" >&2
    exit "$status"
  fi
done

# Style (clang-format, clang-tidy) and a bounded run of every fuzz harness (clang, libFuzzer);
# any finding fails. Only with the full suite.
if [ $# -eq 0 ]; then
  begin "lint"
  scripts/lint.sh build/native
  finish "lint"

  begin "fuzz"
  scripts/fuzz.sh "${ZZ_FUZZ_SECONDS:-60}"
  finish "fuzz"
fi
