#!/usr/bin/env bash
# End-to-end checks of Zizozudu.dll under Wine, one scenario per call:
#
#   scenarios.sh SCENARIO --bin WIN32-BUILD-DIR --wine-run WINE-RUN.sh --source SOURCE-DIR
#                --work WORK-DIR [--objdump OBJDUMP] [--native TOOL] [--version X.Y.Z]
#                [--generator ZZ-GENGERBER.exe]
#
#   binary        export and import tables of the DLL, the stand-in and the two host programs
#   description   the description export, the DESCRIPTION resource and the version resource
#   test-mode     the editor's test mode: the dialog becomes one line on standard output, exit code 1
#   no-server     without ZetPcb.dll: the whole file is read, nothing placed, the result true
#   no-client     without the client file services: nothing is recognised, the import returns false
#   boards        board handles (0 = current, another board by its handle) and the current layer
#   late-server   ZetPcb.dll loaded after the plug-in: bound on the first call, the same board
#   strict        the exports called with overflow, division by zero and invalid operation
#                 unmasked: files made to overflow, the examples and a generated corpus; no crash,
#                 the control word, stack pointer and callee-saved registers left as they were
#   wrap          objects of every kind made in the editor, wrapped by the plug-in's code, with
#                 byte results that fill the rest of EAX
#   failing-creation  every second object creation fails: the import ends, the rest is placed
#   absent-entry  each entry point hidden from the binding in turn: the import still ends
set -euo pipefail
# exports_of, imports_of, check_system_imports
source "$(dirname "${BASH_SOURCE[0]}")/pe-tables.sh"

scenario=${1:-}
shift || true
bin='' wine_run='' source_dir='' work='' objdump=i686-w64-mingw32-objdump native='' version='' generator=''
while [ $# -gt 0 ]; do
  case "$1" in
    --bin) bin=$2 ;;
    --wine-run) wine_run=$2 ;;
    --source) source_dir=$2 ;;
    --work) work=$2 ;;
    --objdump) objdump=$2 ;;
    --native) native=$2 ;;
    --version) version=$2 ;;
    --generator) generator=$2 ;;
    *) echo "scenarios.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
expect_eq() {  # what, expected, actual
  if [ "$2" != "$3" ]; then
    fail "$1"
    printf '  expected: %s\n  actual:   %s\n' "$2" "$3" >&2
  fi
}
# Runs the host under Wine; sets $out (standard output) and $status.
host() {
  local program=$1
  shift
  status=0
  out=$("$wine_run" "$bin/$program" "$@" 2>"$work/stderr.txt") || status=$?
}

rm -rf "$work"
mkdir -p "$work"
cp -R "$source_dir/examples" "$work/examples"
cd "$work"
# Draws before any aperture is known, with no table file beside it. CR LF line ends, as most CAM
# programs write them.
printf '%%FSLAX24Y24*%%\r\n%%MOIN*%%\r\nG04 no apertures*\r\nX0Y0D02*\r\nX100Y0D01*\r\n' >no-aperture.gtl

