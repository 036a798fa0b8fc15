#include "treeview/ui/CTreeViewPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "config/CConfig.h"
#include "platform/Prompt.h"
#include "platform/ui/ControlId.h"
#include "platform/ui/QtText.h"
#include "skin/SkinSet.h"
#include "sprites/ui/IconSlider.h"
#include "strings/StringTable.h"
#include "treeview/BackgroundImageCheck.h"
#include "treeview/TreeMessages.h"

namespace jb {
namespace {

constexpr std::uint8_t kWheelModeMask = 0x07;
constexpr std::uint8_t kWheelLines = 1, kWheelHalfPage = 2, kWheelPage = 4;
constexpr std::uint8_t kSmoothScrolling = 0x80;

// The six icon settings, in the order of their sliders on the page.
struct IconSetting {
  const char* label;
  int sliderId, previewId;
  std::uint8_t ConfigSettings::*setting;
  int row, column;
};
constexpr IconSetting kIconSettings[] = {
    {"Artist :", 1098, 1099, &ConfigSettings::artistIcon, 0, 0},
    {"Album :", 1100, 1060, &ConfigSettings::albumIcon, 1, 0},
    {"Play list :", 1101, 1061, &ConfigSettings::playListIcon, 2, 0},
    {"User type :", 1094, 1097, &ConfigSettings::userTypeIcon, 0, 1},
    {"Folder :", 1095, 1058, &ConfigSettings::folderIcon, 1, 1},
    {"File group :", 1096, 1059, &ConfigSettings::fileGroupIcon, 2, 1},
};
constexpr int kFileGroupSliderId = 1096;

QSlider* TickedSlider(int id, int maximum, int position, QWidget* parent) {
  auto* slider = WithId(new QSlider(Qt::Horizontal, parent), id);
  slider->setRange(0, maximum);
  slider->setValue(position);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(maximum / 8 + 1);
  slider->setMinimumWidth(90);
  return slider;
}

}  // namespace

QString CTreeViewPage::Title() { return QStringLiteral("Tree-view"); }

CTreeViewPage::CTreeViewPage(CConfig& config, SkinSet& skin, IMessageTarget& mainWindow, IPrompt& prompt,
                             QWidget* parent)
    : QWidget(parent), m_config(config), m_skin(skin), m_mainWindow(mainWindow), m_prompt(prompt) {
  auto* left = new QVBoxLayout;
  left->addWidget(BuildScrolling());
  left->addWidget(BuildWheel());
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(BuildIcons(), 1);
  auto* page = new QVBoxLayout(this);
  page->addLayout(top);
  page->addWidget(BuildAppearance());
  page->addStretch(1);

  UpdateScrollingControls();
  if (m_config.IsBackgroundImageOn()) {
    m_pImage->setChecked(true);
    ApplyBackgroundState();
  }
  // Only what the user changes from now on reaches the configuration.
  Connect();
}

CTreeViewPage::~CTreeViewPage() = default;

QGroupBox* CTreeViewPage::BuildScrolling() {
  auto* box = new QGroupBox(QStringLiteral("Scrolling"), this);
  m_pSmooth = WithId(new QCheckBox(QStringLiteral("&Smooth Scrolling."), box), 1023);
  m_pSmooth->setChecked(m_config.scrollOptions & kSmoothScrolling);
  (new QVBoxLayout(box))->addWidget(m_pSmooth);
  return box;
}

QGroupBox* CTreeViewPage::BuildWheel() {
  auto* box = new QGroupBox(QStringLiteral("Mouse wheel"), this);
  m_pLines = WithId(new QRadioButton(QStringLiteral("Scrolls"), box), 1020);
  // The spin and its number edit are one control here; each carries its id.
  m_pWheelLines = WithId(new QSpinBox(box), 1014);
  m_pWheelLines->setRange(1, 99);
  m_pWheelLines->setValue(m_config.wheelLines);
  if (auto* edit = m_pWheelLines->findChild<QLineEdit*>()) WithId(edit, 1013);
  m_pHalfPage = WithId(new QRadioButton(QStringLiteral("Scrolls &half a page."), box), 1017);
  m_pPage = WithId(new QRadioButton(QStringLiteral("Scrolls one &page."), box), 1016);

  auto* lines = new QHBoxLayout;
  lines->addWidget(m_pLines);
  lines->addWidget(m_pWheelLines);
  lines->addWidget(new QLabel(QStringLiteral("lines."), box));
  lines->addStretch(1);
  auto* layout = new QVBoxLayout(box);
  layout->addLayout(lines);
  layout->addWidget(m_pHalfPage);
  layout->addWidget(m_pPage);
  return box;
}

QGroupBox* CTreeViewPage::BuildIcons() {
  auto* box = new QGroupBox(QStringLiteral("Icons"), this);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(8);
  const CQvSpriteArray& icons = m_skin.Icons();
  for (const IconSetting& s : kIconSettings) {
    std::uint8_t& setting = m_config.*s.setting;
    auto icon = std::make_unique<IconSlider>(icons, icons.GetAt(0), setting, box);
    WithId(icon->Slider(), s.sliderId);
    WithId(icon->Preview(), s.previewId);
    auto* label = new QLabel(QString::fromLatin1(s.label), box);
    label->setBuddy(icon->Slider());
    // Icons show in the tree after its next rebuild: no refresh here.
    QObject::connect(icon->Slider(), &QSlider::valueChanged, this,
                     [&setting](int value) { setting = static_cast<std::uint8_t>(value); });
    if (s.sliderId == kFileGroupSliderId)
      for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(icon->Slider()),
                         static_cast<QWidget*>(icon->Preview())})
        w->setEnabled(false);
    const int c = s.column * 4;
    grid->addWidget(label, s.row, c);
    grid->addWidget(icon->Slider(), s.row, c + 1);
    grid->addWidget(icon->Preview(), s.row, c + 2, Qt::AlignCenter);
    m_aIcons.push_back(std::move(icon));
  }
  grid->setColumnMinimumWidth(3, 12);
  return box;
}

