#include "win32/host/HostModes.h"

#include <array>

namespace zzhost {

std::span<const HostMode> HostModes() {
  static constexpr std::array<HostMode, 4> kModes{{
      {"strict-self-test", [](const Options& o) { return o.StrictSelfTest; }, &RunStrictSelfTest},
      {"describe", [](const Options& o) { return o.Describe; }, &RunDescribe},
      {"batch", [](const Options& o) { return o.BatchList.has_value(); }, &RunBatch},
      {"single", [](const Options&) { return true; }, &RunSingle},
  }};
  return kModes;
}

}  // namespace zzhost
