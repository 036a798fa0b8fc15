#include "resources/ui/CResourceDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Prompt.h"
#include "platform/ui/QtText.h"
#include "resources/CResource.h"
#include "resources/ResourceEditing.h"
#include "strings/StringTable.h"

namespace jb {

CResourceDlg::CResourceDlg(std::string& path, std::uint8_t& flags, const CResourceArray& all, IPrompt& prompt,
                           const QString& caption, const QString& cloakText, QWidget* parent)
    : QDialog(parent),
      m_nFlags(flags),
      m_prompt(prompt),
      m_pLayout(new QVBoxLayout(this)),
      m_strPath(path),
      m_all(all),
      m_pPath(new QLineEdit(this)) {
  m_pPath->setObjectName(QStringLiteral("id1060"));
  m_pPath->setMinimumWidth(320);
  auto* browse = new QPushButton(QStringLiteral("..."), this);
  browse->setObjectName(QStringLiteral("id1067"));
  browse->setAutoDefault(false);
  browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
  auto* label = new QLabel(caption, this);
  label->setBuddy(m_pPath);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(m_pPath, 1);
  pathRow->addWidget(browse);
  m_pLayout->addWidget(label);
  m_pLayout->addLayout(pathRow);
  m_pLayout->addSpacing(4);
  // Made after the path, which it follows in the tab order.
  m_pCloak = new QCheckBox(cloakText, this);
  m_pCloak->setObjectName(QStringLiteral("id1062"));
  m_pCloak->setChecked((flags & CResource::kCloak) != 0);
  m_pLayout->addWidget(m_pCloak);
  ShowPath(path);
  m_pPath->setFocus();
  connect(browse, &QPushButton::clicked, this, &CResourceDlg::OnBrowse);
}

void CResourceDlg::AddButtons() {
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("id1"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("id2"));
  m_pLayout->addSpacing(4);
  m_pLayout->addWidget(buttons);
  connect(ok, &QPushButton::clicked, this, &CResourceDlg::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  m_pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CResourceDlg::Open() {
  if (!m_strPath.empty()) return true;
  std::string chosen;
  if (!Browse(chosen) || chosen.empty()) return false;
  ShowPath(chosen);
  return true;
}

int CResourceDlg::Run() { return Open() ? exec() : QDialog::Rejected; }

void CResourceDlg::OnBrowse() {
  std::string path = TypedPath();
  if (Browse(path)) ShowPath(path);
}

void CResourceDlg::OnOk() {
  const std::string typed = TypedPath();
  switch (CheckPathEdit(m_strPath, typed, m_all)) {
    case PathEdit::Duplicate:
      m_prompt.ShowMessage(ids::DuplicateResourcePath);
      return;
    case PathEdit::Changed:
      m_strPath = typed;
      break;
    case PathEdit::Unchanged:
      break;
  }
  Store();
  accept();
}

std::string CResourceDlg::TypedPath() const {
  return m_pPath->text() == m_shownText ? m_strShown : FromQFileName(m_pPath->text());
}

void CResourceDlg::ShowPath(const std::string& path) {
  m_strShown = path;
  m_shownText = ToQString(path);
  m_pPath->setText(m_shownText);
}

}  // namespace jb
