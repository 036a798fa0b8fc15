#include "window/ui/QtSheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"
#include "strings/StringTable.h"

namespace jb {
namespace {

constexpr int kButtonWidth = 80;
constexpr int kButtonGap = 8;

QPushButton* SheetButton(int id) {
  auto* button = new QPushButton(ToQString(LoadString(id)));
  button->setObjectName(QStringLiteral("id%1").arg(id));
  button->setFixedWidth(kButtonWidth);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

QtSheet::QtSheet(const QString& caption, QWidget* parent) : QDialog(parent) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  m_pPages = new QTabWidget;
  layout->addWidget(m_pPages);
  m_pButtons = new QHBoxLayout;
  m_pButtons->setSpacing(kButtonGap);
  m_pButtons->addStretch();
  m_pExit = SheetButton(ids::ExitButton);
  m_pExit->setObjectName(QStringLiteral("id2"));
  m_pButtons->addWidget(m_pExit);
  layout->addLayout(m_pButtons);
  connect(m_pExit, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* QtSheet::AddButton(int id) {
  QPushButton* button = SheetButton(id);
  m_pButtons->insertWidget(m_pButtons->count() - 1, button);
  return button;
}

}  // namespace jb
