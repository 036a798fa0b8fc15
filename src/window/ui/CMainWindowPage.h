#pragma once
// The "Main window" page of the Options sheet: how the small form is
// aligned with the large one, with a preview of it, and the player's
// auto-load at start-up. Every change reaches the live configuration at
// once; a new alignment re-aligns the stored position of the form that is
// not shown, which the window shows at its next form switch.

#include <QWidget>
#include <cstdint>

#include "config/CConfig.h"

class QCheckBox;
class QComboBox;

namespace jb {

class CQvStaticSprite;
class SkinSet;

class CMainWindowPage : public QWidget {
 public:
  CMainWindowPage(CConfig& config, const SkinSet& skin, QWidget* parent = nullptr);

  // The page's title on the sheet's tab.
  static QString Title();

 private:
  QWidget* BuildAlignment();
  QWidget* BuildSample();
  void OnInitDialog();
  void OnVertAlignment(int entry);
  void OnHorzAlignment(int entry);
  void OnAutoLoad();
  // Moves the small sample to the edges of the large one that the
  // alignment ties together, centred on an axis set to "None".
  void PlaceSmallSample();

  CConfig& m_config;
  const SkinSet& m_skin;
  Rect m_rcLargeSample;
  Rect m_rcSmallSample;
  QComboBox* m_pHorzAlignment = nullptr;
  QComboBox* m_pVertAlignment = nullptr;
  CQvStaticSprite* m_pLargeSample = nullptr;
  CQvStaticSprite* m_pSmallSample = nullptr;
  QCheckBox* m_pAutoLoad = nullptr;
};

}  // namespace jb
