#pragma once
// Helpers of the Qt tests: controls by id, list rows as text, and answers
// to the modal dialogs that the code under test opens and waits for.

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

namespace jb::test {

// The control named after its dialog id ("id1060").
template <class T>
T* Control(const QObject* parent, int id) {
  return parent->findChild<T*>(QStringLiteral("id%1").arg(id));
}

// Each row as its columns joined by "|".
inline QStringList Rows(const QTreeWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QStringList columns;
    for (int c = 0; c < list->columnCount(); ++c) columns << list->topLevelItem(i)->text(c);
    rows << columns.join(QLatin1Char('|'));
  }
  return rows;
}

// Calls answer once with the first modal dialog that opens from now on,
// while the caller is blocked in it; answer must close it.
class WhenModal {
 public:
  explicit WhenModal(std::function<void(QWidget*)> answer) : m_answer(std::move(answer)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || modal == m_pBefore) return;
      m_timer.stop();
      m_bAnswered = true;
      m_answer(modal);
    });
    m_pBefore = QApplication::activeModalWidget();
    m_timer.start(5);
  }
  bool Answered() const { return m_bAnswered; }

 private:
  std::function<void(QWidget*)> m_answer;
  QTimer m_timer;
  QWidget* m_pBefore = nullptr;
  bool m_bAnswered = false;
};

}  // namespace jb::test
