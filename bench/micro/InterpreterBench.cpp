// Fields, coordinates and whole data statements, on statements of the benchmark files' kind.

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "BenchSupport.h"
#include "gerber/Coordinates.h"
#include "gerber/Dispatch.h"

namespace {

constexpr std::array<std::string_view, 6> kStatements = {"X72615Y65808D02*",
                                                         "X70819Y64867D01*",
                                                         "G01X74686Y67574D01*",
                                                         "X77615Y68044D03*",
                                                         "D17*",
                                                         "G03X81890Y68126I-844J-393D01*"};

zz::TGerberState InchState() {
  zz::TGerberState state;
  state.Imperial = true;
  state.IntegerDigits = 2;
  state.DecimalDigits = 4;
  state.LeadingZerosOmitted = true;
  zz::ResetModalState(state);
  return state;
}

void BM_ExtractField(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string_view statement = kStatements[i++ % kStatements.size()];
    benchmark::DoNotOptimize(zz::ExtractField(statement, "D"));
    benchmark::DoNotOptimize(zz::ExtractField(statement, "X"));
    benchmark::DoNotOptimize(zz::ExtractField(statement, "J"));
  }
  state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BM_ExtractField);

void BM_DecodeCoordinate(benchmark::State& state) {
  const zz::TGerberState gerber = InchState();
  constexpr std::array<std::string_view, 4> kDigits = {"72615", "-844", "5000", "100000"};
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(zz::DecodeCoordinate(gerber, kDigits[i++ % kDigits.size()]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeCoordinate);

void BM_DecodeCoordinateMillimetres(benchmark::State& state) {
  zz::TGerberState gerber = InchState();
  gerber.Imperial = false;
  gerber.IntegerDigits = 3;
  gerber.DecimalDigits = 3;
  constexpr std::array<std::string_view, 4> kDigits = {"72615", "-844", "5000", "100000"};
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(zz::DecodeCoordinate(gerber, kDigits[i++ % kDigits.size()]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeCoordinateMillimetres);

void BM_DispatchStatement(benchmark::State& state) {
  zzbench::SampleRun sample;
  sample.state_ = InchState();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zz::DispatchStatement(sample.Run(), kStatements[i++ % kStatements.size()]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispatchStatement);

}  // namespace
