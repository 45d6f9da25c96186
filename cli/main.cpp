#include <iostream>
#include <string>
#include <vector>

#include "cli/Platform.h"
#include "cli/Tool.h"
#include "importer/ImportObserver.h"
#include "importer/ZizoZudu.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

int Run(int argc, const char* const* argv) {
  zzcli::platform::PrepareConsole();
  zzcli::Plugin plugin;
  plugin.Exports.Description = &GetPcbImporterDescription;
  plugin.Exports.Recognised = &RecognisedPCBFile;
  plugin.Exports.Import = &ImportFileIntoPcb;
  plugin.SetObserver = &zz::SetImportObserver;
  return zzcli::RunTool(argc, argv, plugin, std::cout, std::cerr);
}

}  // namespace

#if defined(_WIN32)
// The wide command line, so that file names outside the code page arrive whole; UTF-8 inside.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
    arg.resize(arg.size() - 1);  // the terminating NUL
    args.push_back(std::move(arg));
  }
  std::vector<const char*> pointers;
  for (const std::string& arg : args) pointers.push_back(arg.c_str());
  return Run(argc, pointers.data());
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
