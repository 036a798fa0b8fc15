#include "types/ui/TypeDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/ControlId.h"
#include "platform/ui/QtText.h"

namespace jb {

TypeDialog::TypeDialog(const QString& title, const CQvSpriteArray& icons, IPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_icons(icons), m_prompt(prompt), m_pGrid(new QGridLayout) {
  setWindowTitle(title);
  setModal(true);
  m_pGrid->setColumnStretch(1, 1);
  m_pGrid->setColumnMinimumWidth(1, 140);
}

QLineEdit* TypeDialog::AddEdit(const QString& label, int id, const std::string& text) {
  auto* edit = new QLineEdit(ToQString(text), this);
  edit->setObjectName(ControlName(id));
  edit->setMinimumWidth(240);
  auto* title = new QLabel(label, this);
  title->setBuddy(edit);
  const int row = m_pGrid->rowCount();
  m_pGrid->addWidget(title, row, 0, 1, 3);
  m_pGrid->addWidget(edit, row + 1, 0, 1, 3);
  return edit;
}

std::unique_ptr<IconSlider> TypeDialog::AddIconSlider(const QString& label, int sliderId, int previewId,
                                                      const CQvSprite& sizeOf, int position) {
  auto icon = std::make_unique<IconSlider>(m_icons, sizeOf, position, this);
  icon->Slider()->setObjectName(ControlName(sliderId));
  icon->Preview()->setObjectName(ControlName(previewId));
  auto* title = new QLabel(label, this);
  title->setBuddy(icon->Slider());
  const int row = m_pGrid->rowCount();
  m_pGrid->addWidget(title, row, 0);
  m_pGrid->addWidget(icon->Slider(), row, 1);
  m_pGrid->addWidget(icon->Preview(), row, 2, Qt::AlignCenter);
  return icon;
}

void TypeDialog::FinishLayout() {
  // Cancel sits just left of OK, both on the right.
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  QPushButton* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName(ControlName(2));
  buttons->addWidget(cancel);
  m_pOk = new QPushButton(tr("OK"), this);
  m_pOk->setObjectName(ControlName(1));
  m_pOk->setDefault(true);
  buttons->addWidget(m_pOk);
  // OK checks first and accepts only when the input passes.
  connect(m_pOk, &QPushButton::clicked, this, [this] { OnOk(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(m_pGrid);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::string TypeDialog::EditBytes(const QLineEdit* edit, const std::string& original) {
  if (edit->text() == ToQString(original)) return original;
  return edit->text().toUtf8().toStdString();
}

}  // namespace jb
