#pragma once

// What the micro-benchmarks share: the stand-in registered as the host (no progress bar), and a
// generated Gerber file opened as an import run would open it.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "apertures/ApertureFile.h"
#include "gen/GerberGenerator.h"
#include "gerber/GerberRun.h"
#include "gerber/GerberState.h"
#include "host/TextFile.h"
#include "standin/Registration.h"

namespace zzbench {

inline void RegisterStandIn() {
  static const bool registered = [] {
    standin::Options options;
    options.Progress = standin::ProgressDisplay::Mode::Never;
    standin::Register(options);
    return true;
  }();
  (void)registered;
}

// A large file of the benchmark's kind, written once per process.
inline const std::string& SampleFile() {
  static const std::string path = [] {
    const std::filesystem::path p = std::filesystem::temp_directory_path() / "zz-microbench-sample.gbr";
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    WriteLargeFile(out, 42, 8u << 20);
    return p.string();
  }();
  return path;
}

// A run over the sample file, reopened whenever the reader reaches its end.
class SampleRun {
 public:
  SampleRun() {
    RegisterStandIn();
    Reopen();
  }
  zz::GerberRun& Run() { return *run_; }
  void Reopen() {
    run_.reset();
    file_.Close();
    file_.Open(SampleFile().c_str());
    run_ = std::make_unique<zz::GerberRun>(file_, table_, nullptr, state_);
  }

  zz::TGerberState state_;

 private:
  zz::TextFile file_;
  zz::TApertureFile table_;
  std::unique_ptr<zz::GerberRun> run_;
};

}  // namespace zzbench
