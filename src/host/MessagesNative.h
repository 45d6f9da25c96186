#pragma once

// The platform's own side of the message routine behind Messages.h: Win32 on Windows, a
// console stand-in elsewhere. ShowPlatformDialog (Messages.h) is defined there as well.

namespace zz::platform::detail {

// Whether the registry key of the host's test mode can be opened; never creates it.
bool TestModeKeyExists();

}  // namespace zz::platform::detail
