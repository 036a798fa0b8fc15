#include "resources/ui/QtResourceEditor.h"

#include <QApplication>

#include "resources/ResourceEditing.h"
#include "resources/ui/CDirResourceDlg.h"
#include "resources/ui/CFileResourceDlg.h"
#include "types/CResourceType.h"

namespace jb {

bool QtResourceEditor::Edit(CResource& resource, CResourceArray& all) {
  // The dialogs belong to whatever modal window asked (the settings sheet).
  QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
  if (auto* directory = dynamic_cast<CDirResource*>(&resource)) {
    CDirResourceDlg dialog(directory->m_strPath, directory->m_nFlags, directory->m_aExcludedExts, all, m_types,
                           m_prompt, m_pictures, parent);
    return dialog.Run() == QDialog::Accepted;
  }
  const std::string name = resource.m_pType ? resource.m_pType->GetName() : std::string();
  CFileResourceDlg dialog(resource.m_strPath, resource.m_nFlags, all, name, FileResourceFilter(resource.m_pType),
                          m_prompt, parent);
  return dialog.Run() == QDialog::Accepted;
}

}  // namespace jb
