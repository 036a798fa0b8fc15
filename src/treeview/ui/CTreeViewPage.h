#pragma once
// The "Tree-view" page of the Options sheet: wheel and smooth scrolling, the
// icon of each kind of group, the selection transparency and the background
// image. Every control writes the live configuration the moment it changes
// (there is no Cancel: the sheet saves when it closes), and the appearance
// ones ask the main window to repaint the tree at once. Icon changes show
// after the tree's next rebuild, since nodes take their icon when made.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace jb {

class CConfig;
class IconSlider;
class IMessageTarget;
class IPrompt;
class SkinSet;

class CTreeViewPage : public QWidget {
 public:
  // config: the live configuration; skin: its icons and the background
  // image it rebuilds; mainWindow: where WM_TREE_REFRESH goes; prompt: the
  // bitmap messages and the file dialog.
  CTreeViewPage(CConfig& config, SkinSet& skin, IMessageTarget& mainWindow, IPrompt& prompt, QWidget* parent = nullptr);
  ~CTreeViewPage() override;

  // The page's title on the sheet's tab.
  static QString Title();

 private:
  QGroupBox* BuildScrolling();
  QGroupBox* BuildWheel();
  QGroupBox* BuildIcons();
  QGroupBox* BuildAppearance();
  void Connect();

  void UpdateScrollingControls();
  void OnWheelMode(std::uint8_t mode);
  void OnSmoothScrolling(bool on);
  void OnBackgroundImage(bool on);
  void ApplyBackgroundState();
  void OnBrowse();
  void RebuildAndRefresh();
  void Refresh();

  CConfig& m_config;
  SkinSet& m_skin;
  IMessageTarget& m_mainWindow;
  IPrompt& m_prompt;

  QCheckBox* m_pSmooth = nullptr;
  QRadioButton* m_pLines = nullptr;
  QRadioButton* m_pHalfPage = nullptr;
  QRadioButton* m_pPage = nullptr;
  QSpinBox* m_pWheelLines = nullptr;
  std::vector<std::unique_ptr<IconSlider>> m_aIcons;
  QSlider* m_pSelectionTransparency = nullptr;
  QCheckBox* m_pImage = nullptr;
  QLineEdit* m_pImagePath = nullptr;
  QPushButton* m_pBrowse = nullptr;
  QLabel* m_pImageTransparencyLabel = nullptr;
  QSlider* m_pImageTransparency = nullptr;
};

}  // namespace jb
