#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in
# build/fuzz and runs each one for a bounded time. Any finding (crash, hang, leak, sanitizer
# report, foreign exception, broken invariant) fails the script; libFuzzer keeps the input in
# build/fuzz/findings/<harness>/.
#
# Usage: scripts/fuzz.sh [SECONDS [HARNESS...]]
#   SECONDS  time per harness (default 60); longer runs are the same command with more time
#   HARNESS  import, table, units, gerberx, drill (default: all five, one after the other)
# Environment: ZZ_FUZZ_JOBS=N runs N workers per harness (default 1).
#
# New inputs go to build/fuzz/corpus/<harness>/; the seeds in fuzz/corpus/<harness>/ are read,
# never written. A finding becomes a regression test in tests/hardening/ and a seed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

seconds="${1:-60}"
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(import table units gerberx drill)
case "$seconds" in
  '' | *[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
for harness in "${harnesses[@]}"; do
  case "$harness" in
    import | table | units | gerberx | drill) ;;
    *) echo "fuzz.sh: unknown harness '$harness' (import, table, units, gerberx, drill)" >&2; exit 2 ;;
  esac
done

jobs="${ZZ_FUZZ_JOBS:-1}"
case "$jobs" in
  '' | *[!0-9]*) echo "fuzz.sh: ZZ_FUZZ_JOBS must be a whole number, not '$jobs'" >&2; exit 2 ;;
esac

build="$root/build/fuzz"
cmake -S . -B "$build" -G "Unix Makefiles" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZZ_FUZZ=ON -DZZ_BUILD_TESTS=OFF -DZZ_WERROR=ON >/dev/null
cmake --build "$build" --target zz_fuzzers -j "$(nproc)"

# A finding must abort; leaks are findings too.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:symbolize=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

parallel=()
[ "$jobs" -le 1 ] || parallel=(-jobs="$jobs" -workers="$jobs")

failed=()
for harness in "${harnesses[@]}"; do
  corpus="$build/corpus/$harness"
  findings="$build/findings/$harness"
  work="$build/work/$harness"  # the workers' own logs (fuzz-N.log) go to the current folder
  log="$build/fuzz-$harness.log"
  mkdir -p "$corpus" "$findings" "$work"
  dict="$root/fuzz/gerber.dict"
  [ "$harness" = drill ] && dict="$root/fuzz/drill.dict"
  printf '\n==== fuzz %s: %s s\n' "$harness" "$seconds"
  # -timeout: one input taking longer is a hang. -malloc_limit_mb: a single allocation that
  # large is an unbounded one. -max_len: room for the largest seed and then some.
  set +e
  (cd "$work" && "$build/fuzz/zz_fuzz_$harness" "$corpus" "$root/fuzz/corpus/$harness" \
    -dict="$dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=512 -max_len=8192 -print_final_stats=1 "${parallel[@]}" \
    -artifact_prefix="$findings/" >"$log" 2>&1)
  status=$?
  set -e
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::(number_of_executed_units|peak_rss_mb)|^Done ' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log" >&2
    echo "fuzz.sh: $harness: finding (exit code $status); input in $findings/, log in $log" >&2
    failed+=("$harness")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz.sh: no findings (${harnesses[*]}; $seconds s each)"
