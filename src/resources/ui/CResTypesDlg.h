#pragma once
// The Resource types edition dialog: adds user types, edits and deletes
// types as each allows, working on the type list itself. Every change is
// final when made; "E&xit" keeps everything.

#include "resources/ui/CTypeListDlg.h"

class QPushButton;

namespace jb {

class CResTypesDlg : public CTypeListDlg {
 public:
  CResTypesDlg(CResourceTypeArray& types, const ResourcePictures& pictures, QWidget* parent = nullptr);

  void OnNew();
  void OnProperties();
  void OnDelete();

 private:
  // Properties and Delete as the selected type allows.
  void UpdateButtons();

  QPushButton* m_pNew;
  QPushButton* m_pProperties;
  QPushButton* m_pDelete;
};

}  // namespace jb