QGroupBox* CTreeViewPage::BuildAppearance() {
  auto* box = new QGroupBox(QStringLiteral("Appearance"), this);
  // The colours are shown but not editable.
  auto* colours = new QGridLayout;
  int row = 0;
  for (auto [text, id] : {std::pair{"Background color :", 1107}, {"Text color :", 1108}, {"Selection color :", 1109}}) {
    auto* label = new QLabel(QString::fromLatin1(text), box);
    auto* button = WithId(new QPushButton(QStringLiteral("..."), box), id);
    button->setFixedWidth(28);
    label->setEnabled(false);
    button->setEnabled(false);
    colours->addWidget(label, row, 0);
    colours->addWidget(button, row++, 1, Qt::AlignLeft);
  }
  colours->addWidget(new QLabel(QStringLiteral("Selection transparency :"), box), row, 0);
  m_pSelectionTransparency = TickedSlider(1106, 127, m_config.selectionTransparency / 2, box);
  colours->addWidget(m_pSelectionTransparency, row, 1);

  auto* image = new QGridLayout;
  m_pImage = WithId(new QCheckBox(QStringLiteral("Background image :"), box), 1103);
  m_pImagePath = WithId(new QLineEdit(box), 1102);
  m_pImagePath->setReadOnly(true);
  m_pBrowse = WithId(new QPushButton(QStringLiteral("..."), box), 1104);
  m_pBrowse->setFixedWidth(28);
  m_pImageTransparencyLabel = WithId(new QLabel(QStringLiteral("Image transparency :"), box), 1110);
  m_pImageTransparency = TickedSlider(1105, 255, m_config.imageTransparency, box);
  for (QWidget* w : {static_cast<QWidget*>(m_pImagePath), static_cast<QWidget*>(m_pBrowse),
                     static_cast<QWidget*>(m_pImageTransparencyLabel), static_cast<QWidget*>(m_pImageTransparency)})
    w->setEnabled(false);
  image->addWidget(m_pImage, 0, 0, 1, 3);
  image->addWidget(m_pImagePath, 1, 0, 1, 2);
  image->addWidget(m_pBrowse, 1, 2);
  image->addWidget(m_pImageTransparencyLabel, 2, 0);
  image->addWidget(m_pImageTransparency, 2, 1, 1, 2);
  image->setColumnStretch(1, 1);

  auto* layout = new QHBoxLayout(box);
  layout->addLayout(colours);
  layout->addSpacing(16);
  layout->addLayout(image, 1);
  return box;
}

