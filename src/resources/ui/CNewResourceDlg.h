#pragma once
// The New resource dialog: the user picks the type of a new resource, which
// that type then makes.

#include <memory>

#include "resources/ui/CTypeListDlg.h"

class QPushButton;

namespace jb {

class CResource;

class CNewResourceDlg : public CTypeListDlg {
 public:
  // On "&New...", newResource receives a resource of the chosen type.
  CNewResourceDlg(std::unique_ptr<CResource>& newResource, CResourceTypeArray& types,
                  const ResourcePictures& pictures, QWidget* parent = nullptr);

  void OnNew();

 private:
  std::unique_ptr<CResource>& m_newResource;
  QPushButton* m_pNew;
};

}  // namespace jb
