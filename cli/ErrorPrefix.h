#pragma once

// What the tool's error and warning lines start with.

namespace zzcli {

inline constexpr const char* kTool = "zizozudu: ";

}  // namespace zzcli