void CTreeViewPage::Connect() {
  connect(m_pLines, &QRadioButton::clicked, this, [this] { OnWheelMode(kWheelLines); });
  connect(m_pHalfPage, &QRadioButton::clicked, this, [this] { OnWheelMode(kWheelHalfPage); });
  connect(m_pPage, &QRadioButton::clicked, this, [this] { OnWheelMode(kWheelPage); });
  connect(m_pSmooth, &QCheckBox::toggled, this, [this](bool on) { OnSmoothScrolling(on); });
  connect(m_pWheelLines, &QSpinBox::valueChanged, this,
          [this](int lines) { m_config.wheelLines = static_cast<std::uint8_t>(lines); });
  connect(m_pSelectionTransparency, &QSlider::valueChanged, this, [this](int position) {
    m_config.selectionTransparency = static_cast<std::uint8_t>(position * 2);
    Refresh();
  });
  connect(m_pImageTransparency, &QSlider::valueChanged, this, [this](int position) {
    m_config.imageTransparency = static_cast<std::uint8_t>(position);
    RebuildAndRefresh();
  });
  connect(m_pImage, &QCheckBox::toggled, this, [this](bool on) { OnBackgroundImage(on); });
  connect(m_pBrowse, &QPushButton::clicked, this, [this] { OnBrowse(); });
}

void CTreeViewPage::UpdateScrollingControls() {
  const std::uint8_t mode = m_config.scrollOptions & kWheelModeMask;
  m_pWheelLines->setValue(m_config.wheelLines);
  m_pWheelLines->setEnabled(mode == kWheelLines);
  m_pLines->setChecked(mode & kWheelLines);
  m_pHalfPage->setChecked(mode & kWheelHalfPage);
  m_pPage->setChecked(mode & kWheelPage);
}

void CTreeViewPage::OnWheelMode(std::uint8_t mode) {
  m_config.scrollOptions = static_cast<std::uint8_t>((m_config.scrollOptions & ~kWheelModeMask) | mode);
  UpdateScrollingControls();
}

void CTreeViewPage::OnSmoothScrolling(bool on) {
  m_config.scrollOptions = static_cast<std::uint8_t>(on ? m_config.scrollOptions | kSmoothScrolling
                                                        : m_config.scrollOptions & ~kSmoothScrolling);
}

void CTreeViewPage::OnBackgroundImage(bool on) {
  if (on)
    m_config.optionFlags |= CConfig::kBackgroundImage;
  else
    m_config.optionFlags &= ~CConfig::kBackgroundImage;
  ApplyBackgroundState();
}

void CTreeViewPage::ApplyBackgroundState() {
  const bool on = m_config.IsBackgroundImageOn();
  for (QWidget* w : {static_cast<QWidget*>(m_pImagePath), static_cast<QWidget*>(m_pBrowse),
                     static_cast<QWidget*>(m_pImageTransparencyLabel), static_cast<QWidget*>(m_pImageTransparency)})
    w->setEnabled(on);
  m_pImagePath->setText(ToQString(m_config.backgroundImagePath));
  RebuildAndRefresh();
}

void CTreeViewPage::OnBrowse() {
  FileDialogOptions options;
  options.filter = LoadString(ids::BitmapFilter);
  options.initialPath = m_config.backgroundImagePath;
  const std::optional<std::string> path = m_prompt.ChooseOpenFile(options);
  if (!path) return;
  switch (CheckBackgroundImageFile(*path)) {
    case BackgroundImageCheck::CannotOpen:
      m_prompt.ShowMessage(ids::CannotOpenImage);
      return;
    case BackgroundImageCheck::Not24Bit:
      m_prompt.ShowMessage(ids::BackgroundImageNot24Bit);
      return;
    case BackgroundImageCheck::Accepted:
      break;
  }
  m_config.backgroundImagePath = *path;
  m_pImagePath->setText(ToQString(*path));
  RebuildAndRefresh();
}

void CTreeViewPage::RebuildAndRefresh() {
  m_skin.RebuildBackgroundImage(m_config);
  Refresh();
}

void CTreeViewPage::Refresh() { m_mainWindow.Send(WM_TREE_REFRESH, 0, 0); }

}  // namespace jb
