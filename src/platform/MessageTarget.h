#pragma once
// The main window as the scan thread reaches it: Post queues a message and
// returns; Send waits until the window's thread has handled it.

#include <cstdint>

namespace jb {

inline constexpr unsigned WM_USER = 0x400;
inline constexpr unsigned WM_SCAN_STARTED = WM_USER + 1;
inline constexpr unsigned WM_SCAN_PROGRESS = WM_USER + 2;
inline constexpr unsigned WM_SCAN_DONE = WM_USER + 3;
inline constexpr unsigned WM_TRAY_NOTIFY = WM_USER + 4;
inline constexpr unsigned WM_TREE_REFRESH = WM_USER + 5;

class IMessageTarget {
 public:
  virtual ~IMessageTarget() = default;
  virtual void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace jb
