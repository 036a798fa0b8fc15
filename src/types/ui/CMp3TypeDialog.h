#pragma once
// The MPEG Audio type's properties: the name of the group of files without
// a tag, and the icons of tagged and tag-less files.

#include <memory>

#include "types/ui/TypeDialog.h"

namespace jb {

class CMpegAudioType;
class CResourceTypeArray;

class CMp3TypeDialog : public TypeDialog {
 public:
  // types: the list whose names the tag-less name must not take.
  CMp3TypeDialog(CMpegAudioType& type, const CResourceTypeArray& types, const CQvSpriteArray& icons, IPrompt& prompt,
                 QWidget* parent = nullptr);

 private:
  void OnOk() override;

  CMpegAudioType& m_type;
  const CResourceTypeArray& m_types;
  QLineEdit* m_pName;
  std::unique_ptr<IconSlider> m_pIcon;
  std::unique_ptr<IconSlider> m_pTagLessIcon;
};

}  // namespace jb
