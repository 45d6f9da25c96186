#!/usr/bin/env bash
# Whole-process benchmark of the import, against libgerbv and against the design floor.
#
#   scripts/bench.sh [--runs N] [--no-readme]
#
# Builds the tool and the benchmark programs with the native preset's settings in build/bench,
# generates the 30 MB and 100 MB files into build/bench-data unless they are there, then for each
# file measures, in one run:
#   - zizozudu import FILE --quiet            (hyperfine median; peak RSS from /usr/bin/time -v)
#   - libgerbv's parse alone (zz-gerbv-parse)  and  gerbv -x rs274x -o /dev/null FILE
#   - the design floor (zz-floor): the file read character by character through zz::TextFile with
#     one guarded call per character and line end into an empty host routine, plus the fewest
#     host calls per primitive at the measured price of one empty guarded call
#   - the plug-in's own heap peak (zz-import-memory)
#   - the plug-in alone (zz-import-emptyhost): the same import into a host whose every entry point
#     is an empty function, so that the plug-in's share and the stand-in's are both in the table
#   - zizozudu convert FILE -o OUT --quiet       (hyperfine median; peak RSS)
# and, on the region-heavy file (pours with clearances and macro pads, `zz-gengerber pours`),
# zizozudu convert against libgerbv's parse, with the objects before and after; and the left-out
# analysis: the 30 MB import with and without it, and on pour files against gerbv's PNG export.
# and writes the table into bench/README.md between its markers (unless --no-readme).
#
# Medians depend on the machine being quiet: the script prints the load average before it starts.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZZ_BENCH_BUILD_DIR:-$root/build/bench}"
data="$root/build/bench-data"
runs=5
write_readme=1
while [[ $# -gt 0 ]]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --no-readme) write_readme=0; shift ;;
    *) echo "usage: scripts/bench.sh [--runs N] [--no-readme]" >&2; exit 2 ;;
  esac
done

for tool in cmake hyperfine /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bench.sh: $tool is missing" >&2; exit 1; }
done

echo "== build ($build)"
cmake -S "$root" -B "$build" -G "Unix Makefiles" -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZZ_BUILD_BENCH=ON >/dev/null
targets=(zizozudu zz-gengerber zz-floor zz-import-memory zz-import-emptyhost)
have_peer=0
if [[ -e /usr/lib/x86_64-linux-gnu/libgerbv.so.1 || -e /usr/lib/libgerbv.so.1 ]]; then
  targets+=(zz-gerbv-parse)
  have_peer=1
fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
zizozudu="$build/cli/zizozudu"
bin="$build/bench"

# name seed size
files=("large-30MB 30 30M" "large-100MB 100 100M")
mkdir -p "$data"
for entry in "${files[@]}"; do
  read -r name seed size <<<"$entry"
  if [[ ! -f "$data/$name.gbr" || ! -f "$data/$name.gbr.stats" ]]; then
    echo "== generate $name.gbr (seed $seed)"
    "$bin/zz-gengerber" large --seed "$seed" --size "$size" --out "$data/$name.gbr" >/dev/null
  fi
done

have_gerbv=0
command -v gerbv >/dev/null && have_gerbv=1
gerbv_note=""
if [[ $have_gerbv == 1 ]] && ! (unset DISPLAY; gerbv -x rs274x -o /dev/null "$root/examples/board.gtl" >/dev/null 2>&1); then
  if command -v xvfb-run >/dev/null; then
    gerbv_cmd="xvfb-run -a gerbv"
  else
    have_gerbv=0
    gerbv_note="gerbv's export needs a display here and xvfb-run is not installed: no gerbv row."
  fi
else
  gerbv_cmd="gerbv"
fi

echo "== load: $(uptime | sed 's/.*load average/load average/')"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# median seconds of a command (hyperfine, one warm-up run; an exit code other than 0, such as a
# file the importer does not recognise, is no failure)
median() {
  hyperfine -i --warmup 1 --runs "$runs" --style none --export-json "$tmp/h.json" "$1" >/dev/null 2>&1
  jq -r '.results[0].median' "$tmp/h.json"
}
# peak RSS in kB of one run of the command and its arguments
peak_rss() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}'
}
value() { sed -n "s/^$1=//p" "$2"; }

