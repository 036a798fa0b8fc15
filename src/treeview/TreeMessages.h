#pragma once
// The message that asks the main window to repaint the tree.

#include "platform/MessageTarget.h"

namespace jb {

// WM_USER + 4 is the window's tray notification.
inline constexpr unsigned WM_TREE_REFRESH = WM_USER + 5;

}  // namespace jb
