#!/usr/bin/env bash
# End-to-end comparison of the real plug-in under Wine with the native tool: every input file is
# imported by both, and the two board dumps must be byte for byte the same.
#
#   compare-dumps.sh --native TOOL --host HOST.exe --generator ZZ-GENGERBER.exe --wine-run WINE-RUN.sh
#                    --source SOURCE-DIR --work WORK-DIR [--count N] [--gerbv EXAMPLES-DIR]
#
# Inputs: the sample files of SOURCE-DIR/examples, the third-party files of the gerbv package's
# examples (only the folders listed below; gzipped files are decompressed; skipped when absent), and
# N generated files (zz-gengerber's rough corpus with varied line ends, run under Wine, so its bytes
# come from the Windows build).
# Everything is copied into WORK-DIR and named by a relative path, so both sides see the same text
# as the file name, which the dump records.
#
# Native side: `TOOL import FILE --json OUT --quiet`, one process per file. Wine side: one host
# process in batch mode, which loads Zizozudu.dll afresh for every file and so starts each import
# from the modal state of a new process, as the native tool does. A sample of the files is also run
# one Wine process per file, to show that the batch mode changes nothing.
#
# The native tool may add an "ignored" key (its counts of what it could not represent); the plug-in
# has no such counts to give the Wine host, so that key is removed from the native dump before the
# comparison. Exit code: 0 all equal, 1 a difference or a failure, 77 the native tool is missing.
set -euo pipefail

native='' host='' generator='' wine_run='' source_dir='' work='' count=300
gerbv=/usr/share/doc/gerbv/examples
while [ $# -gt 0 ]; do
  case "$1" in
    --native) native=$2 ;;
    --host) host=$2 ;;
    --generator) generator=$2 ;;
    --wine-run) wine_run=$2 ;;
    --source) source_dir=$2 ;;
    --work) work=$2 ;;
    --count) count=$2 ;;
    --gerbv) gerbv=$2 ;;
    *) echo "compare-dumps.sh: unknown argument $1" >&2; exit 1 ;;
  esac
  shift 2
done
for value in "$host" "$generator" "$wine_run" "$source_dir" "$work"; do
  [ -n "$value" ] || { echo "compare-dumps.sh: --host, --generator, --wine-run, --source and --work are needed" >&2; exit 1; }
done
if [ -z "$native" ] || [ ! -x "$native" ]; then
  echo "compare-dumps.sh: the native tool '${native}' is not built; build the native preset first" \
    "(scripts/test.sh builds it before the mingw preset). Skipped." >&2
  exit 77
fi

gerbv_folders=(ekf ekf2 exposure amacro-ref am-test hellboard dan cslk numpres jj uwe eaglecad1
  Mentor-BoardStation trailing polarity nollezappare orcad pick-and-place)

rm -rf "$work"
mkdir -p "$work"
cd "$work"

# ---- Inputs ----
cp -R "$source_dir/examples" examples
gerbv_count=0
if [ -d "$gerbv" ]; then
  for folder in "${gerbv_folders[@]}"; do
    [ -d "$gerbv/$folder" ] || continue
    mkdir -p "gerbv/$folder"
    for file in "$gerbv/$folder"/*; do
      [ -f "$file" ] || continue
      name=$(basename "$file")
      case "$name" in *.png | *.jpg | *.pdf) continue ;; esac  # pictures of the boards
      if [ "${name%.gz}" != "$name" ]; then
        gzip -dc "$file" >"gerbv/$folder/${name%.gz}"
      else
        cp "$file" "gerbv/$folder/$name"
      fi
      gerbv_count=$((gerbv_count + 1))
    done
  done
fi
"$wine_run" "$generator" corpus --seed 20240611 --count "$count" --out gen --eol varied --rough >corpus.log 2>&1 ||
  { cat corpus.log >&2; exit 1; }

# Every file is imported, table files and third-party documents included: what is not recognised
# must be turned down the same way on both sides.
mapfile -t files < <(find examples gerbv gen -type f 2>/dev/null | LC_ALL=C sort)
mkdir -p native wine single
: >batch.txt
for i in "${!files[@]}"; do
  printf '%s\t%s\n' "${files[$i]}" "wine/$i.json" >>batch.txt
done

# ---- Native side ----
for i in "${!files[@]}"; do
  status=0
  "$native" import "${files[$i]}" --json "native/$i.json" --quiet --no-left-out >>native.log 2>&1 || status=$?
  case $status in
    0 | 1 | 3) ;;  # imported, import false, not recognised
    *) echo "compare-dumps.sh: native tool failed with exit code $status on ${files[$i]}" >&2; exit 1 ;;
  esac
  if grep -q '"ignored":{' "native/$i.json"; then
    sed -i -E '$ s/\],"ignored":\{[^}]*\}\}$/]}/' "native/$i.json"
  fi
done

# ---- Wine side ----
if ! "$wine_run" "$host" --batch batch.txt >wine.log 2>&1; then
  echo "compare-dumps.sh: the Wine host failed:" >&2
  cat wine.log >&2
  exit 1
fi
sample=()
for i in "${!files[@]}"; do
  case "${files[$i]}" in examples/* | gen/zz00*) sample+=("$i") ;; esac
done
for i in "${sample[@]}"; do
  status=0
  "$wine_run" "$host" "${files[$i]}" --json "single/$i.json" >>wine-single.log 2>&1 || status=$?
  case $status in
    0 | 3) ;;
    *) echo "compare-dumps.sh: the Wine host failed with exit code $status on ${files[$i]}" >&2; exit 1 ;;
  esac
done

# ---- Comparison ----
same=0
different=0
compare() {  # native dump, Wine dump, file name
  if cmp -s "$1" "$2"; then
    same=$((same + 1))
  else
    different=$((different + 1))
    echo "DIFFERENT: $3 ($1 against $2)"
    diff "$1" "$2" | head -n 8 || true
  fi
}
for i in "${!files[@]}"; do compare "native/$i.json" "wine/$i.json" "${files[$i]}"; done
batch_same=$same
for i in "${sample[@]}"; do compare "native/$i.json" "single/$i.json" "${files[$i]} (own process)"; done

recognised=$(grep -l '"recognised":true' native/*.json | wc -l)
with_objects=$(grep -L '"objects":\[\]' native/*.json | wc -l)
echo "compare-dumps.sh: ${#files[@]} files (${gerbv_count} from the gerbv examples, $count generated):" \
  "$batch_same identical in batch, $((same - batch_same)) of ${#sample[@]} identical one process per file;" \
  "$recognised recognised, $with_objects with objects."
[ "$different" -eq 0 ]