rows=()
notes=()
for entry in "${files[@]}"; do
  read -r name seed size <<<"$entry"
  file="$data/$name.gbr"
  mb=$(awk -v b="$(stat -c %s "$file")" 'BEGIN { printf "%.1f", b / 1048576 }')
  echo "== $name.gbr ($mb MB)"

  # The import must read the whole file and make exactly the primitives the generator counted.
  "$zizozudu" import "$file" >"$tmp/summary.txt"
  expected="$(value tracks "$file.stats") tracks, 0 fills, $(value arcs "$file.stats") arcs, $(value pads "$file.stats") pads"
  grep -q "Result: *true" "$tmp/summary.txt" || { echo "bench.sh: the import of $file failed" >&2; exit 1; }
  grep -q "$expected" "$tmp/summary.txt" || { echo "bench.sh: $file: expected $expected" >&2; cat "$tmp/summary.txt" >&2; exit 1; }

  t_import=$(median "$zizozudu import '$file' --quiet")
  m_import=$(peak_rss "$zizozudu" import "$file" --quiet)
  t_convert=$(median "$zizozudu convert '$file' -o '$tmp/converted.gbr' --quiet")
  m_convert=$(peak_rss "$zizozudu" convert "$file" -o "$tmp/converted.gbr" --quiet)
  "$bin/zz-import-emptyhost" "$file" | grep -q "result=true" || { echo "bench.sh: the empty-host import of $file failed" >&2; exit 1; }
  t_empty=$(median "$bin/zz-import-emptyhost '$file'")
  m_empty=$(peak_rss "$bin/zz-import-emptyhost" "$file")
  "$bin/zz-floor" "$file" --runs "$runs" >"$tmp/floor.txt"
  t_floor=$(value floor_seconds "$tmp/floor.txt")
  "$bin/zz-import-memory" "$file" >"$tmp/memory.txt"
  notes+=("$name.gbr: $(value primitives "$tmp/floor.txt") primitives, $(value primitive_host_calls "$tmp/floor.txt") host calls for them at $(printf '%.2f' "$(value empty_call_ns "$tmp/floor.txt")") ns each, reading $(printf '%.3f' "$(value read_seconds "$tmp/floor.txt")") s; plug-in heap peak $(value plugin_heap_peak_kb "$tmp/memory.txt") kB, stand-in heap peak $(value host_heap_peak_kb "$tmp/memory.txt") kB")

  t_peer=""
  m_peer=""
  if [[ $have_peer == 1 ]]; then
    t_peer=$(median "$bin/zz-gerbv-parse '$file'")
    m_peer=$(peak_rss "$bin/zz-gerbv-parse" "$file")
  fi
  t_gerbv=""
  m_gerbv=""
  if [[ $have_gerbv == 1 ]]; then
    t_gerbv=$(median "$gerbv_cmd -x rs274x -o /dev/null '$file'")
    m_gerbv=$(peak_rss $gerbv_cmd -x rs274x -o /dev/null "$file")
  fi

  row() {  # tool seconds rss_kb
    local tool="$1" t="$2" rss="$3"
    awk -v tool="$tool" -v file="$name.gbr" -v mb="$mb" -v t="$t" -v rss="$rss" -v peer="$t_peer" -v floor="$t_floor" \
      'BEGIN {
         rp = (peer != "" ? sprintf("%.2f", t / peer) : "-");
         rf = (floor != "" ? sprintf("%.2f", t / floor) : "-");
         r = (rss != "" ? sprintf("%.0f MB", rss / 1024) : "-");
         printf "| %s | %s | %s | %.3f | %.0f | %s | %s | %s |\n", tool, file, mb, t, mb / t, r, rp, rf
       }'
  }
  rows+=("$(row '`zizozudu import --quiet`' "$t_import" "$m_import")")
  rows+=("$(row 'plug-in alone, empty host (`zz-import-emptyhost`)' "$t_empty" "$m_empty")")
  rows+=("$(row '`zizozudu convert --quiet`' "$t_convert" "$m_convert")")
  [[ $have_peer == 1 ]] && rows+=("$(row 'libgerbv parse (`zz-gerbv-parse`)' "$t_peer" "$m_peer")")
  [[ $have_gerbv == 1 ]] && rows+=("$(row '`gerbv -x rs274x -o /dev/null`' "$t_gerbv" "$m_gerbv")")
  rows+=("$(row 'design floor (`zz-floor`)' "$t_floor" "")")
done

# The region-heavy file: what convert makes of it, and how long it takes against libgerbv.
pours="$data/pours-10MB.gbr"
if [[ ! -f $pours || ! -f $pours.stats ]]; then
  echo "== generate pours-10MB.gbr (seed 10)"
  "$bin/zz-gengerber" pours --seed 10 --size 10M --out "$pours" >/dev/null
fi
echo "== pours-10MB.gbr"
"$zizozudu" convert "$pours" -o "$tmp/pours.gbr" >"$tmp/convert.txt"
"$zizozudu" import "$tmp/pours.gbr" >"$tmp/pours-summary.txt"
grep -q "Result: *true" "$tmp/pours-summary.txt" || { echo "bench.sh: the converted $pours was not read whole" >&2; exit 1; }
name=pours-10MB
mb=$(awk -v b="$(stat -c %s "$pours")" 'BEGIN { printf "%.1f", b / 1048576 }')
t_peer=""
m_peer=""
if [[ $have_peer == 1 ]]; then
  t_peer=$(median "$bin/zz-gerbv-parse '$pours'")
  m_peer=$(peak_rss "$bin/zz-gerbv-parse" "$pours")
