#!/usr/bin/env bash
# Checks the release packages as a user gets them (scripts/package.sh runs it after making them).
# Usage: scripts/check-packages.sh Zizozudu-<version>-win32.zip zizozudu_<version>_amd64.deb
#   zip: the files a user needs; the DLL without debug sections but linked to its .debug file, which
#        has them; the three exports, undecorated; only system DLLs imported; the version resource.
#   deb: the package's name, version and dependencies, exactly the files it should hold; unpacked
#        into a scratch folder (dpkg-deb -x), the tool prints its version and imports an example.
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
expected_files="Zizozudu-$version-win32/INSTALL.txt Zizozudu-$version-win32/LICENSE.txt Zizozudu-$version-win32/Zizozudu.dll Zizozudu-$version-win32/Zizozudu.dll.debug"
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

# ---- the tool's deb ----
[ "$(basename "$deb")" = "zizozudu_${version}_amd64.deb" ] || fail "deb name $(basename "$deb") (version $version)"
[ "$(dpkg-deb -f "$deb" Package)" = zizozudu ] || fail "deb package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "deb version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6; do
  grep -q "$library" <<<"$depends" || fail "deb does not depend on $library (Depends: $depends)"
done
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | LC_ALL=C sort | xargs)
[ "$files" = "./usr/bin/zizozudu ./usr/share/doc/zizozudu/copyright ./usr/share/man/man1/zizozudu.1.gz" ] ||
  fail "deb contents: $files"
dpkg-deb -x "$deb" "$work/root"
tool="$work/root/usr/bin/zizozudu"
if [ -x "$tool" ]; then
  [ "$("$tool" --version | head -n 1)" = "zizozudu $version" ] || fail "zizozudu --version: $("$tool" --version | head -n 1)"
  status=0
  summary=$("$tool" import "$root/examples/board.gtl") || status=$?
  [ "$status" -eq 0 ] || fail "zizozudu import examples/board.gtl: exit code $status"
  grep -q '^Objects: *18:' <<<"$summary" || fail "zizozudu import examples/board.gtl: $summary"
  file "$tool" | grep -q 'stripped' && ! file "$tool" | grep -q 'not stripped' || fail "the installed tool is not stripped"
fi
zcat "$work/root/usr/share/man/man1/zizozudu.1.gz" 2>/dev/null | grep -q '^\.SH COMMANDS' || fail "the man page lacks its COMMANDS section"
cmp -s "$work/root/usr/share/doc/zizozudu/copyright" "$root/LICENSE" || fail "copyright is not the LICENSE"

if [ "$failures" -ne 0 ]; then
  echo "check-packages: $failures failure(s)" >&2
  exit 1
fi
echo "check-packages: $(basename "$zip") and $(basename "$deb") are as they should be"
