#pragma once

// A Gerber text in a temporary file, opened, with a run context around it and a modal state
// of its own; a substitute host that counts the progress steps.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../apertures/ApertureTestSupport.h"
#include "apertures/ApertureFile.h"
#include "gerber/Dispatch.h"
#include "gerber/GerberRun.h"
#include "gerber/Interpreter.h"
#include "gerber/StatementReader.h"
#include "host/CallConv.h"
#include "host/HostBinding.h"
#include "host/ModuleLookup.h"

namespace zz::testing {

// A fixed-seed source of random test data, the same on every platform.
class TestRandom {
 public:
  explicit TestRandom(uint64_t seed) : state_(seed) {}
  // Uniform enough in lo..hi, both included (lo <= hi).
  int64_t Range(int64_t lo, int64_t hi) { return lo + static_cast<int64_t>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
  bool Percent(int percent) { return Range(0, 99) < percent; }

 private:
  uint64_t Next() {  // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  uint64_t state_;
};

inline int g_progressSteps = 0;

inline void ZZ_WINAPI CountProgressStep() { ++g_progressSteps; }

inline void* ResolveProgressHost(const char* name) {
  return std::string_view(name) == "PcbApi_Percent_Update" ? reinterpret_cast<void*>(&CountProgressStep) : nullptr;
}

class GerberFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::RegisterSubstituteModule(host::kHostModuleName, &ResolveProgressHost);
    host::UnbindHostEntryPointsForTesting();
    g_progressSteps = 0;
  }
  void TearDown() override {
    run_.reset();
    platform::RegisterSubstituteModule(host::kHostModuleName, nullptr);
    host::UnbindHostEntryPointsForTesting();
  }

  // Opens the bytes as the run's file.
  GerberRun& Open(std::string_view bytes) {
    run_.reset();
    file_ = std::make_unique<TempFile>(bytes, ".gbr");
    text_ = std::make_unique<TextFile>();
    EXPECT_TRUE(text_->Open(file_->Path().c_str()));
    run_ = std::make_unique<GerberRun>(*text_, table_, nullptr, state_);
    return *run_;
  }

  // A run over an empty file, for feeding statements directly.
  GerberRun& Run() { return run_ ? *run_ : Open(""); }

  // Every statement up to and including the first one read at the end of the file.
  std::vector<std::string> ReadAll(std::string_view bytes) {
    GerberRun& run = Open(bytes);
    std::vector<std::string> statements;
    do {
      statements.push_back(ReadStatement(run).Str());
    } while (!run.File.AtEnd() && statements.size() < 1000);
    return statements;
  }

  bool Dispatch(std::string_view statement) { return DispatchStatement(Run(), statement); }
  // The whole road of a statement read after the format statement.
  bool Interpret(std::string_view statement) { return InterpretStatement(Run(), statement); }

  TGerberState state_;
  TApertureFile table_;

 private:
  std::unique_ptr<TempFile> file_;
  std::unique_ptr<TextFile> text_;
  std::unique_ptr<GerberRun> run_;
};

}  // namespace zz::testing
