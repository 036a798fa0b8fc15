#pragma once
// The main window's own messages, beside those of the layers below it.

#include "scan/ScanMessages.h"
#include "treeview/TreeMessages.h"

namespace jb {

inline constexpr unsigned WM_TRAY_NOTIFY = WM_USER + 4;

}  // namespace jb
