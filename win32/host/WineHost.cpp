// zz-wine-host: plays the editor for the plug-in under Wine. It exports the client file services
// from its own executable, loads the stand-in PCB server as ZetPcb.dll, loads Zizozudu.dll and calls
// its three exports by name with length-prefixed texts, then writes the stand-in's board dump.
// Built twice: zz-wine-host.exe with the client services, zz-wine-host-noclient.exe without them.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "host/CallConv.h"
#include "host/ShortString.h"
#include "win32/host/DialogInterception.h"
#include "win32/standin/ZetPcbTestApi.h"

namespace zzhost {
namespace {

constexpr int kExitImported = 0;
constexpr int kExitUsage = 2;
constexpr int kExitImportFailed = 3;
constexpr int kExitSetupFailed = 4;

constexpr const char* kUsage =
    "usage: zz-wine-host [options] FILE\n"
    "       zz-wine-host [options] --batch LIST\n"
    "       zz-wine-host --describe\n"
    "Imports FILE into the stand-in editor through Zizozudu.dll, as the editor does.\n"
    "  --json OUT|-        write the target board's dump (zizozudu-board/1)\n"
    "  --board WHICH       0 (the current board; default), second (a new board, by its handle),\n"
    "                      second-current (a new board made current, passed as 0), or a handle\n"
    "  --layer N           the target board's current layer (classic layer number 0..82)\n"
    "  --no-server         do not load ZetPcb.dll\n"
    "  --late-server       load ZetPcb.dll after Zizozudu.dll, before the import\n"
    "  --progress          draw the stand-in's progress bar (on a console)\n"
    "  --plugin PATH       Zizozudu.dll to load (default: beside this program)\n"
    "  --server PATH       ZetPcb.dll to load (default: beside this program)\n"
    "  --batch LIST        LIST holds lines \"FILE<TAB>OUT\": each FILE is imported with the plug-in\n"
    "                      loaded afresh (as in a new process) and its dump written to OUT\n"
    "  --describe          print the description export, the DESCRIPTION resource and the version\n"
    "A summary line goes to standard output (to standard error with --json -).\n"
    "Exit code: 0 imported, 3 import false,"
    " 2 usage error, 4 the plug-in or the stand-in could not be loaded.\n";

using TFileName = zz::TShortString<255>;
using DescriptionFn = const char*(ZZ_WINAPI*)();
using RecognisedFn = uint8_t(ZZ_WINAPI*)(const TFileName* fileName);
using ImportFn = uint8_t(ZZ_WINAPI*)(const TFileName* fileName, const TFileName* reserved, int32_t boardHandle);

struct Options {
  std::string File;
  std::optional<std::string> JsonOut;
  std::string Board = "0";
  std::optional<int32_t> Layer;
  bool NoServer = false;
  bool LateServer = false;
  bool Progress = false;
  std::string PluginPath;
  std::string ServerPath;
  std::optional<std::string> BatchList;
  bool Describe = false;
};

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  const std::size_t cut = folder.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

std::string LastErrorText() { return "error " + std::to_string(GetLastError()); }

// ---- The stand-in PCB server ----

class StandIn {
 public:
  bool Load(const std::string& path, std::string& error) {
    module_ = LoadLibraryA(path.c_str());
    if (module_ == nullptr) {
      error = "cannot load " + path + " (" + LastErrorText() + ")";
      return false;
    }
    bool all = true;
    auto bind = [&](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
          reinterpret_cast<void*>(GetProcAddress(module_, name)));
      if (fn == nullptr) {
        error = path + " does not export " + name;
        all = false;
      }
    };
    bind(Reset, "ZetStandIn_Reset");
    bind(CreateBoard, "ZetStandIn_CreateBoard");
    bind(SetCurrentLayer, "ZetStandIn_SetCurrentLayer");
    bind(ObjectCount, "ZetStandIn_ObjectCount");
    bind(AddMessage, "ZetStandIn_AddMessage");
    bind(MessageCount, "ZetStandIn_MessageCount");
    bind(GetProgress, "ZetStandIn_GetProgress");
    bind(WriteBoardJson, "ZetStandIn_WriteBoardJson");
    return all;
  }
  bool Loaded() const { return module_ != nullptr; }

  std::optional<std::string> BoardJson(int32_t board, const std::string& file, bool recognised, bool result) const {
    const int32_t length = WriteBoardJson(board, file.c_str(), recognised, result, nullptr, 0);
    if (length < 0) return std::nullopt;
    std::string json(static_cast<std::size_t>(length) + 1, '\0');
    if (WriteBoardJson(board, file.c_str(), recognised, result, json.data(), length + 1) != length) return std::nullopt;
    json.resize(static_cast<std::size_t>(length));
    return json;
  }

