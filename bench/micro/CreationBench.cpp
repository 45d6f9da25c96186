// One primitive created in the stand-in's board the way the drawing code creates it: creation,
// fetch, fields, layer, store, add. The board is emptied every so often (outside the timing) so
// that memory stays bounded however many iterations the library chooses.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "host/HostRoutines.h"
#include "pcbobjects/CreateObject.h"
#include "pcbobjects/PcbArc.h"
#include "pcbobjects/PcbBoard.h"
#include "pcbobjects/PcbFill.h"
#include "pcbobjects/PcbPad.h"
#include "pcbobjects/PcbTrack.h"

namespace {

template <typename TWrapper, typename SetFields>
void CreateMany(benchmark::State& state, SetFields setFields) {
  zzbench::RegisterStandIn();
  standin::Reset();
  zz::TPcbBoard board(zz::host::PcbApi_GetCurrentBoardHandle());
  board.Sync(zz::kFetch);
  int32_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zz::CreateBoardObject<TWrapper>(board, [&](TWrapper& w) { setFields(w, i); }));
    if (++i == (1 << 18)) [[unlikely]] {
      state.PauseTiming();
      standin::Reset();
      board.Sync(zz::kFetch);
      i = 0;
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations());
  standin::Reset();
}

void BM_CreateTrack(benchmark::State& state) {
  CreateMany<zz::TPcbTrack>(state, [](zz::TPcbTrack& t, int32_t i) {
    t.SetX(i);
    t.SetY(i);
    t.SetX2(i + 1000);
    t.SetY2(i + 2000);
    t.SetWidth(100000);
  });
}
BENCHMARK(BM_CreateTrack);

void BM_CreateFill(benchmark::State& state) {
  CreateMany<zz::TPcbFill>(state, [](zz::TPcbFill& f, int32_t i) {
    f.SetX(i);
    f.SetY(i);
    f.SetX2(i + 1000);
    f.SetY2(i + 2000);
    f.SetRotation(0.0);
  });
}
BENCHMARK(BM_CreateFill);

void BM_CreateArc(benchmark::State& state) {
  CreateMany<zz::TPcbArc>(state, [](zz::TPcbArc& a, int32_t i) {
    a.SetX(i);
    a.SetY(i);
    a.SetStartAngle(15.0);
    a.SetEndAngle(195.0);
    a.SetLineWidth(100000);
    a.SetRadius(50000);
  });
}
BENCHMARK(BM_CreateArc);

void BM_CreatePad(benchmark::State& state) {
  CreateMany<zz::TPcbPad>(state, [](zz::TPcbPad& p, int32_t i) {
    p.SetX(i);
    p.SetY(i);
    p.SetHoleSize(0);
    p.SetTopXSize(600000);
    p.SetMidXSize(600000);
    p.SetBotXSize(600000);
    p.SetTopYSize(400000);
    p.SetMidYSize(400000);
    p.SetBotYSize(400000);
    p.SetTopShape(2);
    p.SetMidShape(2);
    p.SetBotShape(2);
  });
}
BENCHMARK(BM_CreatePad);

}  // namespace
