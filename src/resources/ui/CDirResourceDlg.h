#pragma once
// The directory resource dialog: path, cloak, sub-directories, hidden files
// and the extensions the directory is scanned for, each row ticked or not.

#include <QList>

#include "resources/ResourceEditing.h"
#include "resources/ui/CResourceDlg.h"
#include "resources/ui/ListRows.h"

class QLabel;

namespace jb {

class ResourcePictures;

class CDirResourceDlg : public CResourceDlg {
 public:
  CDirResourceDlg(std::string& path, std::uint8_t& flags, StringList& excludedExts, const CResourceArray& all,
                  const CResourceTypeArray& types, IPrompt& prompt, const ResourcePictures& pictures,
                  QWidget* parent = nullptr);

  // Ticks or unticks the row.
  void ToggleRow(QTreeWidgetItem* row);

 protected:
  bool Browse(std::string& path) override;
  void Store() override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using ExtensionItem = ObjectRow<ExtensionRow, ExtensionRowLess>;

  // Sub-directories, hidden files and the extensions go grey while the
  // directory is cloaked; their values are still stored.
  void ApplyCloakRule();
  void ShowMark(ExtensionItem* row);

  StringList& m_aExcludedExts;
  QString m_iconFile;
  std::vector<ExtensionRow> m_rows;
  QList<QIcon> m_ticks;
  QCheckBox* m_pSubDirectories;
  QCheckBox* m_pHidden;
  QLabel* m_pExtensionsLabel;
  QTreeWidget* m_pExtensions;
};

}  // namespace jb