case "$scenario" in
  binary)
    expect_eq "Zizozudu.dll exports" "GetPcbImporterDescription ImportFileIntoPcb RecognisedPCBFile" \
      "$(exports_of "$bin/Zizozudu.dll" | LC_ALL=C sort | xargs)"
    for binary in Zizozudu.dll ZetPcb.dll zz-wine-host.exe zz-wine-host-noclient.exe; do
      check_system_imports "$bin/$binary"
    done
    expect_eq "zz-wine-host.exe exports the client file services" \
      "ClientAPI_ExistSpecific ClientAPI_ExtractFileDirFromPath ClientAPI_ExtractFileExtFromPath ClientAPI_ExtractFileNameFromPath ClientAPI_ExtractWholeFileNameFromPath ClientAPI_ForceFileNameExtension ClientAPI_GetFileSize" \
      "$(exports_of "$bin/zz-wine-host.exe" | LC_ALL=C sort | xargs)"
    expect_eq "zz-wine-host-noclient.exe exports nothing" "" "$(exports_of "$bin/zz-wine-host-noclient.exe" | xargs)"
    # Every entry point of the plug-in's binding list, read from the list itself.
    sed -n -E 's/^ *X\((P[Cc][Bb][Aa][Pp][Ii]_[A-Za-z0-9_]+),.*/\1/p' "$source_dir/src/host/PcbApiEntries.h" |
      LC_ALL=C sort >entries.txt
    exports_of "$bin/ZetPcb.dll" | LC_ALL=C sort >zetpcb.txt
    [ "$(wc -l <entries.txt)" -ge 70 ] || fail "fewer entry points than expected in PcbApiEntries.h"
    missing=$(LC_ALL=C comm -23 entries.txt zetpcb.txt | xargs)
    expect_eq "ZetPcb.dll exports every bound entry point" "" "$missing"
    if grep -q '@' zetpcb.txt || exports_of "$bin/Zizozudu.dll" | grep -q '@'; then fail "a decorated export name"; fi
    ;;

  description)
    host zz-wine-host.exe --describe
    expected="description: Single Gerber Files (*.g??;*.g?)
