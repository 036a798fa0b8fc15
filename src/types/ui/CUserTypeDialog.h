#pragma once
// A user type's properties: its name, its extensions and its icon. The name
// must be free and every extension unclaimed by the other types.

#include <memory>

#include "types/ui/TypeDialog.h"

namespace jb {

class CResourceTypeArray;
class CUserType;

class CUserTypeDialog : public TypeDialog {
 public:
  // types: the list checked for names and extensions; type need not be in
  // it yet (a new type joins it only once confirmed).
  CUserTypeDialog(CUserType& type, const CResourceTypeArray& types, const CQvSpriteArray& icons, IPrompt& prompt,
                  QWidget* parent = nullptr);

 private:
  void OnOk() override;

  CUserType& m_type;
  const CResourceTypeArray& m_types;
  QLineEdit* m_pName;
  QLineEdit* m_pExtensions;
  std::string m_strShownExtensions;
  std::unique_ptr<IconSlider> m_pIcon;
};

}  // namespace jb