  decltype(&ZetStandIn_Reset) Reset = nullptr;
  decltype(&ZetStandIn_CreateBoard) CreateBoard = nullptr;
  decltype(&ZetStandIn_SetCurrentLayer) SetCurrentLayer = nullptr;
  decltype(&ZetStandIn_ObjectCount) ObjectCount = nullptr;
  decltype(&ZetStandIn_AddMessage) AddMessage = nullptr;
  decltype(&ZetStandIn_MessageCount) MessageCount = nullptr;
  decltype(&ZetStandIn_GetProgress) GetProgress = nullptr;
  decltype(&ZetStandIn_WriteBoardJson) WriteBoardJson = nullptr;

 private:
  HMODULE module_ = nullptr;
};

StandIn g_standIn;

// Messages the plug-in showed go where the editor's test harness would see them: the stand-in.
void RecordDialog(const InterceptedDialog& dialog) {
  if (g_standIn.Loaded()) g_standIn.AddMessage(dialog.Text.c_str());
}

// ---- The plug-in ----

class Plugin {
 public:
  bool Load(const std::string& path, std::string& error) {
    module_ = LoadLibraryA(path.c_str());
    if (module_ == nullptr) {
      error = "cannot load " + path + " (" + LastErrorText() + ")";
      return false;
    }
    if (!InterceptDialogs(module_, &RecordDialog, error)) {
      error = path + ": " + error;
      return false;
    }
    Description = reinterpret_cast<DescriptionFn>(Entry("GetPcbImporterDescription"));
    Recognised = reinterpret_cast<RecognisedFn>(Entry("RecognisedPCBFile"));
    Import = reinterpret_cast<ImportFn>(Entry("ImportFileIntoPcb"));
    if (Description == nullptr || Recognised == nullptr || Import == nullptr) {
      error = path + " lacks one of GetPcbImporterDescription, RecognisedPCBFile, ImportFileIntoPcb";
      return false;
    }
    return true;
  }

  // Unloads the plug-in completely, so that the next Load starts from a fresh image.
  bool Unload(std::string& error) {
    char name[MAX_PATH] = {};
    GetModuleFileNameA(module_, name, MAX_PATH);
    if (FreeLibrary(module_) == 0) {
      error = "FreeLibrary failed (" + LastErrorText() + ")";
      return false;
    }
    module_ = nullptr;
    if (GetModuleHandleA(name) != nullptr) {
      error = std::string(name) + " is still loaded after FreeLibrary";
      return false;
    }
    return true;
  }

  HMODULE Module() const { return module_; }
  DescriptionFn Description = nullptr;
  RecognisedFn Recognised = nullptr;
  ImportFn Import = nullptr;

 private:
  void* Entry(const char* name) const { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }
  HMODULE module_ = nullptr;
};

struct Outcome {
  bool Recognised = false;
  bool Result = false;
};

// The editor's sequence: ask whether the file is ours, then import it.
Outcome RunImport(const Plugin& plugin, const std::string& file, int32_t boardHandle) {
  const TFileName fileName(file);
  const TFileName reserved;
  Outcome outcome;
  outcome.Recognised = plugin.Recognised(&fileName) != 0;
  outcome.Result = plugin.Import(&fileName, &reserved, boardHandle) != 0;
  return outcome;
}

bool WriteText(const std::string& path, const std::string& text, std::string& error) {
  if (path == "-") {
    // The dump's bytes exactly, without line-end translation. Only now: until the import is over,
    // standard output stays in text mode, as the editor's is.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (out.fail()) error = "cannot write " + path;
  return !out.fail();
}

// ---- Options ----

std::optional<int32_t> ParseInt(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--json") {
      if (!value(text)) return false;
      options.JsonOut = text;
    } else if (arg == "--board") {
      if (!value(options.Board)) return false;
      if (options.Board != "second" && options.Board != "second-current" && !ParseInt(options.Board)) {
        error = "--board takes 0, second, second-current or a handle";
        return false;
      }
    } else if (arg == "--layer") {
      if (!value(text)) return false;
      options.Layer = ParseInt(text);
      if (!options.Layer || *options.Layer < 0 || *options.Layer > 82) {
        error = "--layer takes a classic layer number, 0 to 82";
        return false;
      }
    } else if (arg == "--no-server") {
      options.NoServer = true;
    } else if (arg == "--late-server") {
      options.LateServer = true;
    } else if (arg == "--progress") {
      options.Progress = true;
    } else if (arg == "--plugin") {
      if (!value(options.PluginPath)) return false;
    } else if (arg == "--server") {
      if (!value(options.ServerPath)) return false;
    } else if (arg == "--batch") {
      if (!value(text)) return false;
      options.BatchList = text;
    } else if (arg == "--describe") {
      options.Describe = true;
    } else if (arg == "--help") {
      error = "";
      return false;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      error = "unknown option " + arg;
      return false;
    } else if (options.File.empty()) {
      options.File = arg;
    } else {
      error = "more than one FILE";
      return false;
    }
  }
  const bool needsFile = !options.Describe && !options.BatchList;
  if (needsFile == options.File.empty()) {
    error = needsFile ? "no FILE given" : "FILE goes with neither --batch nor --describe";
    return false;
  }
  if (options.NoServer && options.LateServer) {
    error = "--no-server and --late-server exclude each other";
    return false;
  }
  if (options.NoServer && (options.JsonOut || options.BatchList || options.Layer || options.Board != "0")) {
    error = "--json, --batch, --layer and --board need the stand-in (no --no-server)";
    return false;
  }
  const std::string folder = ProgramFolder();
  if (options.PluginPath.empty()) options.PluginPath = folder + "Zizozudu.dll";
  if (options.ServerPath.empty()) options.ServerPath = folder + "ZetPcb.dll";
  return true;
}

