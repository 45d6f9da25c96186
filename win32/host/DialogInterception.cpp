#include "win32/host/DialogInterception.h"

#include <cstring>

namespace zzhost {
namespace {

DialogRecorder g_recorder = nullptr;

std::vector<InterceptedDialog>& Dialogs() {
  static std::vector<InterceptedDialog> dialogs;
  return dialogs;
}

int WINAPI RecordMessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT style) {
  try {
    InterceptedDialog dialog{caption != nullptr ? caption : "", text != nullptr ? text : "", style};
    Dialogs().push_back(dialog);
    if (g_recorder != nullptr) g_recorder(dialog);
  } catch (...) {
    // The plug-in called us; nothing may be thrown back into it.
  }
  return IDOK;
}

template <typename T>
T* At(BYTE* base, DWORD rva) {
  return reinterpret_cast<T*>(base + rva);
}

bool PointSlotAt(IMAGE_THUNK_DATA* slot, void* target) {
  DWORD old = 0;
  if (VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old) == 0) return false;
  slot->u1.Function = reinterpret_cast<ULONG_PTR>(target);
  VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
  return true;
}

}  // namespace

bool InterceptDialogs(HMODULE module, DialogRecorder recorder, std::string& error) {
  g_recorder = recorder;
  BYTE* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (base == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE) {
    error = "not a loaded module";
    return false;
  }
  const auto* nt = At<const IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
  if (nt->Signature != IMAGE_NT_SIGNATURE) {
    error = "no PE header";
    return false;
  }
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return true;  // imports nothing, so shows nothing

  for (auto* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); descriptor->Name != 0;
       ++descriptor) {
    if (_stricmp(At<const char>(base, descriptor->Name), "USER32.dll") != 0) continue;
    if (descriptor->OriginalFirstThunk == 0) {
      error = "USER32 imports without a name table";
      return false;
    }
    auto* names = At<IMAGE_THUNK_DATA>(base, descriptor->OriginalFirstThunk);
    auto* slots = At<IMAGE_THUNK_DATA>(base, descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        error = "a USER32 function imported by ordinal";
        return false;
      }
      const char* name = reinterpret_cast<const char*>(At<IMAGE_IMPORT_BY_NAME>(base, names->u1.AddressOfData)->Name);
      if (std::strcmp(name, "MessageBoxA") == 0) {
        if (!PointSlotAt(slots, reinterpret_cast<void*>(&RecordMessageBoxA))) {
          error = "the import slot of MessageBoxA cannot be written";
          return false;
        }
      } else if (std::strncmp(name, "MessageBox", 10) == 0 || std::strncmp(name, "DialogBox", 9) == 0 ||
                 std::strncmp(name, "CreateDialog", 12) == 0 || std::strncmp(name, "CreateWindow", 12) == 0) {
        error = std::string("the module shows windows through USER32!") + name + ", which is not intercepted";
        return false;
      }
    }
  }
  return true;
}

const std::vector<InterceptedDialog>& InterceptedDialogs() { return Dialogs(); }

}  // namespace zzhost
