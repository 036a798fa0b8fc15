#include "platform/ui/QtMessageTarget.h"

#include <QMetaObject>
#include <QThread>

namespace jb {

QtMessageTarget::QtMessageTarget(Handler handler)
    : m_handler(std::move(handler)), m_context(std::make_unique<QObject>()) {}

QtMessageTarget::~QtMessageTarget() = default;

void QtMessageTarget::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  QMetaObject::invokeMethod(
      m_context.get(), [this, message, wParam, lParam] { m_handler(message, wParam, lParam); }, Qt::QueuedConnection);
}

void QtMessageTarget::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (QThread::currentThread() == m_context->thread()) {
    m_handler(message, wParam, lParam);
    return;
  }
  // Blocking-queued calls go through the same queue as the posted ones, so
  // a send never overtakes an earlier post.
  QMetaObject::invokeMethod(
      m_context.get(), [this, message, wParam, lParam] { m_handler(message, wParam, lParam); },
      Qt::BlockingQueuedConnection);
}

}  // namespace jb
