#include "win32/host/HostOptions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "win32/host/HostProgram.h"

namespace zzhost {

const char* const kUsage =
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
    "  --fail-creation N   the stand-in fails every N-th object creation (0: none)\n"
    "  --plugin PATH       Zizozudu.dll to load (default: beside this program)\n"
    "  --server PATH       ZetPcb.dll to load (default: beside this program)\n"
    "  --batch LIST        LIST holds lines \"FILE<TAB>OUT\": each FILE is imported with the plug-in\n"
    "                      loaded afresh (as in a new process) and its dump written to OUT\n"
    "  --describe          print the description export, the DESCRIPTION resource and the version\n"
    "  --strict            call the exports with the x87 control word 0x1332 (invalid operation,\n"
    "                      division by zero and overflow trap) and check that each call leaves it,\n"
    "                      the stack pointer and EBX, ESI, EDI, EBP as they were; exit code 5 if not\n"
    "  --strict-self-test  show that those checks see a callee that breaks each rule\n"
    "A summary line goes to standard output (to standard error with --json -).\n"
    "Exit code: 0 imported, 3 import false,"
    " 2 usage error, 4 the plug-in or the stand-in could not be loaded, 5 a strict check failed.\n";

std::optional<int32_t> ParseInt(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

namespace {

// The arguments one by one; an option that takes a value takes the next one.
class Arguments {
 public:
  Arguments(int argc, char** argv) : args_(argv + 1, argv + argc) {}
  bool Next() { return ++i_ < args_.size(); }
  const std::string& Current() const { return args_[i_]; }
  bool Value(std::string& into, std::string& error) {
    if (i_ + 1 >= args_.size()) {
      error = Current() + " needs a value";
      return false;
    }
    into = args_[++i_];
    return true;
  }

 private:
  std::vector<std::string> args_;
  std::size_t i_ = static_cast<std::size_t>(-1);
};

bool ParseStandInOption(Arguments& args, StandInSetup& setup, bool& known, std::string& error) {
  const std::string& arg = args.Current();
  known = true;
  std::string text;
  if (arg == "--board") {
    if (!args.Value(setup.Board, error)) return false;
    if (setup.Board != "second" && setup.Board != "second-current" && !ParseInt(setup.Board)) {
      error = "--board takes 0, second, second-current or a handle";
      return false;
    }
  } else if (arg == "--layer") {
    if (!args.Value(text, error)) return false;
    setup.Layer = ParseInt(text);
    if (!setup.Layer || *setup.Layer < 0 || *setup.Layer > 82) {
      error = "--layer takes a classic layer number, 0 to 82";
      return false;
    }
  } else if (arg == "--progress") {
    setup.Progress = true;
  } else if (arg == "--fail-creation") {
    if (!args.Value(text, error)) return false;
    const std::optional<int32_t> n = ParseInt(text);
    if (!n || *n < 0) {
      error = "--fail-creation takes a whole number, 0 or more";
      return false;
    }
    setup.FailEveryNthCreation = *n;
  } else {
    known = false;
  }
  return true;
}

bool ParseArgument(Arguments& args, Options& options, std::string& error) {
  bool known = false;
  if (!ParseStandInOption(args, options.StandIn, known, error)) return false;
  if (known) return true;
  const std::string& arg = args.Current();
  std::string text;
  if (arg == "--json") {
    if (!args.Value(text, error)) return false;
    options.JsonOut = text;
  } else if (arg == "--no-server") {
    options.NoServer = true;
  } else if (arg == "--late-server") {
    options.LateServer = true;
  } else if (arg == "--plugin") {
    return args.Value(options.PluginPath, error);
  } else if (arg == "--server") {
    return args.Value(options.ServerPath, error);
  } else if (arg == "--batch") {
    if (!args.Value(text, error)) return false;
    options.BatchList = text;
  } else if (arg == "--describe") {
    options.Describe = true;
  } else if (arg == "--strict") {
    options.Strict = true;
  } else if (arg == "--strict-self-test") {
    options.StrictSelfTest = true;
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
  return true;
}

// The combinations that make no sense.
bool CheckOptions(const Options& options, std::string& error) {
  const bool needsFile = !options.Describe && !options.BatchList && !options.StrictSelfTest;
  if (needsFile == options.File.empty()) {
    error = needsFile ? "no FILE given" : "FILE goes with neither --batch nor --describe";
    return false;
  }
  if (options.NoServer && options.LateServer) {
    error = "--no-server and --late-server exclude each other";
    return false;
  }
  const StandInSetup& standIn = options.StandIn;
  if (options.NoServer && (options.JsonOut || options.BatchList || standIn.Layer || standIn.Board != "0")) {
    error = "--json, --batch, --layer and --board need the stand-in (no --no-server)";
    return false;
  }
  return true;
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  Arguments args(argc, argv);
  while (args.Next()) {
    if (!ParseArgument(args, options, error)) return false;
  }
  if (!CheckOptions(options, error)) return false;
  const std::string folder = ProgramFolder();
  if (options.PluginPath.empty()) options.PluginPath = folder + "Zizozudu.dll";
  if (options.ServerPath.empty()) options.ServerPath = folder + "ZetPcb.dll";
  return true;
}

}  // namespace zzhost
