// The key table. Every key-down reaches this handler before anything else,
// so Enter and Escape never act as a dialog's OK and Cancel.

#include <optional>

#include "window/CMainDlg.h"

namespace jb {
namespace {

std::optional<TreeKey> TreeKeyFor(int key) {
  switch (key) {
    case CMainDlg::kKeySpace:
      return TreeKey::Space;
    case CMainDlg::kKeyPageUp:
      return TreeKey::PageUp;
    case CMainDlg::kKeyPageDown:
      return TreeKey::PageDown;
    case CMainDlg::kKeyEnd:
      return TreeKey::End;
    case CMainDlg::kKeyHome:
      return TreeKey::Home;
    case CMainDlg::kKeyLeft:
      return TreeKey::Left;
    case CMainDlg::kKeyUp:
      return TreeKey::Up;
    case CMainDlg::kKeyRight:
      return TreeKey::Right;
    case CMainDlg::kKeyDown:
      return TreeKey::Down;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool CMainDlg::OnKeyDown(int key, unsigned modifiers) {
  const std::optional<TreeKey> treeKey = TreeKeyFor(key);
  if (key != kKeyEnter && !treeKey) return false;
  if (IsSmallForm()) {
    if (key == kKeyEnter || key == kKeySpace) ToggleForm();
  } else if (key == kKeyEnter) {
    HandOff(ShellAction::Play);
  } else {
    m_tree.OnKey(*treeKey, TreeModifiers(modifiers));
  }
  return true;
}

}  // namespace jb
