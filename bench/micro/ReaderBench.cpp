// The per-character path: NextChar with its progress call, and whole statements.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "gerber/StatementReader.h"

namespace {

void BM_NextChar(benchmark::State& state) {
  zzbench::SampleRun sample;
  int64_t characters = 0;
  for (auto _ : state) {
    const char c = zz::NextChar(sample.Run());
    benchmark::DoNotOptimize(c);
    if (c == '\0') [[unlikely]] {
      state.PauseTiming();
      sample.Reopen();
      state.ResumeTiming();
    }
    ++characters;
  }
  state.SetBytesProcessed(characters);
}
BENCHMARK(BM_NextChar);

void BM_ReadStatement(benchmark::State& state) {
  zzbench::SampleRun sample;
  int64_t bytes = 0;
  for (auto _ : state) {
    const zz::TShortString<255> statement = zz::ReadStatement(sample.Run());
    benchmark::DoNotOptimize(statement);
    bytes += static_cast<int64_t>(statement.Size()) + 2;  // and its line end, near enough
    if (sample.Run().File.AtEnd()) [[unlikely]] {
      state.PauseTiming();
      sample.Reopen();
      state.ResumeTiming();
    }
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadStatement);

}  // namespace
