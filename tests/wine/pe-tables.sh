# Sourced: reads the export and import tables of a Windows binary with the MinGW objdump ($objdump),
# and fails ($fail, a function of the caller) on an import the editor's machine may not have.
exports_of() { "$objdump" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n -E 's/^\s*\[ *[0-9]+\] //p'; }
imports_of() { "$objdump" -p "$1" | sed -n -E 's/^\s*DLL Name: //p'; }

# Only DLLs that every Windows has: no MinGW runtime (libgcc, libstdc++, libwinpthread) beside it.
check_system_imports() {
  local imports dll
  imports=$(imports_of "$1")
  [ -n "$imports" ] || fail "$1: no import table found"
  for dll in $imports; do
    case "${dll,,}" in
      kernel32.dll | user32.dll | advapi32.dll | msvcrt.dll | version.dll) ;;
      *) fail "$1 imports $dll, which is not a Windows system DLL" ;;
    esac
  done
}
