#pragma once
// The Resources page: the environment's resources, sorted by path, with
// New, Resource types, Properties and Remove. Every change is made on the
// resource list at once and marks the environment modified.

#include <QWidget>
#include <functional>

#include "resources/ResourceEditing.h"
#include "resources/ui/ListRows.h"

class QPushButton;

namespace jb {

class CConfig;
class CResource;
class CResourceArray;
class IPrompt;
class ResourcePictures;

class CResourcesPage : public QWidget {
 public:
  // markModified is called on every change of the list.
  CResourcesPage(CResourceArray& resources, CConfig& config, const ResourcePictures& pictures,
                 std::function<void()> markModified, QWidget* parent = nullptr);

  QTreeWidget* List() const { return m_pList; }

  void OnNew();
  void OnResourceTypes();
  void OnProperties();
  void OnRemove();

 private:
  using ResourceRow = ObjectRow<CResource, ResourceRowLess>;

  void ShowResource(ResourceRow* row);
  void UpdateButtons();

  CResourceArray& m_resources;
  CConfig& m_config;
  const ResourcePictures& m_pictures;
  std::function<void()> m_markModified;
  QList<QIcon> m_strip;
  QTreeWidget* m_pList;
  QPushButton* m_pProperties;
  QPushButton* m_pRemove;
};

}  // namespace jb
