#!/usr/bin/env bash
# Checks the release packages as a user gets them (scripts/package.sh runs it after making them).
# Usage: scripts/check-packages.sh Zizozudu-<version>-win32.zip zizozudu_<version>_amd64.deb
#   zip: the files a user needs; the DLL without debug sections but linked to its .debug file, which
#        has them; the three exports, undecorated; only system DLLs imported; the version resource;
#        zizozudu.exe importing only system DLLs and, under Wine, importing an example.
#   deb: the package's name, version and dependencies, exactly the files it should hold; no lintian
#        error or warning; unpacked into a scratch folder (dpkg-deb -x), the tool prints its version
#        and imports an example; as root, installed with apt-get as a user installs it, the same
#        (and removed again unless it was installed before).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
[ $# -eq 2 ] || { echo "usage: $0 ZIP DEB" >&2; exit 2; }
zip=$(realpath "$1")
deb=$(realpath "$2")
objdump=${ZZ_MINGW_OBJDUMP:-i686-w64-mingw32-objdump}
version=$(sed -n -E 's/^project\(Zizozudu VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")

failures=0
fail() {
  echo "check-packages: FAILED: $*" >&2
  failures=$((failures + 1))
}
# exports_of, imports_of, check_system_imports
source "$root/tests/wine/pe-tables.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---- the plug-in's zip ----
[ "$(basename "$zip")" = "Zizozudu-$version-win32.zip" ] || fail "zip name $(basename "$zip") (version $version)"
(cd "$work" && cmake -E tar xf "$zip")
dir="$work/Zizozudu-$version-win32"
expected_files="Zizozudu-$version-win32/INSTALL.txt Zizozudu-$version-win32/LICENSE.txt Zizozudu-$version-win32/Zizozudu.dll Zizozudu-$version-win32/Zizozudu.dll.debug Zizozudu-$version-win32/zizozudu.exe"
[ "$(cd "$work" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs)" = "$expected_files" ] ||
  fail "zip contents: $(cd "$work" && find . -type f | xargs)"
dll="$dir/Zizozudu.dll"
if [ -f "$dll" ]; then
  sections=$("$objdump" -h "$dll" | awk '$1 ~ /^[0-9]+$/ { print $2 }')
  if grep -q '^\.debug_' <<<"$sections"; then fail "Zizozudu.dll has debug sections: $(grep '^\.debug_' <<<"$sections" | xargs)"; fi
  grep -qx '\.gnu_debuglink' <<<"$sections" || fail "Zizozudu.dll does not name its debug file (.gnu_debuglink)"
  "$objdump" -s -j .gnu_debuglink "$dll" | grep -q 'Zizozudu.dll.d' || fail "the debug link does not name Zizozudu.dll.debug"
  "$objdump" -h "$dir/Zizozudu.dll.debug" | grep -q ' \.debug_info ' || fail "Zizozudu.dll.debug holds no .debug_info"
  exports=$(exports_of "$dll" | LC_ALL=C sort | xargs)
  [ "$exports" = "GetPcbImporterDescription ImportFileIntoPcb RecognisedPCBFile" ] || fail "Zizozudu.dll exports: $exports"
  check_system_imports "$dll"
  strings -e l "$dll" | grep -qx "$version" || fail "no version $version in the DLL's version resource"
fi
grep -q 'Single Gerber Files (\*.g??;\*.g?)' "$dir/INSTALL.txt" || fail "INSTALL.txt does not name the import dialog's entry"
grep -q 'zizozudu import' "$dir/INSTALL.txt" || fail "INSTALL.txt does not say how to use zizozudu.exe"
exe="$dir/zizozudu.exe"
if [ -f "$exe" ]; then
  check_system_imports "$exe"
  if "$objdump" -h "$exe" | grep -q ' \.debug_'; then fail "zizozudu.exe has debug sections"; fi
  # Under Wine, in a prefix of its own unless ZZ_WINEPREFIX says otherwise.
  export ZZ_WINEPREFIX=${ZZ_WINEPREFIX:-$root/build/packages-wineprefix}
  status=0
  summary=$(cd "$root" && "$root/cmake/wine-run.sh" "$exe" import examples/board --quiet --json - 2>&1) || status=$?
  [ "$status" -eq 0 ] || fail "zizozudu.exe import examples/board under Wine: exit code $status: $summary"
  grep -q '"layer":56' <<<"$summary" || fail "zizozudu.exe import examples/board under Wine: no outline on KeepOutLayer"
  WINEPREFIX=$ZZ_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
fi

# ---- the tool's deb ----
[ "$(basename "$deb")" = "zizozudu_${version}_amd64.deb" ] || fail "deb name $(basename "$deb") (version $version)"
[ "$(dpkg-deb -f "$deb" Package)" = zizozudu ] || fail "deb package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "deb version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6; do
  grep -q "$library" <<<"$depends" || fail "deb does not depend on $library (Depends: $depends)"
done
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | LC_ALL=C sort | xargs)
[ "$files" = "./usr/bin/zizozudu ./usr/share/doc/zizozudu/changelog.gz ./usr/share/doc/zizozudu/copyright ./usr/share/man/man1/zizozudu.1.gz" ] ||
  fail "deb contents: $files"
if command -v lintian >/dev/null 2>&1; then
  findings=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^[EW]: ' || true)
  [ -z "$findings" ] || fail "lintian: $findings"
else
  fail "lintian is not installed (scripts/install-deps.sh installs it)"
fi
# The tool as installed at TOOL: its version, and an example board, each file on its layer.
check_tool() {
  local tool=$1 status=0 summary
  [ "$("$tool" --version | head -n 1)" = "zizozudu $version" ] || fail "$tool --version: $("$tool" --version | head -n 1)"
  summary=$("$tool" import "$root/examples/board.gtl") || status=$?
  [ "$status" -eq 0 ] || fail "$tool import examples/board.gtl: exit code $status"
  grep -q '^Objects: *18:' <<<"$summary" || fail "$tool import examples/board.gtl: $summary"
  status=0
  summary=$(cd "$root" && "$tool" import examples/board 2>&1) || status=$?
  [ "$status" -eq 0 ] || fail "$tool import examples/board: exit code $status"
  grep -q 'KeepOutLayer (file name .gko)' <<<"$summary" || fail "$tool import examples/board: $summary"
}
dpkg-deb -x "$deb" "$work/root"
tool="$work/root/usr/bin/zizozudu"
if [ -x "$tool" ]; then
  check_tool "$tool"
  file "$tool" | grep -q 'stripped' && ! file "$tool" | grep -q 'not stripped' || fail "the installed tool is not stripped"
fi
zcat "$work/root/usr/share/man/man1/zizozudu.1.gz" 2>/dev/null | grep -q '^\.SH COMMANDS' || fail "the man page lacks its COMMANDS section"
copyright="$work/root/usr/share/doc/zizozudu/copyright"
head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not in the machine-readable format"
grep -q '^License: Expat' "$copyright" && grep -q '^ Permission is hereby granted' "$copyright" ||
  fail "copyright does not hold the license"
zcat "$work/root/usr/share/doc/zizozudu/changelog.gz" | head -n 1 | grep -q "^zizozudu ($version) " ||
  fail "changelog.gz does not begin with version $version (cmake/debian/changelog)"

# Installed as a user installs it; only as root, and never over a copy installed before.
if [ "$(id -u)" -ne 0 ]; then
  echo "check-packages: not root: the .deb is not installed with apt-get (the unpacked copy was checked)"
elif dpkg-query -W -f='${Status}' zizozudu 2>/dev/null | grep -q 'install ok installed'; then
  echo "check-packages: zizozudu is installed already: the .deb is not installed over it"
else
  if DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" </dev/null >"$work/apt.log" 2>&1; then
    check_tool /usr/bin/zizozudu
    man -w zizozudu >/dev/null 2>&1 || [ -f /usr/share/man/man1/zizozudu.1.gz ] || fail "no man page installed"
    if DEBIAN_FRONTEND=noninteractive apt-get remove -y -q zizozudu </dev/null >>"$work/apt.log" 2>&1; then
      echo "check-packages: the .deb installed with apt-get; the installed tool checked; removed again"
    else
      fail "apt-get remove zizozudu: $(tail -n 5 "$work/apt.log")"
    fi
  else
    fail "apt-get install $deb: $(tail -n 5 "$work/apt.log")"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "check-packages: $failures failure(s)" >&2
  exit 1
fi
echo "check-packages: $(basename "$zip") and $(basename "$deb") are as they should be"
