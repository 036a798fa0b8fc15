#pragma once
// The resources' property dialogs on the desktop, behind CResource::Edit:
// the directory dialog for a directory, the file dialog for a file.

#include "resources/CResource.h"
#include "resources/ui/ResourcePictures.h"

namespace jb {

class CResourceTypeArray;
class IPrompt;

class QtResourceEditor : public IResourceEditor {
 public:
  // types is the list the directory dialog offers extensions from.
  QtResourceEditor(IPrompt& prompt, const CResourceTypeArray& types, QString pictureFolder)
      : m_prompt(prompt), m_types(types), m_pictures(std::move(pictureFolder)) {}

  bool Edit(CResource& resource, CResourceArray& all) override;

 private:
  IPrompt& m_prompt;
  const CResourceTypeArray& m_types;
  ResourcePictures m_pictures;
};

}  // namespace jb