resource DESCRIPTION: RCDATA, 64 bytes: 7c00 7c00 5300 6900 6e00 6700 6c00 6500 2000 4700 6500 7200 6200 6500 7200 2000 4600 6900 6c00 6500 7300 2000 2800 2a00 2e00 6700 3f00 3f00 2900 7c00 7c00 7c00
resource DESCRIPTION as UTF-16: ||Single Gerber Files (*.g??)|||
version: file $version.0
version: ProductName Zizozudu
version: FileVersion $version"
    expect_eq "exit code" 0 "$status"
    expect_eq "description and resources" "$expected" "$(printf '%s' "$out" | tr -d '\r')"
    ;;

  test-mode)
    # A prefix of its own (kept between runs: it takes seconds to make), so that the key never
    # reaches the tests that run beside this one.
    export ZZ_WINEPREFIX="$work.wineprefix"
    key='HKLM\Software\Ferlux\TestMode'
    "$wine_run" reg add "$key" /f >/dev/null 2>&1 || fail "reg add $key"
    # Whatever happens, the key goes, and so does this prefix's Wine server.
    trap '"$wine_run" reg delete "$key" /f >/dev/null 2>&1 || true; WINEPREFIX=$ZZ_WINEPREFIX wineserver -k >/dev/null 2>&1 || true' EXIT
    status=0
    "$wine_run" "$bin/zz-wine-host.exe" no-aperture.gtl >stdout.bin 2>stderr.txt || status=$?
    expect_eq "exit code in test mode" 1 "$status"
    # Exactly one line and nothing else; the editor's standard output is in text mode, so CR LF.
    printf 'ShowDialogWithCaption withError Aperture Table Not Found\r\n' >expected.bin
    cmp -s expected.bin stdout.bin || fail "standard output in test mode: $(od -c stdout.bin | head -5)"
    "$wine_run" reg delete "$key" /f >/dev/null 2>&1 || fail "reg delete $key"
    trap 'WINEPREFIX=$ZZ_WINEPREFIX wineserver -k >/dev/null 2>&1 || true' EXIT
    # Without the key the same file reaches the dialog (kept off the screen by the host) and goes on.
    host zz-wine-host.exe no-aperture.gtl
    expect_eq "exit code without test mode" 3 "$status"
    expect_eq "summary without test mode" "recognised=1 result=0 dialogs=1 objects=0 current_board_objects=0 progress=1/1/65/48" \
      "$(printf '%s' "$out" | tr -d '\r')"
    ;;

  no-server)
    host zz-wine-host.exe --no-server examples/board.gtl
    expect_eq "exit code" 0 "$status"
    expect_eq "summary" "recognised=1 result=1 dialogs=0" "$(printf '%s' "$out" | tr -d '\r')"
    # The message routine does not need the PCB server.
    host zz-wine-host.exe --no-server no-aperture.gtl
    expect_eq "exit code, no aperture" 3 "$status"
    expect_eq "summary, no aperture" "recognised=1 result=0 dialogs=1" "$(printf '%s' "$out" | tr -d '\r')"
    ;;

  no-client)
    host zz-wine-host-noclient.exe examples/board.gtl --json board.json
    expect_eq "exit code" 3 "$status"
    expect_eq "summary" "recognised=0 result=0 dialogs=0 objects=0 current_board_objects=0 progress=0/0/0/0" \
      "$(printf '%s' "$out" | tr -d '\r')"
    expect_eq "dump" '{"format":"zizozudu-board/1","file":"examples/board.gtl","recognised":false,"result":false,"messages":[],"current_layer":1,"objects":[]}' \
      "$(cat board.json)"
    ;;

  boards)
    host zz-wine-host.exe examples/board.gtl --json current.json
    expect_eq "board 0: exit code" 0 "$status"
    expect_eq "board 0: summary" "recognised=1 result=1 dialogs=0 objects=18 current_board_objects=18 progress=1/1/760/714" \
      "$(printf '%s' "$out" | tr -d '\r')"
    # Another board by its handle: everything lands there, the current board stays empty.
    host zz-wine-host.exe examples/board.gtl --board second --json second.json
    expect_eq "second board: summary" "recognised=1 result=1 dialogs=0 objects=18 current_board_objects=0 progress=1/1/760/714" \
      "$(printf '%s' "$out" | tr -d '\r')"
    cmp -s current.json second.json || fail "the second board's dump differs from the current board's"
    # A second board made current, passed as 0.
    host zz-wine-host.exe examples/board.gtl --board second-current --json second-current.json
    expect_eq "second board made current: summary" \
      "recognised=1 result=1 dialogs=0 objects=18 current_board_objects=18 progress=1/1/760/714" \
      "$(printf '%s' "$out" | tr -d '\r')"
    cmp -s current.json second-current.json || fail "the dump of the second board made current differs"
    # A handle the editor does not know: nothing is placed anywhere, and nothing breaks.
    host zz-wine-host.exe examples/board.gtl --board 12345
    expect_eq "unknown board: exit code" 0 "$status"
    expect_eq "unknown board: summary" "recognised=1 result=1 dialogs=0 objects=-1 current_board_objects=0 progress=1/1/760/714" \
      "$(printf '%s' "$out" | tr -d '\r')"
    # The current layer receives every object, on another board too.
    host zz-wine-host.exe examples/board.gtl --board second --layer 32 --json layer32.json
    expect_eq "layer 32: exit code" 0 "$status"
    grep -q '"current_layer":32,' layer32.json || fail "layer 32: the dump's current layer"
    [ "$(grep -c '"layer":32,' layer32.json)" = 18 ] || fail "layer 32: not every object on layer 32"
    if [ -n "$native" ] && [ -x "$native" ]; then
      "$native" import examples/board.gtl --layer 32 --json native-layer32.json --quiet --no-left-out
      # The plug-in has no counts of ignored statements to give the Wine host; compare without them.
      sed -i -E '$ s/\],"ignored":\{[^}]*\}\}$/]}/' native-layer32.json
      cmp -s native-layer32.json layer32.json || fail "layer 32: the native tool's dump differs"
    fi
    ;;

  late-server)
    host zz-wine-host.exe examples/keyed/panel.gtl --json early.json
    expect_eq "loaded first: exit code" 0 "$status"
    host zz-wine-host.exe examples/keyed/panel.gtl --late-server --json late.json
    expect_eq "loaded late: exit code" 0 "$status"
    grep -q '"kind":"pad"' late.json || fail "loaded late: no objects placed"
    cmp -s early.json late.json || fail "the dump differs when ZetPcb.dll is loaded after the plug-in"
    ;;

  strict)
    # The checks see what they are for: callees that change the control word, EBX, EBP or the
    # stack pointer are caught, a clean one passes.
    host zz-wine-host.exe --strict-self-test
    expect_eq "strict self-test: exit code" 0 "$status"
    printf '%s\n' "$out" | tr -d '\r' >self-test.txt
    grep -q '^strict self-test: passed$' self-test.txt || fail "strict self-test: $(cat self-test.txt)"

    # Numbers that overflow or divide by zero on the way: a huge size in both table-file formats,
    # a huge aperture, a 60-digit one, arcs of zero radius, a fill beyond the board's range.
    mkdir -p overflow
    printf 'Kolvex Aperture File\r\nDCode=10|XSize=1e305mil|YSize=1e305mil|Shape=Round\r\n' >overflow/keyed.Atl
    printf 'D10 CIRCULAR 1e305 1e305\r\n' >overflow/plain.Abr
    rs274d='%%FSLAX24Y24*%%\r\nD10*\r\nX0Y0D03*\r\nX100Y0D01*\r\n'
    header='%%FSLAX24Y24*%%\r\n%%MOIN*%%\r\n'
    printf "$rs274d" >overflow/keyed.gtl
    printf "$rs274d" >overflow/plain.gbr
    printf "$header"'%%ADD10C,1e39*%%\r\nX0Y0D03*\r\n' >overflow/add.gtl
    printf "$header"'%%ADD10C,%s*%%\r\nX0Y0D03*\r\n' "$(printf '9%.0s' $(seq 60))" >overflow/digits.gtl
    printf "$header"'%%ADD10C,0.01*%%\r\nX0Y0D02*\r\nG03X0Y0I0J0D01*\r\nG75*\r\nG02X0Y0I0J0D01*\r\n' >overflow/arcs.gtl
    printf '%%FSLAX34Y34*%%\r\n%%MOIN*%%\r\n%%ADD11R,200X200*%%\r\nX-2000000Y0D02*\r\nX2000000Y0D01*\r\n' >overflow/fill.gtl
    [ -n "$generator" ] || { echo "scenarios.sh strict: --generator is needed" >&2; exit 2; }
    "$wine_run" "$generator" corpus --seed 20240923 --count 150 --out gen --eol varied --rough >corpus.log 2>&1 ||
      { cat corpus.log >&2; exit 1; }
    mapfile -t files < <(find overflow examples gen -type f | LC_ALL=C sort)
    mkdir -p strict native
    : >batch.txt
    for i in "${!files[@]}"; do printf '%s\t%s\n' "${files[$i]}" "strict/$i.json" >>batch.txt; done
    host zz-wine-host.exe --strict --batch batch.txt
    tr -d '\r' <stderr.txt >strict.log
    # A process that ends before the batch's last line, whatever its exit code, did not finish.
    crashes=0
    if ! { [ "$status" = 0 ] || [ "$status" = 5 ]; } || ! grep -qx "zz-wine-host: ${#files[@]} files imported" strict.log; then
      crashes=1
      fail "the strict host ended (exit code $status) on $(sed -n 's/^zz-wine-host: importing //p' strict.log | tail -1)"
    fi
    figures=$(sed -n 's/^zz-wine-host: strict calls=[0-9]* //p' strict.log)
    cw=$(printf '%s' "$figures" | sed -n 's/.*control_word_changes=\([0-9]*\).*/\1/p')
    regs=$(printf '%s' "$figures" | sed -n 's/.*register_changes=\([0-9]*\).*/\1/p')
    # Every file ends with the clean message or a sound board, the native tool's where there is one.
    unsound=0 same=0 compared=0
    for i in "${!files[@]}"; do
      dump=strict/$i.json
      if [ ! -s "$dump" ] || [ "$(tail -c 3 "$dump" | tr -d '\n')" != ']}' ]; then unsound=$((unsound + 1)); continue; fi
      if grep -q '"result":false' "$dump" && grep -q '"recognised":true' "$dump" && grep -q '"messages":\[\]' "$dump"; then
        unsound=$((unsound + 1))
        fail "${files[$i]}: import false without a message"
      fi
      if [ -n "$native" ] && [ -x "$native" ]; then
        "$native" import "${files[$i]}" --json "native/$i.json" --quiet --no-left-out >/dev/null 2>&1 || true
        sed -i -E '$ s/\],"ignored":\{[^}]*\}\}$/]}/' "native/$i.json"
        compared=$((compared + 1))
        if cmp -s "native/$i.json" "$dump"; then same=$((same + 1)); else fail "${files[$i]}: differs from the native tool's dump"; fi
      fi
    done
    echo "strict host: files=${#files[@]} crashes=$crashes control_word_changes=${cw:-?} register_changes=${regs:-?}" \
      "unsound=$unsound same_as_native=$same/$compared"
    expect_eq "control-word changes" 0 "${cw:-missing}"
    expect_eq "register changes" 0 "${regs:-missing}"
    expect_eq "unsound dumps" 0 "$unsound"
    ;;

  wrap)
    host zz-wine-plugin-probe.exe wrap
    printf '%s\n' "$out" | tr -d '\r'
    expect_eq "wrap: exit code" 0 "$status"
    printf '%s' "$out" | grep -q 'result in EAX a5a5a5' || fail "ZetPcb.dll's byte results leave EAX's upper bits clear"
    ;;

  failing-creation)
    host zz-wine-host.exe examples/board.gtl --json all.json
    expect_eq "every creation: exit code" 0 "$status"
    host zz-wine-host.exe examples/board.gtl --fail-creation 2 --json half.json
    expect_eq "every second creation failing: exit code" 0 "$status"
    expect_eq "every second creation failing: summary" \
      "recognised=1 result=1 dialogs=0 objects=9 current_board_objects=9 progress=1/1/760/714" \
      "$(printf '%s' "$out" | tr -d '\r')"
    grep -q '"result":true' half.json || fail "every second creation failing: result"
    # What is placed is placed as it would be with every creation succeeding.
    grep '^{"kind"' half.json | sed 's/,$//' >half.txt
    grep '^{"kind"' all.json | sed 's/,$//' >all.txt
    missing=$(grep -vxFf all.txt half.txt || true)
    expect_eq "objects placed unlike the full import" "" "$missing"
    ;;

  absent-entry)
    start=$SECONDS
    host zz-wine-plugin-probe.exe absent examples/board.gtl examples/keyed/panel.gtl
    printf '%s\n' "$out" | tr -d '\r' >absent.txt
    cat absent.txt
    expect_eq "absent entry points: exit code" 0 "$status"
    grep -q '^every entry point: result=1 objects=' absent.txt || fail "the import with every entry point"
    [ "$(grep -c '^without PcbApi_' absent.txt)" -ge 70 ] || fail "not every entry point hidden in turn"
    # Nothing can be placed without creating or adding objects; the file is still read to its end.
    grep -q '^without PcbApi_CreateObject: result=1 objects=0 ' absent.txt || fail "without PcbApi_CreateObject"
    grep -q '^without PcbApi_AddObjectToContainer: result=1 objects=0 ' absent.txt || fail "without PcbApi_AddObjectToContainer"
    echo "absent-entry: $((SECONDS - start)) s"
    ;;

  *)
    echo "scenarios.sh: unknown scenario '$scenario'" >&2
    exit 2
    ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "scenarios.sh $scenario: $failures check(s) failed; host output in $work/stderr.txt" >&2
  exit 1
fi
echo "scenarios.sh $scenario: passed"
