#pragma once
// Runs each type's property dialog for EditProperties on the desktop: the
// play-list, MPEG Audio and user type dialogs, modal to the window in front.

#include "types/CResourceType.h"

namespace jb {

class CQvSpriteArray;
class CResourceTypeArray;
class IPrompt;

class QtTypePropertiesEditor : public ITypePropertiesEditor {
 public:
  // types: the list the edited types are checked against; icons: the
  // skin's icon array, read when a dialog opens.
  QtTypePropertiesEditor(const CResourceTypeArray& types, const CQvSpriteArray& icons, IPrompt& prompt)
      : m_types(types), m_icons(icons), m_prompt(prompt) {}

  bool Edit(CResourceType& type) override;

 private:
  const CResourceTypeArray& m_types;
  const CQvSpriteArray& m_icons;
  IPrompt& m_prompt;
};

// Installs an editor for as long as the object lives.
class ScopedTypePropertiesEditor {
 public:
  explicit ScopedTypePropertiesEditor(ITypePropertiesEditor& editor) { SetTypePropertiesEditor(&editor); }
  ~ScopedTypePropertiesEditor() { SetTypePropertiesEditor(nullptr); }
  ScopedTypePropertiesEditor(const ScopedTypePropertiesEditor&) = delete;
  ScopedTypePropertiesEditor& operator=(const ScopedTypePropertiesEditor&) = delete;
};

}  // namespace jb
