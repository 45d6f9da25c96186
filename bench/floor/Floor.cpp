// zz-floor FILE [--stats FILE.stats] [--runs N]: the least time any import of FILE can take.
//
// An import must read every character through zz::TextFile and advance the host's progress
// display once per character and once per line end, and must make a fixed number of host calls
// per primitive it creates. This program does exactly the reading, with one guarded call per
// character and line end into an empty host routine, then measures one empty guarded call and
// adds the primitives' calls at that price. The primitive counts come from the generator's
// stats file.
//
// Prints key=value lines: the medians over the runs.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "host/HostBinding.h"
#include "host/HostRoutines.h"
#include "host/ModuleLookup.h"
#include "host/TextFile.h"

namespace {

// Per primitive: the creation, two synchronisations of two flag-byte calls and the object's query
// each, and the add. A pad's fetch also asks for its stack mode and four values on each of the
// 83 layers, and its store sends the stack mode back.
constexpr uint64_t kCallsPerTrack = 1 + (2 + 1) + (2 + 1) + 1;
constexpr uint64_t kCallsPerPad = 1 + (2 + 1 + 1 + 4 * 83) + (2 + 1 + 1) + 1;

extern "C" __attribute__((noinline)) void EmptyPercentUpdate() { __asm__ volatile(""); }

void* ResolveEmpty(const char* name) {
  return std::strcmp(name, "PcbApi_Percent_Update") == 0 ? reinterpret_cast<void*>(&EmptyPercentUpdate) : nullptr;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Reads the file the way the statement reader does; returns the number of progress steps.
uint64_t ReadWithProgress(const std::string& path, uint64_t& checksum) {
  zz::TextFile file;
  if (!file.Open(path.c_str())) {
    std::cerr << "zz-floor: cannot open " << path << '\n';
    std::exit(1);
  }
  uint64_t steps = 0;
  while (!file.AtEnd()) {
    if (file.AtLineEnd()) {
      file.SkipLineEnd();
    } else {
      checksum += static_cast<unsigned char>(file.ReadChar());
    }
    zz::host::PcbApi_Percent_Update();
    ++steps;
  }
  return steps;
}

std::map<std::string, uint64_t> ReadStats(const std::string& path) {
  std::map<std::string, uint64_t> stats;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) stats[line.substr(0, eq)] = std::strtoull(line.c_str() + eq + 1, nullptr, 10);
  }
  return stats;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: zz-floor FILE [--stats FILE.stats] [--runs N]\n";
    return 2;
  }
  const std::string path = argv[1];
  std::string statsPath = path + ".stats";
  int runs = 5;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--stats") == 0) statsPath = argv[i + 1];
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  std::map<std::string, uint64_t> stats = ReadStats(statsPath);
  if (stats.empty()) {
    std::cerr << "zz-floor: no primitive counts in " << statsPath << '\n';
    return 1;
  }

  zz::platform::RegisterSubstituteModule(zz::host::kHostModuleName, &ResolveEmpty);
  zz::host::BindHostEntryPoints();

  uint64_t checksum = 0;
  uint64_t steps = ReadWithProgress(path, checksum);  // and into the page cache
  std::vector<double> readTimes;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    steps = ReadWithProgress(path, checksum);
    readTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));
  }

  constexpr uint64_t kCalls = 200'000'000;
  std::vector<double> callTimes;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    for (uint64_t i = 0; i < kCalls; ++i) zz::host::PcbApi_Percent_Update();
    callTimes.push_back(Seconds(std::chrono::steady_clock::now() - start) / kCalls);
  }

  const uint64_t lineKinds = stats["tracks"] + stats["fills"] + stats["arcs"];
  const uint64_t hostCalls = lineKinds * kCallsPerTrack + stats["pads"] * kCallsPerPad;
  const double read = Median(readTimes);
  const double call = Median(callTimes);
  const double primitives = static_cast<double>(hostCalls) * call;
  std::cout << "progress_steps=" << steps << '\n'
            << "read_seconds=" << read << '\n'
            << "empty_call_ns=" << call * 1e9 << '\n'
            << "primitives=" << lineKinds + stats["pads"] << '\n'
            << "primitive_host_calls=" << hostCalls << '\n'
            << "primitive_seconds=" << primitives << '\n'
            << "floor_seconds=" << read + primitives << '\n'
            << "checksum=" << checksum << '\n';
  return 0;
}
