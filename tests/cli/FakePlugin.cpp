#include "FakePlugin.h"

#include <stdexcept>

#include "host/Messages.h"
#include "standin/PcbServer.h"

namespace zzcli::test {
namespace {

zz::ImportObserver* g_observer = nullptr;

void FakeSetObserver(zz::ImportObserver* observer) { g_observer = observer; }

const char* ZZ_WINAPI FakeDescription() { return "Fake Gerber Files (*.gtl)"; }

uint8_t ZZ_WINAPI FakeRecognised(const zz::TShortString<255>* fileName) {
  Fake().LastFileName = fileName->Str();
  if (!Fake().Recognise && g_observer != nullptr) g_observer->OnNotRecognised(Fake().Failure);
  return Fake().Recognise ? 1 : 0;
}

// Places tracks the way the importer does: board fetch for the current layer, then create,
// fetch, set, store and add.
uint8_t ZZ_WINAPI FakeImport(const zz::TShortString<255>* fileName, const zz::TShortString<255>*, int32_t board) {
  FakeBehaviour& fake = Fake();
  ++fake.ImportCalls;
  fake.LastFileName = fileName->Str();
  if (!fake.Recognise) return 0;
  fake.ImportObserved = g_observer != nullptr;
  if (g_observer != nullptr) {
    g_observer->OnRunStart();
    g_observer->OnApertureTableFile(fake.TableFile);
    for (const zz::IgnoredKind kind : fake.Ignored) g_observer->OnIgnored(kind, "G04 fake*");
  }
  if (fake.Throw) throw std::runtime_error("D-code \"D1x\" is not a number");
  if (board == 0) board = PcbApi_GetCurrentBoardHandle();
  int32_t h1 = 0, h4 = 0, h5 = 0, h6 = 0, h7 = 0, trailer = 0;
  zz::TText255 h2;
  uint8_t h3 = 0, h8 = 0;
  uint32_t layerId = 0;
  PcbApi_QueryBoard(zz::kFetch, board, &h1, &h2, &h3, &h4, &h5, &h6, &h7, &h8, &layerId, &trailer);
  for (int i = 0; i < fake.Tracks; ++i) {
    const zz::THandle h = PcbApi_CreateObject(4);
    uint16_t flags = 0, index = 0;
    uint32_t layer = 0;
    int32_t aux1 = 0, aux2 = 0, x = 0, y = 0, x2 = 0, y2 = 0, width = 0, e1 = 0, e2 = 0, e3 = 0;
    uint8_t auxByte = 0;
    PcbApi_QueryTrack(zz::kFetch, h, &flags, &index, &layer, &aux1, &auxByte, &aux2, &x, &y, &x2, &y2, &width, &e1, &e2,
                      &e3);
    x = 0;
    y = i * 1'000'000;
    x2 = 10'000'000;
    y2 = y;
    width = 100'000;
    layer = layerId;
    PcbApi_QueryTrack(zz::kStore, h, &flags, &index, &layer, &aux1, &auxByte, &aux2, &x, &y, &x2, &y2, &width, &e1, &e2,
                      &e3);
    PcbApi_AddObjectToContainer(board, h);
  }
  if (g_observer != nullptr) g_observer->OnRunEnd(fake.ObjectsNotCreated);
  if (!fake.Message.empty()) zz::ShowErrorMessage(fake.Message);
  return fake.Result ? 1 : 0;
}

}  // namespace

FakeBehaviour& Fake() {
  static FakeBehaviour behaviour;
  return behaviour;
}

Plugin FakePlugin() {
  Plugin plugin;
  plugin.Exports.Description = &FakeDescription;
  plugin.Exports.Recognised = &FakeRecognised;
  plugin.Exports.Import = &FakeImport;
  plugin.SetObserver = &FakeSetObserver;
  return plugin;
}

}  // namespace zzcli::test
