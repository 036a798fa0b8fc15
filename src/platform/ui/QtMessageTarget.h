#pragma once
// The window's message queue on Qt. Messages reach the handler on the thread
// that made the target (the UI thread), in the order they were posted or
// sent: Post queues and returns; Send from another thread waits until the
// handler has run, and from the UI thread runs it at once.

#include <QObject>
#include <functional>
#include <memory>

#include "platform/MessageTarget.h"

namespace jb {

class QtMessageTarget : public IMessageTarget {
 public:
  using Handler = std::function<void(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

  explicit QtMessageTarget(Handler handler);
  // Drops what is still queued; a sender still waiting is let go.
  ~QtMessageTarget() override;
  QtMessageTarget(const QtMessageTarget&) = delete;
  QtMessageTarget& operator=(const QtMessageTarget&) = delete;

  void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  Handler m_handler;
  // Queued calls belong to this object, so they go with it.
  std::unique_ptr<QObject> m_context;
};

}  // namespace jb
