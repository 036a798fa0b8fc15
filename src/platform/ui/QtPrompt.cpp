#include "platform/ui/QtPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"

namespace jb {
namespace {

// Message boxes carry the program file's name as their caption.
QString Caption() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }

}  // namespace

void QtPrompt::ShowMessage(int stringId, const std::string& detail) {
  QMessageBox box(QMessageBox::Warning, Caption(), ToQString(m_loadText(stringId)), QMessageBox::Ok, m_parent);
  if (!detail.empty()) box.setDetailedText(ToQString(detail));
  box.exec();
}

void QtPrompt::ShowText(const std::string& text) {
  QMessageBox box(QMessageBox::Warning, Caption(), ToQString(text), QMessageBox::Ok, m_parent);
  box.exec();
}

Answer QtPrompt::AskYesNoCancel(const std::string& text) {
  QMessageBox box(QMessageBox::Question, Caption(), ToQString(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

QString QtPrompt::NameFilters(const std::string& filter) {
  // Pairs of description and pattern separated by "|"; the description
  // already names the pattern, as Qt wants it.
  QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    if (!parts[i].isEmpty()) filters << parts[i];
  return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtPrompt::ChooseOpenFile(const FileDialogOptions& options) {
  QString chosen =
      QFileDialog::getOpenFileName(m_parent, QString(), ToQString(options.initialPath), NameFilters(options.filter));
  if (chosen.isEmpty()) return std::nullopt;
  return FromQFileName(chosen);
}

std::optional<std::string> QtPrompt::ChooseSaveFile(const FileDialogOptions& options) {
  QFileDialog dialog(m_parent, QString(), ToQString(options.initialPath), NameFilters(options.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(ToQString(options.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQFileName(dialog.selectedFiles().front());
}

std::optional<std::string> QtPrompt::ChooseFolder(const FolderDialogOptions& options) {
  // The desktop's chooser has no place for a prompt: it is embedded under
  // one in a window that carries the title and icon.
  QDialog window(m_parent);
  window.setWindowTitle(ToQString(options.title));
  if (!options.iconFile.empty()) window.setWindowIcon(QIcon(ToQString(options.iconFile)));
  auto* layout = new QVBoxLayout(&window);
  auto* prompt = new QLabel(ToQString(options.prompt), &window);
  layout->addWidget(prompt);
  auto* chooser = new QFileDialog(&window);
  chooser->setWindowFlags(Qt::Widget);  // made a window of its own otherwise
  chooser->setFileMode(QFileDialog::Directory);
  chooser->setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (!options.startFolder.empty()) chooser->setDirectory(QFile::decodeName(options.startFolder.c_str()));
  layout->addWidget(chooser, 1);
  chooser->show();  // a dialog starts hidden, even as a child
  if (chooser->layout()) chooser->layout()->setContentsMargins(0, 0, 0, 0);
  QObject::connect(chooser, &QDialog::accepted, &window, &QDialog::accept);
  QObject::connect(chooser, &QDialog::rejected, &window, &QDialog::reject);
  window.resize(640, 460);
  if (window.exec() != QDialog::Accepted || chooser->selectedFiles().isEmpty()) return std::nullopt;
  return FromQFileName(chooser->selectedFiles().front());
}

void QtPrompt::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtPrompt::EndWaitCursor() { QApplication::restoreOverrideCursor(); }

void QtPrompt::Beep() { QApplication::beep(); }

}  // namespace jb