fi
t_floor=""
t_convert=$(median "$zizozudu convert '$pours' -o '$tmp/pours.gbr' --quiet")
m_convert=$(peak_rss "$zizozudu" convert "$pours" -o "$tmp/pours.gbr" --quiet)
rows+=("$(row '`zizozudu convert --quiet`' "$t_convert" "$m_convert")")
[[ $have_peer == 1 ]] && rows+=("$(row 'libgerbv parse (`zz-gerbv-parse`)' "$t_peer" "$m_peer")")
notes+=("pours-10MB.gbr: $(tr '\n' ' ' <"$pours.stats" | sed 's/ $//'); converted: $(sed -n 's/^ *decomposed: *//p' "$tmp/convert.txt"); $(sed -n 's/^ *written: *//p' "$tmp/convert.txt")")

# The left-out analysis. On the 30 MB file: the import with its summary, with the analysis and
# without it (--no-left-out); the file is read as it means, so only the first step runs. On pour
# files: the import with the analysis into a dump (the areas are measured: the importer does not
# read the original, and reads the converted layer whole) against gerbv's 1000-dpi PNG export
# of the same file.
analysis_rows=()
large="$data/large-30MB.gbr"
t_with=$(median "$zizozudu import '$large' >/dev/null")
m_with=$(peak_rss "$zizozudu" import "$large")
t_without=$(median "$zizozudu import '$large' --no-left-out >/dev/null")
m_without=$(peak_rss "$zizozudu" import "$large" --no-left-out)
share=$("$zizozudu" import "$large" --quiet --json - | jq -r '.left_out.share')
analysis_rows+=("| \`zizozudu import\` (summary), with the analysis | large-30MB.gbr | $(printf '%.3f' "$t_with") | $((m_with / 1024)) MB | left_out share $share; $(awk -v a="$t_with" -v b="$t_without" 'BEGIN { printf "%+.1f %%", 100 * (a / b - 1) }') against without |")
analysis_rows+=("| \`zizozudu import --no-left-out\` (summary) | large-30MB.gbr | $(printf '%.3f' "$t_without") | $((m_without / 1024)) MB | |")
pours1="$data/pours-1MB.gbr"
[[ -f $pours1 ]] || "$bin/zz-gengerber" pours --seed 10 --size 1M --out "$pours1" >/dev/null
"$zizozudu" convert "$pours1" -o "$tmp/pours-1MB-converted.gbr" --quiet
for entry in "pours-1MB.gbr:$pours1" "pours-1MB converted:$tmp/pours-1MB-converted.gbr" "pours-10MB.gbr:$pours"; do
  label="${entry%%:*}"
  f="${entry#*:}"
  t_a=$(median "$zizozudu import '$f' --quiet --json /dev/null")
  m_a=$(peak_rss "$zizozudu" import "$f" --quiet --json /dev/null)
  share=$("$zizozudu" import "$f" --quiet --json - 2>/dev/null | jq -r '.left_out.share')
  analysis_rows+=("| \`zizozudu import --json\` (import and analysis) | $label | $(printf '%.3f' "$t_a") | $((m_a / 1024)) MB | left_out share $share |")
  if [[ $have_gerbv == 1 ]]; then
    g_out="$tmp/gerbv.png"
    rm -f "$g_out"
    t_g=$(median "$gerbv_cmd --export=png --dpi=1000 -o '$g_out' '$f' >/dev/null 2>&1 || true")
    m_g=$(peak_rss $gerbv_cmd --export=png --dpi=1000 -o "$g_out" "$f" || true)
    note="picture written"
    [[ -s $g_out ]] || note="no picture: gerbv cannot export an image of this size"
    analysis_rows+=("| \`gerbv --export=png --dpi=1000\` | $label | $(printf '%.3f' "$t_g") | $((m_g / 1024)) MB | $note |")
  fi
done

{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores ($(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1)), $runs runs each, load before the run: $(uptime | sed 's/.*load average: //')."
  echo "Regenerate with \`scripts/bench.sh\`."
  echo
  echo "| tool | file | MB | median s | MB/s | peak RSS | time / libgerbv parse | time / floor |"
  echo "|---|---|---|---|---|---|---|---|"
  printf '%s\n' "${rows[@]}"
  echo
  for note in "${notes[@]}"; do echo "- $note"; done
  echo
  echo "What an import leaves out (the analysis):"
  echo
  echo "| run | file | median s | peak RSS | |"
  echo "|---|---|---|---|---|"
  printf '%s\n' "${analysis_rows[@]}"
  [[ -n $gerbv_note ]] && echo "- $gerbv_note"
} >"$tmp/table.md"
cat "$tmp/table.md"

if [[ $write_readme == 1 ]]; then
  readme="$root/bench/README.md"
  if ! grep -q '<!-- bench-results:begin -->' "$readme"; then
    echo "bench.sh: no result markers in $readme" >&2
    exit 1
  fi
  awk -v table="$tmp/table.md" '
    /<!-- bench-results:begin -->/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
    /<!-- bench-results:end -->/ { skip = 0 }
    !skip { print }' "$readme" >"$tmp/README.md"
  cp "$tmp/README.md" "$readme"
  echo "== wrote the table into bench/README.md"
fi
