#include "resources/ui/CDirResourceDlg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"
#include "resources/CFolderBrowser.h"
#include "resources/CResource.h"
#include "resources/ui/ResourcePictures.h"
#include "strings/StringTable.h"

namespace jb {

CDirResourceDlg::CDirResourceDlg(std::string& path, std::uint8_t& flags, StringList& excludedExts,
                                 const CResourceArray& all, const CResourceTypeArray& types, IPrompt& prompt,
                                 const ResourcePictures& pictures, QWidget* parent)
    : CResourceDlg(path, flags, all, prompt, QStringLiteral("Directory to scan or to cloak :"),
                   QStringLiteral("&Cloak this directory"), parent),
      m_aExcludedExts(excludedExts),
      m_iconFile(pictures.IconFile(kIconFolderBrowser)),
      m_rows(ExtensionRows(types, excludedExts)),
      m_ticks(pictures.Strip(kTickStrip, 13)),
      m_pSubDirectories(new QCheckBox(QStringLiteral("&Scan sub-directories"), this)),
      m_pHidden(new QCheckBox(QStringLiteral("Scan &hidden files"), this)),
      m_pExtensionsLabel(new QLabel(QStringLiteral("Scan files with the following extentions :"), this)),
      m_pExtensions(MakeReportList(1086,
                                   {ToQString(LoadString(ids::ExtensionColumn)),
                                    ToQString(LoadString(ids::AssociatedTypeColumn))},
                                   QSize(13, 13), this)) {
  setWindowTitle(QStringLiteral("Jukebar - Directory resource"));
  m_pSubDirectories->setObjectName(QStringLiteral("id1063"));
  m_pSubDirectories->setChecked((flags & CResource::kSubDirectories) != 0);
  m_pHidden->setObjectName(QStringLiteral("id1064"));
  m_pHidden->setChecked((flags & CResource::kHidden) != 0);
  m_pExtensionsLabel->setObjectName(QStringLiteral("id1087"));
  m_pExtensionsLabel->setBuddy(m_pExtensions);
  m_pExtensions->setMinimumHeight(140);
  m_pLayout->addWidget(m_pSubDirectories);
  m_pLayout->addWidget(m_pHidden);
  m_pLayout->addSpacing(4);
  m_pLayout->addWidget(m_pExtensionsLabel);
  m_pLayout->addWidget(m_pExtensions);
  AddButtons();

  for (ExtensionRow& row : m_rows) {
    auto* item = new ExtensionItem(&row);
    item->setText(0, ToQString(row.extension));
    item->setText(1, ToQString(row.typeName));
    ShowMark(item);
    m_pExtensions->addTopLevelItem(item);
  }
  m_pExtensions->sortItems(0, Qt::AscendingOrder);
  m_pExtensions->viewport()->installEventFilter(this);
  OnKey(m_pExtensions, Qt::Key_Space, [this] {
    const int row = SelectedRow(m_pExtensions);
    if (row >= 0) ToggleRow(m_pExtensions->topLevelItem(row));
  });
  connect(m_pCloak, &QCheckBox::toggled, this, &CDirResourceDlg::ApplyCloakRule);
  ApplyCloakRule();
}

void CDirResourceDlg::ApplyCloakRule() {
  const bool scanned = !m_pCloak->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{m_pSubDirectories, m_pHidden, m_pExtensionsLabel, m_pExtensions})
    control->setEnabled(scanned);
}

void CDirResourceDlg::ShowMark(ExtensionItem* row) {
  const int image = row->Object()->scanned ? 1 : 0;
  if (image < m_ticks.size()) row->setIcon(0, m_ticks[image]);
}

void CDirResourceDlg::ToggleRow(QTreeWidgetItem* row) {
  auto* item = static_cast<ExtensionItem*>(row);
  item->Object()->scanned = !item->Object()->scanned;
  ShowMark(item);
}

bool CDirResourceDlg::eventFilter(QObject* watched, QEvent* event) {
  // A click on a row's box toggles it; a click elsewhere only selects.
  if (watched == m_pExtensions->viewport() && event->type() == QEvent::MouseButtonPress) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    QTreeWidgetItem* item = m_pExtensions->itemAt(at);
    if (item) {
      const QRect cell = m_pExtensions->visualItemRect(item);
      const int boxEnd = cell.left() + m_pExtensions->iconSize().width() + 6;
      if (m_pExtensions->columnAt(at.x()) == 0 && at.x() < boxEnd) ToggleRow(item);
    }
  }
  return CResourceDlg::eventFilter(watched, event);
}

bool CDirResourceDlg::Browse(std::string& path) {
  CFolderBrowser browser(m_prompt, FromQFileName(m_iconFile), LoadString(ids::BrowseFolderTitle),
                         LoadString(ids::BrowseFolderPrompt));
  return browser.Browse(path);
}

void CDirResourceDlg::Store() {
  m_nFlags = static_cast<std::uint8_t>((m_pHidden->isChecked() ? CResource::kHidden : 0) |
                                       (m_pSubDirectories->isChecked() ? CResource::kSubDirectories : 0) |
                                       (m_pCloak->isChecked() ? CResource::kCloak : 0));
  std::vector<ExtensionRow> shown;
  for (int i = 0; i < m_pExtensions->topLevelItemCount(); ++i)
    shown.push_back(*static_cast<ExtensionItem*>(m_pExtensions->topLevelItem(i))->Object());
  m_aExcludedExts = ExcludedExtensions(shown);
}

void CDirResourceDlg::showEvent(QShowEvent* event) {
  CResourceDlg::showEvent(event);
  SplitColumns(m_pExtensions, 1);
}

}  // namespace jb
