#pragma once
// The play-list type's properties: the icon of its entries.

#include <memory>

#include "types/ui/TypeDialog.h"

namespace jb {

class CPlayListType;

class CM3uTypeDialog : public TypeDialog {
 public:
  CM3uTypeDialog(CPlayListType& type, const CQvSpriteArray& icons, IPrompt& prompt, QWidget* parent = nullptr);

 private:
  void OnOk() override;

  CPlayListType& m_type;
  std::unique_ptr<IconSlider> m_pIcon;
};

}  // namespace jb
