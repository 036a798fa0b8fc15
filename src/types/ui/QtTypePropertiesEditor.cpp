#include "types/ui/QtTypePropertiesEditor.h"

#include <QApplication>

#include "types/BuiltinTypes.h"
#include "types/ui/CM3uTypeDialog.h"
#include "types/ui/CMp3TypeDialog.h"
#include "types/ui/CUserTypeDialog.h"

namespace jb {

bool QtTypePropertiesEditor::Edit(CResourceType& type) {
  // The dialog that is open (a sheet, the type list) owns the new one.
  QWidget* owner = QApplication::activeModalWidget();
  if (!owner) owner = QApplication::activeWindow();
  int result = QDialog::Rejected;
  if (auto* playList = dynamic_cast<CPlayListType*>(&type))
    result = CM3uTypeDialog(*playList, m_icons, m_prompt, owner).exec();
  else if (auto* mpegAudio = dynamic_cast<CMpegAudioType*>(&type))
    result = CMp3TypeDialog(*mpegAudio, m_types, m_icons, m_prompt, owner).exec();
  else if (auto* user = dynamic_cast<CUserType*>(&type))
    result = CUserTypeDialog(*user, m_types, m_icons, m_prompt, owner).exec();
  return result == QDialog::Accepted;
}

}  // namespace jb
