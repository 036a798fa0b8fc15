#pragma once
// What the directory and file resource dialogs share: the path with its
// browse button, the cloak box, Ok and Cancel, and Ok's path rule. They
// change the resource's fields only on Ok.

#include <QDialog>
#include <cstdint>
#include <string>

class QCheckBox;
class QLineEdit;
class QVBoxLayout;

namespace jb {

class CResourceArray;
class IPrompt;

class CResourceDlg : public QDialog {
 public:
  // The opening steps: a resource without a path asks for one first and
  // ends as cancelled, without showing, when none is chosen. False then.
  bool Open();
  // Open, then the modal run: QDialog::Accepted on Ok.
  int Run();

  void OnBrowse();
  void OnOk();

 protected:
  CResourceDlg(std::string& path, std::uint8_t& flags, const CResourceArray& all, IPrompt& prompt,
               const QString& caption, const QString& cloakText, QWidget* parent);
  // Adds Ok and Cancel under what the dialog added to m_pLayout.
  void AddButtons();

  // Asks for a path starting from path; true with path set when one was chosen.
  virtual bool Browse(std::string& path) = 0;
  // Stores the rest of the dialog's values (the path is stored already).
  virtual void Store() = 0;

  std::uint8_t& m_nFlags;
  IPrompt& m_prompt;
  QVBoxLayout* m_pLayout;
  QCheckBox* m_pCloak = nullptr;

 private:
  // The path as typed; the bytes shown when untouched, so a name that is
  // not UTF-8 comes back as it was.
  std::string TypedPath() const;
  void ShowPath(const std::string& path);

  std::string& m_strPath;
  const CResourceArray& m_all;
  QLineEdit* m_pPath;
  std::string m_strShown;
  QString m_shownText;
};

}  // namespace jb
