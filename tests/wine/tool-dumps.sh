#!/usr/bin/env bash
# zizozudu.exe under Wine against the native zizozudu: the same files give the same bytes.
#
#   tool-dumps.sh --native TOOL --exe ZIZOZUDU.exe --generator ZZ-GENGERBER.exe --wine-run WINE-RUN.sh
#                 --source SOURCE-DIR --work WORK-DIR [--count N] [--objdump OBJDUMP]
#
# Inputs: the sample files of SOURCE-DIR/examples, N generated files (the rough corpus of
# compare-dumps.sh, same seed) and copies of a sample under names with characters beyond ASCII
# but inside the Windows code page. Every file is imported alone by both tools, one process each,
# with --json: the dumps (with the tool's own "ignored" counts) must be equal byte for byte. Then
# the example board's folder with its JSON and SVG, `recognise` over all the files, and a name
# outside the code page, which zizozudu.exe must turn down in plain words.
# Exit code: 0 all equal, 1 a difference or a failure, 77 the native tool is missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/pe-tables.sh"

native='' exe='' generator='' wine_run='' source_dir='' work='' count=300 objdump=i686-w64-mingw32-objdump
while [ $# -gt 0 ]; do
  case "$1" in
    --native) native=$2 ;;
    --exe) exe=$2 ;;
    --generator) generator=$2 ;;
    --wine-run) wine_run=$2 ;;
    --source) source_dir=$2 ;;
    --work) work=$2 ;;
    --count) count=$2 ;;
    --objdump) objdump=$2 ;;
    *) echo "tool-dumps.sh: unknown argument $1" >&2; exit 1 ;;
  esac
  shift 2
done
for value in "$exe" "$generator" "$wine_run" "$source_dir" "$work"; do
  [ -n "$value" ] || { echo "tool-dumps.sh: --exe, --generator, --wine-run, --source and --work are needed" >&2; exit 1; }
done
if [ -z "$native" ] || [ ! -x "$native" ]; then
  echo "tool-dumps.sh: the native tool '${native}' is not built; build the native preset first. Skipped." >&2
  exit 77
fi

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

check_system_imports "$exe"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
cp -R "$source_dir/examples" examples
mkdir -p "named Übung"
cp examples/board/top.gtl "named Übung/Oberseite-Kupfer äöü.gtl"
cp examples/rs274d/legacy.gbr "named Übung/légacy.gbr"
cp examples/rs274d/legacy.Abr "named Übung/légacy.Abr"
"$wine_run" "$generator" corpus --seed 20240611 --count "$count" --out gen --eol varied --rough >corpus.log 2>&1 ||
  { cat corpus.log >&2; exit 1; }
mapfile -t files < <(find examples gen "named Übung" -type f | LC_ALL=C sort)

# ---- Each file alone ----
mkdir -p native wine
same=0
for i in "${!files[@]}"; do
  native_status=0 wine_status=0
  "$native" import "${files[$i]}" --json "native/$i.json" --quiet --no-left-out >/dev/null 2>&1 || native_status=$?
  "$wine_run" "$exe" import "${files[$i]}" --json "wine/$i.json" --quiet --no-left-out >/dev/null 2>&1 || wine_status=$?
  if [ "$native_status" != "$wine_status" ]; then
    fail "${files[$i]}: exit code $wine_status under Wine, $native_status natively"
  elif ! cmp -s "native/$i.json" "wine/$i.json"; then
    fail "${files[$i]}: the dumps differ (native/$i.json, wine/$i.json)"
    diff "native/$i.json" "wine/$i.json" | head -n 6 >&2 || true
  else
    same=$((same + 1))
  fi
done

# ---- A folder into one board, its summary on standard error and its dump on standard output ----
"$native" import examples/board --json - --svg native-board.svg --no-left-out >native-board.json 2>native-board.txt ||
  fail "native import of examples/board"
"$wine_run" "$exe" import examples/board --json - --svg wine-board.svg --no-left-out >wine-board.json 2>wine-board.txt ||
  fail "zizozudu.exe import of examples/board"
for output in board.json board.svg board.txt; do
  cmp -s "native-$output" "wine-$output" || fail "examples/board: $output differs under Wine"
done
grep -q '^Board: *4 files, 4 read to the end' wine-board.txt || fail "examples/board: $(cat wine-board.txt)"

# ---- recognise ----
status=0
"$native" recognise "${files[@]}" >native-recognise.txt 2>&1 || status=$?
wine_status=0
"$wine_run" "$exe" recognise "${files[@]}" >wine-recognise.txt 2>&1 || wine_status=$?
[ "$status" = "$wine_status" ] || fail "recognise: exit code $wine_status under Wine, $status natively"
cmp -s native-recognise.txt wine-recognise.txt || fail "recognise: the answers differ under Wine"

# ---- A name the editor could not hand to the importer ----
mkdir -p outside
cp examples/board/top.gtl "outside/板.gtl"
status=0
"$wine_run" "$exe" import "outside/板.gtl" >outside.txt 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "outside/板.gtl: exit code $status, not 3"
grep -q 'characters outside the system code page' outside.txt || fail "outside/板.gtl: $(cat outside.txt)"

echo "tool-dumps.sh: ${#files[@]} files, $same dumps identical under Wine and natively; $failures failure(s)"
[ "$failures" -eq 0 ]