// ---- Modes ----

// Prepares the stand-in's boards; returns the handle to pass to the import and the board to dump.
bool PrepareBoards(const Options& options, int32_t& importHandle, int32_t& dumpBoard, std::string& error) {
  g_standIn.Reset(options.Progress ? 1 : 0);
  if (options.Board == "second" || options.Board == "second-current") {
    const bool makeCurrent = options.Board == "second-current";
    const int32_t second = g_standIn.CreateBoard(makeCurrent ? 1 : 0);
    if (second == 0) {
      error = "the stand-in made no second board";
      return false;
    }
    importHandle = makeCurrent ? 0 : second;
    dumpBoard = second;
  } else {
    importHandle = *ParseInt(options.Board);
    dumpBoard = importHandle;
  }
  if (options.Layer && g_standIn.SetCurrentLayer(dumpBoard, *options.Layer) == 0) {
    error = "the stand-in has no board " + std::to_string(dumpBoard) + " to set the layer of";
    return false;
  }
  return true;
}

std::string Summary(const Outcome& outcome, int32_t board) {
  std::string summary = "recognised=" + std::to_string(outcome.Recognised ? 1 : 0) +
                        " result=" + std::to_string(outcome.Result ? 1 : 0) +
                        " dialogs=" + std::to_string(InterceptedDialogs().size());
  if (g_standIn.Loaded()) {
    int32_t inits = 0;
    int32_t finishes = 0;
    int32_t total = 0;
    int64_t steps = 0;
    g_standIn.GetProgress(&inits, &finishes, &total, &steps);
    summary += " objects=" + std::to_string(g_standIn.ObjectCount(board)) +
               " current_board_objects=" + std::to_string(g_standIn.ObjectCount(0)) +
               " progress=" + std::to_string(inits) + "/" + std::to_string(finishes) + "/" + std::to_string(total) +
               "/" + std::to_string(steps);
  }
  return summary;
}

int RunSingle(const Options& options) {
  std::string error;
  int32_t importHandle = 0;
  int32_t dumpBoard = 0;
  if (!options.NoServer && !options.LateServer) {
    if (!g_standIn.Load(options.ServerPath, error) || !PrepareBoards(options, importHandle, dumpBoard, error)) {
      std::cerr << "zz-wine-host: " << error << '\n';
      return kExitSetupFailed;
    }
  }
  Plugin plugin;
  if (!plugin.Load(options.PluginPath, error)) {
    std::cerr << "zz-wine-host: " << error << '\n';
    return kExitSetupFailed;
  }
  // The editor loads its PCB server first; this order shows that the plug-in binds it on first use.
  if (options.LateServer) {
    if (!g_standIn.Load(options.ServerPath, error) || !PrepareBoards(options, importHandle, dumpBoard, error)) {
      std::cerr << "zz-wine-host: " << error << '\n';
      return kExitSetupFailed;
    }
  }

  const Outcome outcome = RunImport(plugin, options.File, importHandle);

  for (const InterceptedDialog& dialog : InterceptedDialogs()) {
    std::cerr << "zz-wine-host: dialog \"" << dialog.Caption << "\": " << dialog.Text << '\n';
  }
  if (options.JsonOut) {
    const std::optional<std::string> json =
        g_standIn.BoardJson(dumpBoard, options.File, outcome.Recognised, outcome.Result);
    if (!json) {
      std::cerr << "zz-wine-host: the stand-in has no board " << dumpBoard << " to dump\n";
      return kExitSetupFailed;
    }
    if (!WriteText(*options.JsonOut, *json, error)) {
      std::cerr << "zz-wine-host: " << error << '\n';
      return kExitUsage;
    }
  }
  // The summary goes to standard output unless the dump does.
  (options.JsonOut && *options.JsonOut == "-" ? std::cerr : std::cout) << Summary(outcome, dumpBoard) << std::endl;
  return outcome.Result ? kExitImported : kExitImportFailed;
}

