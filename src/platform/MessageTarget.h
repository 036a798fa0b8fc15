#pragma once
// A window as another thread reaches it: Post queues a message and
// returns; Send waits until the window's thread has handled it.

#include <cstdint>

namespace jb {

// The first message number a program may define for itself.
inline constexpr unsigned WM_USER = 0x400;

class IMessageTarget {
 public:
  virtual ~IMessageTarget() = default;
  virtual void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace jb
