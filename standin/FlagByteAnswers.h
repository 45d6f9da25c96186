#pragma once

// Where the flag bytes of the object asked about last are found: the creation of each primitive
// asks for them four times. Styles never change once kept, so the answer holds as long as the
// object's row still names the style it was taken from.

#include <cstdint>

#include "standin/Records.h"

namespace standin {

struct FlagByteAnswers {
  static constexpr int64_t kNone = INT64_MIN;  // no handle, widened, ever equals it
  int64_t Handle = kNone;
  const uint32_t* RowStyle = nullptr;  // the style index in the object's row
  uint32_t Style = 0;                  // its value when kept
  const CommonFields* Common = nullptr;

  bool Holds(THandle handle) const { return handle == Handle && *RowStyle == Style; }
  void Keep(THandle handle, const uint32_t& rowStyle, const CommonFields& common) {
    Handle = handle;
    RowStyle = &rowStyle;
    Style = rowStyle;
    Common = &common;
  }
};

}  // namespace standin