// One plug-in image per file: the plug-in's modal state lives as long as the image, so each file
// starts from the state of a fresh process, as the native tool's one-file runs do.
int RunBatch(const Options& options) {
  std::string error;
  if (!g_standIn.Load(options.ServerPath, error)) {
    std::cerr << "zz-wine-host: " << error << '\n';
    return kExitSetupFailed;
  }
  std::ifstream list(*options.BatchList, std::ios::binary);
  if (!list) {
    std::cerr << "zz-wine-host: cannot read " << *options.BatchList << '\n';
    return kExitUsage;
  }
  std::string line;
  int count = 0;
  while (std::getline(list, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      std::cerr << "zz-wine-host: " << *options.BatchList << ": no tab in \"" << line << "\"\n";
      return kExitUsage;
    }
    const std::string file = line.substr(0, tab);
    const std::string out = line.substr(tab + 1);
    int32_t importHandle = 0;
    int32_t dumpBoard = 0;
    Plugin plugin;
    if (!PrepareBoards(options, importHandle, dumpBoard, error) || !plugin.Load(options.PluginPath, error)) {
      std::cerr << "zz-wine-host: " << error << '\n';
      return kExitSetupFailed;
    }
    const Outcome outcome = RunImport(plugin, file, importHandle);
    const std::optional<std::string> json = g_standIn.BoardJson(dumpBoard, file, outcome.Recognised, outcome.Result);
    if (!json || !WriteText(out, *json, error) || !plugin.Unload(error)) {
      std::cerr << "zz-wine-host: " << file << ": " << (json ? error : "no board to dump") << '\n';
      return kExitSetupFailed;
    }
    ++count;
  }
  std::cerr << "zz-wine-host: " << count << " files imported\n";
  return kExitImported;
}

std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::string VersionValue(const std::vector<char>& info, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) == 0 || value == nullptr) {
    return "(none)";
  }
  return std::string(value);
}

// What the editor reads of the plug-in before it imports anything.
int RunDescribe(const Options& options) {
  std::string error;
  Plugin plugin;
  if (!plugin.Load(options.PluginPath, error)) {
    std::cerr << "zz-wine-host: " << error << '\n';
    return kExitSetupFailed;
  }
  std::cout << "description: " << plugin.Description() << '\n';

  HRSRC resource = FindResourceA(plugin.Module(), "DESCRIPTION", MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  HGLOBAL loaded = resource != nullptr ? LoadResource(plugin.Module(), resource) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    std::cout << "resource DESCRIPTION: not found\n";
  } else {
    const DWORD size = SizeofResource(plugin.Module(), resource);
    std::cout << "resource DESCRIPTION: RCDATA, " << size << " bytes:";
    char hex[4];
    for (DWORD i = 0; i < size; ++i) {
      std::snprintf(hex, sizeof hex, "%02x", static_cast<const unsigned char*>(bytes)[i]);
      std::cout << (i % 2 == 0 ? " " : "") << hex;
    }
    std::cout << '\n';
    std::cout << "resource DESCRIPTION as UTF-16: "
              << Utf8(static_cast<const wchar_t*>(bytes), static_cast<int>(size / sizeof(wchar_t))) << '\n';
  }

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(options.PluginPath.c_str(), &ignored);
  std::vector<char> info(size);
  if (size == 0 || GetFileVersionInfoA(options.PluginPath.c_str(), 0, size, info.data()) == 0) {
    std::cout << "version: not found\n";
  } else {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) != 0 && fixed != nullptr) {
      std::cout << "version: file " << HIWORD(fixed->dwFileVersionMS) << '.' << LOWORD(fixed->dwFileVersionMS) << '.'
                << HIWORD(fixed->dwFileVersionLS) << '.' << LOWORD(fixed->dwFileVersionLS) << '\n';
    }
    std::cout << "version: ProductName " << VersionValue(info, "ProductName") << '\n';
    std::cout << "version: FileVersion " << VersionValue(info, "FileVersion") << '\n';
  }
  return kExitImported;
}

}  // namespace
}  // namespace zzhost

int main(int argc, char** argv) {
  // No crash or file-error boxes: there is no one to click them away.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

  zzhost::Options options;
  std::string error;
  if (!zzhost::ParseOptions(argc, argv, options, error)) {
    if (error.empty()) {
      std::cout << zzhost::kUsage;
      return 0;
    }
    std::cerr << "zz-wine-host: " << error << '\n' << zzhost::kUsage;
    return zzhost::kExitUsage;
  }
  try {
    if (options.Describe) return zzhost::RunDescribe(options);
    if (options.BatchList) return zzhost::RunBatch(options);
    return zzhost::RunSingle(options);
  } catch (const std::exception& e) {
    std::cerr << "zz-wine-host: " << e.what() << '\n';
    return zzhost::kExitSetupFailed;
  }
}
