#pragma once
// The messages a scan sends to the main window. WM_SCAN_PROGRESS carries the
// progress tick (0 to 119) in lParam.

#include "platform/MessageTarget.h"

namespace jb {

inline constexpr unsigned WM_SCAN_STARTED = WM_USER + 1;
inline constexpr unsigned WM_SCAN_PROGRESS = WM_USER + 2;
inline constexpr unsigned WM_SCAN_DONE = WM_USER + 3;

}  // namespace jb
