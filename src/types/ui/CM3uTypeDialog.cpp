#include "types/ui/CM3uTypeDialog.h"

#include "types/BuiltinTypes.h"

namespace jb {

CM3uTypeDialog::CM3uTypeDialog(CPlayListType& type, const CQvSpriteArray& icons, IPrompt& prompt, QWidget* parent)
    : TypeDialog(QStringLiteral("M3U (Play-List) resource type properties"), icons, prompt, parent), m_type(type) {
  m_pIcon = AddIconSlider(QStringLiteral("Entry's icon :"), 1085, 1057, icons.GetAt(0), type.m_nIcon);
  FinishLayout();
}

void CM3uTypeDialog::OnOk() {
  m_type.m_nIcon = m_pIcon->Icon();
  accept();
}

}  // namespace jb
