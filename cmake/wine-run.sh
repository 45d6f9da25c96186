#!/bin/sh
# Runs a cross-built Windows program under Wine and passes its exit code through.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
# The Wine prefix is $ZZ_WINEPREFIX, or <build folder of PROGRAM>/wineprefix, created on first use.
# Nothing may open a window, so the display is dropped and the Mono/Gecko installers are switched off.
set -eu

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
  exit 2
fi
if ! command -v wine >/dev/null 2>&1; then
  echo "wine-run.sh: wine is not installed (scripts/install-deps.sh installs it)" >&2
  exit 127
fi

program=$1
shift

build_folder_of() {
  dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd -P) || return 1
  while [ "$dir" != / ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      echo "$dir"
      return 0
    fi
    dir=$(dirname "$dir")
  done
  return 1
}

if [ -n "${ZZ_WINEPREFIX:-}" ]; then
  prefix=$ZZ_WINEPREFIX
elif build=$(build_folder_of "$program"); then
  prefix=$build/wineprefix
else
  prefix=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/zizozudu/wineprefix
fi

export WINEPREFIX="$prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

# Prefix creation takes seconds; parallel tests must not race on it.
if [ ! -f "$prefix/.zz-ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.zz-ready" ]; then
      rm -rf "$prefix"
      if ! wineboot -i </dev/null >"$prefix.log" 2>&1; then
        echo "wine-run.sh: creating the Wine prefix $prefix failed, see $prefix.log" >&2
        exit 1
      fi
      wineserver -w </dev/null >/dev/null 2>&1 || true
      touch "$prefix/.zz-ready"
    fi
  ) 9>"$prefix.lock"
fi

# A server that outlives each program saves Wine's start-up for the next test; it leaves two minutes
# after the last one. Its output goes nowhere so that it never holds the test's output pipe open.
# Status 2 means one is already running.
wineserver -p120 </dev/null >/dev/null 2>&1 || true

if [ -t 1 ]; then
  exec wine "$program" "$@"
fi

# Wine starts its own background processes (services, desktop) from the first program that needs
# them, and they inherit that program's output. Under CTest that output is a pipe that would then stay
# open until the server leaves, so the program writes to files that are followed here as they grow:
# a program killed at its time limit has still shown what it did.
out=$(mktemp "$prefix.out.XXXXXX")
err=$(mktemp "$prefix.err.XXXXXX")
trap 'rm -f "$out" "$err"' EXIT
exec 3<&0
wine "$program" "$@" <&3 >"$out" 2>"$err" &
pid=$!
tail -q -s 0.1 --pid="$pid" -n +1 -f "$out" &
tail -q -s 0.1 --pid="$pid" -n +1 -f "$err" >&2 &
status=0
wait "$pid" || status=$?
wait
exit "$status"
