#include "window/ui/CMainWindowPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "skin/SkinSet.h"
#include "sprites/ui/CQvStaticSprite.h"

namespace jb {
namespace {

// Combo entries 0 "None", 1 "Top" or "Left", 2 "Bottom" or "Right" and their
// bits; a pair holding both bits shows as "None".
int EntryOf(std::uint8_t bits, std::uint8_t first, std::uint8_t second) {
  if (bits == first) return 1;
  if (bits == second) return 2;
  return 0;
}
std::uint8_t BitsOf(int entry, std::uint8_t first, std::uint8_t second) {
  if (entry == 1) return first;
  if (entry == 2) return second;
  return 0;
}

QComboBox* AlignmentList(int id, const char* first, const char* second) {
  auto* combo = new QComboBox;
  combo->setObjectName(QStringLiteral("id%1").arg(id));
  combo->addItems({QStringLiteral("None"), QString::fromLatin1(first), QString::fromLatin1(second)});
  return combo;
}

// Controls for what the window never had: shown as the page always shows
// them, never enabled, never read.
template <class Control>
Control* Inert(Control* control, int id) {
  if (id) control->setObjectName(QStringLiteral("id%1").arg(id));
  control->setEnabled(false);
  return control;
}

}  // namespace

CMainWindowPage::CMainWindowPage(CConfig& config, const SkinSet& skin, QWidget* parent)
    : QWidget(parent), m_config(config), m_skin(skin) {
  setObjectName(QStringLiteral("id165"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildAlignment());
  m_pAutoLoad = new QCheckBox(QStringLiteral("Auto load Winamp on launch."));
  m_pAutoLoad->setObjectName(QStringLiteral("id1092"));
  layout->addWidget(m_pAutoLoad);
  layout->addWidget(Inert(new QCheckBox(QStringLiteral("Auto scan on CD notifications.")), 1093));
  layout->addStretch();
  OnInitDialog();

  connect(m_pVertAlignment, &QComboBox::activated, this, &CMainWindowPage::OnVertAlignment);
  connect(m_pHorzAlignment, &QComboBox::activated, this, &CMainWindowPage::OnHorzAlignment);
  connect(m_pAutoLoad, &QCheckBox::clicked, this, &CMainWindowPage::OnAutoLoad);
}

QString CMainWindowPage::Title() { return QStringLiteral("Main window"); }

QWidget* CMainWindowPage::BuildAlignment() {
  auto* group = new QGroupBox(QStringLiteral("Windows alignment"));
  auto* grid = new QGridLayout(group);
  m_pVertAlignment = AlignmentList(1021, "Top", "Bottom");
  m_pHorzAlignment = AlignmentList(1022, "Left", "Right");
  auto* vertLabel = new QLabel(QStringLiteral("Vertical alignment :"));
  auto* horzLabel = new QLabel(QStringLiteral("Horizontal alignment :"));
  vertLabel->setBuddy(m_pVertAlignment);
  horzLabel->setBuddy(m_pHorzAlignment);
  grid->addWidget(vertLabel, 0, 0);
  grid->addWidget(m_pVertAlignment, 0, 1);
  grid->addWidget(horzLabel, 1, 0);
  grid->addWidget(m_pHorzAlignment, 1, 1);

  grid->addWidget(Inert(new QCheckBox(QStringLiteral("Snaped-up by Winamp")), 1089), 2, 0, 1, 2);
  auto* pixels = new QHBoxLayout;
  pixels->setContentsMargins(20, 0, 0, 0);
  pixels->addWidget(Inert(new QLabel(QStringLiteral("at")), 0));
  auto* edit = Inert(new QLineEdit, 1090);
  edit->setFixedWidth(40);
  pixels->addWidget(edit);
  auto* spin = Inert(new QSpinBox, 1091);
  spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  spin->setFixedWidth(18);
  pixels->addWidget(spin);
  pixels->addWidget(Inert(new QLabel(QStringLiteral("pixels.")), 0));
  pixels->addStretch();
  grid->addLayout(pixels, 3, 0, 1, 2);
  grid->setRowStretch(4, 1);

  grid->setColumnMinimumWidth(2, 16);
  grid->addWidget(new QLabel(QStringLiteral("Sample :")), 0, 3);
  grid->addWidget(BuildSample(), 1, 3, 4, 1, Qt::AlignLeft | Qt::AlignTop);
  grid->setColumnStretch(4, 1);
  return group;
}

QWidget* CMainWindowPage::BuildSample() {
  m_pLargeSample = new CQvStaticSprite;
  m_pLargeSample->setObjectName(QStringLiteral("id1019"));
  // The small sample lives inside the large one, so it always shows on top
  // and moves with it.
  m_pSmallSample = new CQvStaticSprite(m_pLargeSample);
  m_pSmallSample->setObjectName(QStringLiteral("id1018"));
  return m_pLargeSample;
}

void CMainWindowPage::OnInitDialog() {
  const std::uint8_t a = m_config.GetPlacementFlags();
  m_pVertAlignment->setCurrentIndex(EntryOf(a & 0x0C, CConfig::kAlignTop, CConfig::kAlignBottom));
  m_pHorzAlignment->setCurrentIndex(EntryOf(a & 0x03, CConfig::kAlignLeft, CConfig::kAlignRight));

  // The large form's picture is shown dimmed by the button face, so the
  // small one stands out on it.
  m_pLargeSample->SetSprite(m_skin.LargeSample());
  CQvSprite& large = m_pLargeSample->Sprite();
  large.DrawRect(0, 0, large.GetWidth(), large.GetHeight(), CQvSprite::GetSysColor(15, 128), true);
  m_pSmallSample->SetSprite(m_skin.SmallSample());

  // The large sample's rectangle in its own coordinates, which are the
  // small sample's too.
  m_rcLargeSample = {0, 0, large.GetWidth(), large.GetHeight()};
  m_rcSmallSample = {0, 0, m_pSmallSample->Sprite().GetWidth(), m_pSmallSample->Sprite().GetHeight()};
  PlaceSmallSample();

  m_pAutoLoad->setChecked((m_config.optionFlags & CConfig::kAutoLoadPlayer) != 0);
}

void CMainWindowPage::OnVertAlignment(int entry) {
  m_config.SetVertAlignment(BitsOf(entry, CConfig::kAlignTop, CConfig::kAlignBottom));
  PlaceSmallSample();
}

void CMainWindowPage::OnHorzAlignment(int entry) {
  m_config.SetHorzAlignment(BitsOf(entry, CConfig::kAlignLeft, CConfig::kAlignRight));
  PlaceSmallSample();
}

// Flipped rather than read from the box, as the window's option always was.
void CMainWindowPage::OnAutoLoad() { m_config.optionFlags ^= CConfig::kAutoLoadPlayer; }

void CMainWindowPage::PlaceSmallSample() {
  const Rect& l = m_rcLargeSample;
  const int width = m_rcSmallSample.right - m_rcSmallSample.left;
  const int height = m_rcSmallSample.bottom - m_rcSmallSample.top;
  const std::uint8_t a = m_config.GetPlacementFlags();
  int y = l.top + ((l.bottom - l.top) - height) / 2;
  if ((a & 0x0C) == CConfig::kAlignTop) y = l.top;
  if ((a & 0x0C) == CConfig::kAlignBottom) y = l.bottom - height;
  int x = l.left + ((l.right - l.left) - width) / 2;
  if ((a & 0x03) == CConfig::kAlignLeft) x = l.left;
  if ((a & 0x03) == CConfig::kAlignRight) x = l.right - width;
  m_pSmallSample->move(x, y);
}

}  // namespace jb
