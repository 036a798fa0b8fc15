#pragma once
// What the two dialogs that list the resource types share: list 1073 under
// a caption, one row per type with its name, extension text and image,
// in type-list order (Folder, MPEG Audio, Play-Lists, user types by name).

#include <QDialog>

#include "resources/ResourceEditing.h"
#include "resources/ui/ListRows.h"
#include "types/CResourceType.h"

class QVBoxLayout;

namespace jb {

class CResourceTypeArray;
class ResourcePictures;

using TypeRow = ObjectRow<CResourceType, TypeRowLess>;

class CTypeListDlg : public QDialog {
 public:
  QTreeWidget* List() const { return m_pList; }
  // The type of the selected row; null for none.
  CResourceType* SelectedType() const;

 protected:
  CTypeListDlg(CResourceTypeArray& types, const ResourcePictures& pictures, const QString& title,
               const QString& caption, QWidget* parent);

  // A row for type, sorted into place and selected.
  void AddRow(CResourceType* type);
  // Shows the row's type as it is now, then sorts it into place, selected.
  void UpdateRow(TypeRow* row);

  void showEvent(QShowEvent* event) override;

  CResourceTypeArray& m_types;
  QVBoxLayout* m_pLayout;  // caption, then the list; the dialogs add their buttons

 private:
  void ShowType(TypeRow* row);

  QList<QIcon> m_strip;
  QTreeWidget* m_pList;
};

}  // namespace jb
