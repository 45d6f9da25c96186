#include "host/HostRoutines.h"

#include "host/HostDispatch.h"

namespace zz::host {
namespace detail {
namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define ZZ_DEFINE_NEUTRAL_STUB(Name, Ret, Neutral, Params, Args) \
  Ret ZZ_WINAPI Name##_Neutral Params { return static_cast<Ret>(Neutral); }
ZZ_PCBAPI_ENTRIES(ZZ_DEFINE_NEUTRAL_STUB)
#undef ZZ_DEFINE_NEUTRAL_STUB
#pragma GCC diagnostic pop

constexpr DispatchTable kNeutralTable = {
#define ZZ_NEUTRAL_ENTRY(Name, Ret, Neutral, Params, Args) &Name##_Neutral,
    ZZ_PCBAPI_ENTRIES(ZZ_NEUTRAL_ENTRY)
#undef ZZ_NEUTRAL_ENTRY
};

template <typename Fn>
Fn SlotOr(const HostBinding& binding, const char* name, Fn neutral) {
  const std::size_t index = HostEntryIndex(name);
  if (index >= kHostEntryCount || binding.Slots[index] == nullptr) return neutral;
  return reinterpret_cast<Fn>(binding.Slots[index]);
}

}  // namespace

bool Bound = false;
DispatchTable Dispatch = kNeutralTable;

void RefreshDispatchTable(const HostBinding& binding) {
#define ZZ_REFRESH_ENTRY(Name, Ret, Neutral, Params, Args) Dispatch.Name = SlotOr(binding, #Name, kNeutralTable.Name);
  ZZ_PCBAPI_ENTRIES(ZZ_REFRESH_ENTRY)
#undef ZZ_REFRESH_ENTRY
}

void ResetDispatchTable() { Dispatch = kNeutralTable; }

}  // namespace detail

void PcbApi_Percent_Init(const TText255& text, int32_t total) {
  TText255 buffer = text;
  PcbApi_Percent_Init(&buffer, total);
}

TStatus PcbApi_AddMemberToClass(THandle classHandle, const TText255& member) {
  TText255 buffer = member;
  return PcbApi_AddMemberToClass(classHandle, &buffer);
}

TStatus PcbApi_GetDesignatorDisplayString(THandle handle, TText254& out) {
  out.Clear();
  EnsureHostBinding();
  if (detail::Dispatch.PcbApi_GetDesignatorDisplayString == detail::kNeutralTable.PcbApi_GetDesignatorDisplayString) {
    return 0;
  }
  TText255 buffer;
  const TStatus status = PcbApi_GetDesignatorDisplayString(handle, &buffer);
  out.Assign(buffer.View());
  return status;
}

TStatus PcbApi_QueryBoard(TSyncDirection direction, THandle board, BoardHeader& header, TLayerNumber& currentLayer,
                          int32_t& trailer) {
  TLayerIdentifier layerId = LayerIdFromNumber(currentLayer);
  const TStatus status =
      PcbApi_QueryBoard(direction, board, &header.Header1, &header.Header2, &header.Header3, &header.Header4,
                        &header.Header5, &header.Header6, &header.Header7, &header.Header8, &layerId, &trailer);
  currentLayer = LayerNumberFromId(layerId);
  return status;
}

}  // namespace zz::host
