#include "standin/Records.h"

#include <cstddef>
#include <iterator>

namespace standin {

bool PadExtras::IsDefault() const {
  return Name.Empty() && PadText1.Empty() && PadText2.Empty() && PadText3.Empty() && PadByte1 == 0 && PadByte2 == 0 &&
         PadByte3 == 0 && PadByte4 == 0 && PadValue1 == 0 && PadValue2 == 0 && PadValue3 == 0 && PadValue4 == 0 &&
         PadValue5 == 0 && PadValue6 == 0 && PadViaFlag1 == 0 && PadViaFlag2 == 0;
}

const char* KindName(TObjectKind kind) {
  // Indexed by kind number; the numbers without a kind (23 to 25) are "none" too.
  // clang-format off
  static constexpr const char* kNames[] = {
      "none", "arc", "pad", "via", "track", "text", "fill", "from_to", "net", "component", "polygon", "region",
      "component_body", "dimension", "coordinate", "object_class", "rule", "manual_from_to", "differential_pair",
      "violation", "embedded", "embedded_board", "split_plane", "none", "none", "none", "board_outline",
  };
  // clang-format on
  const auto index = static_cast<std::size_t>(kind);
  return index < std::size(kNames) ? kNames[index] : "none";
}

}  // namespace standin
