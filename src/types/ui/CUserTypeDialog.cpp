#include "types/ui/CUserTypeDialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/Prompt.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "strings/StringTable.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {

CUserTypeDialog::CUserTypeDialog(CUserType& type, const CResourceTypeArray& types, const CQvSpriteArray& icons,
                                 IPrompt& prompt, QWidget* parent)
    : TypeDialog(QStringLiteral("User resource type properties"), icons, prompt, parent),
      m_type(type),
      m_types(types),
      m_strShownExtensions(JoinExtensions(type.m_aExtensions)) {
  m_pName = AddEdit(QStringLiteral("Resource type name :"), 1077, type.GetName());
  m_pExtensions = AddEdit(QStringLiteral("Extensions (separated by '.') :"), 1083, m_strShownExtensions);
  // The preview fits the type's icon; an icon this skin lacks has no size,
  // so the first icon's is taken then.
  const CQvSprite& current = icons.GetAt(type.m_nIcon);
  const CQvSprite& sizeOf = current.IsBitmapCreated() ? current : icons.GetAt(0);
  m_pIcon = AddIconSlider(QStringLiteral("Icon :"), 1085, 1057, sizeOf, type.m_nIcon);
  FinishLayout();
  auto enableOk = [this] { OkButton()->setEnabled(!m_pName->text().isEmpty() && !m_pExtensions->text().isEmpty()); };
  connect(m_pName, &QLineEdit::textChanged, this, enableOk);
  connect(m_pExtensions, &QLineEdit::textChanged, this, enableOk);
  enableOk();
}

void CUserTypeDialog::OnOk() {
  const std::string name = EditBytes(m_pName, m_type.GetName());
  if (!EqualsNoCase(name, m_type.GetName()) && m_types.IsNameUsed(name)) {
    m_prompt.ShowMessage(ids::TypeNameUsed);
    return;
  }
  const StringList extensions = ParseExtensionText(EditBytes(m_pExtensions, m_strShownExtensions));
  // After either refusal the edit shows the list as it was understood.
  m_strShownExtensions = JoinExtensions(extensions);
  if (extensions.empty()) {
    m_pExtensions->setText(ToQString(m_strShownExtensions));
    m_prompt.ShowMessage(ids::TypeNeedsExtensions);
    return;
  }
  const std::string conflicts = m_types.ExtensionConflicts(extensions, &m_type);
  if (!conflicts.empty()) {
    m_pExtensions->setText(ToQString(m_strShownExtensions));
    m_prompt.ShowText(FormatOne(LoadString(ids::ExtensionsAssigned), conflicts));
    return;
  }
  m_type.SetName(name);
  m_type.SetExtensions(extensions);
  m_type.m_nIcon = m_pIcon->Icon();
  accept();
}

}  // namespace jb
