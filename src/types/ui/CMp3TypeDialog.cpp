#include "types/ui/CMp3TypeDialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/Prompt.h"
#include "platform/Text.h"
#include "strings/StringTable.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {

CMp3TypeDialog::CMp3TypeDialog(CMpegAudioType& type, const CResourceTypeArray& types, const CQvSpriteArray& icons,
                               IPrompt& prompt, QWidget* parent)
    : TypeDialog(QStringLiteral("Mp3 resource type properties"), icons, prompt, parent), m_type(type), m_types(types) {
  m_pName = AddEdit(QStringLiteral("Name to use for Mp3 files without Tag :"), 1077, type.m_strTagLessName);
  m_pIcon = AddIconSlider(QStringLiteral("MPEG file icon :"), 1085, 1057, icons.GetAt(0), type.m_nIcon);
  m_pTagLessIcon =
      AddIconSlider(QStringLiteral("\"Tag-less\" icon :"), 1086, 1058, icons.GetAt(0), type.m_nTagLessIcon);
  FinishLayout();
  auto enableOk = [this] { OkButton()->setEnabled(!m_pName->text().isEmpty()); };
  connect(m_pName, &QLineEdit::textChanged, this, enableOk);
  enableOk();
}

void CMp3TypeDialog::OnOk() {
  const std::string name = EditBytes(m_pName, m_type.m_strTagLessName);
  // Another letter case of the same name is no change; any other name must
  // be free (the type answers to "MPEG Audio" itself too).
  if (!EqualsNoCase(name, m_type.m_strTagLessName)) {
    if (m_types.IsNameUsed(name)) {
      m_prompt.ShowMessage(ids::TypeNameUsed);
      return;
    }
    m_type.m_strTagLessName = name;
  }
  m_type.m_nIcon = m_pIcon->Icon();
  m_type.m_nTagLessIcon = m_pTagLessIcon->Icon();
  accept();
}

}  // namespace jb
