#!/usr/bin/env bash
# zizozudu.exe as Windows users start it: files and folders dropped on it, no command. Run without
# a console and with no standard input, it must convert them beside the originals and end at once
# (it waits for a key only in a console window of its own).
#
#   dropped-files.sh --exe ZIZOZUDU.exe --wine-run WINE-RUN.sh --source SOURCE-DIR --work WORK-DIR
# Exit code: 0 as it should be, 1 otherwise.
set -euo pipefail

exe='' wine_run='' source_dir='' work=''
while [ $# -gt 0 ]; do
  case "$1" in
    --exe) exe=$2 ;;
    --wine-run) wine_run=$2 ;;
    --source) source_dir=$2 ;;
    --work) work=$2 ;;
    *) echo "dropped-files.sh: unknown argument $1" >&2; exit 1 ;;
  esac
  shift 2
done

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work"
cd "$work"
cp "$source_dir/examples/modern/top.gbr" top.gbr
cp -R "$source_dir/examples/board" board

# A file alone, then a file and a folder; a program that waits would run into the time limit.
status=0
timeout 120 "$wine_run" "$exe" top.gbr </dev/null >one.txt 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "zizozudu.exe top.gbr: exit code $status: $(cat one.txt)"
# The X2 file function says the top copper: the conversion's name says it too.
[ -s top.converted.gtl ] || fail "zizozudu.exe top.gbr wrote no top.converted.gtl: $(ls)"
head -n 1 top.converted.gtl | grep -q '^%FS' || fail "top.converted.gtl does not begin with its format statement"
if grep -q 'Press any key' one.txt; then fail "zizozudu.exe waited for a key without a console of its own"; fi

status=0
timeout 120 "$wine_run" "$exe" top.converted.gtl board </dev/null >two.txt 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "zizozudu.exe top.converted.gtl board: exit code $status: $(cat two.txt)"
for layer in top.gtl bottom.gbl silk.gto outline.gko; do
  [ -s "board-converted/$layer" ] || fail "board-converted/$layer is missing: $(ls board-converted 2>&1)"
done
grep -q '^Package: *5 files converted, 0 skipped, 0 failed' two.txt || fail "the summary: $(cat two.txt)"

echo "dropped-files.sh: $failures failure(s)"
[ "$failures" -eq 0 ]
