#pragma once
// A desktop window for the benchmarks: it remembers its rectangle, counts
// its paints, reaches a player that always starts and shows nothing. The
// scan's messages go to the target it is given, or nowhere.

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/MessageTarget.h"
#include "platform/Shell.h"
#include "window/IMainDlgHost.h"

namespace jb::bench {

class QuietHost : public IMainDlgHost, IShell, IMessageTarget {
 public:
  explicit QuietHost(IMessageTarget* messages = nullptr) : m_pMessages(messages ? messages : this) {}

  Rect GetWindowRect() const override { return m_rect; }
  void SetWindowRect(const Rect& rect) override { m_rect = rect; }
  std::vector<Rect> GetScreenRects() const override { return {}; }
  void SetCapture() override {}
  void ReleaseCapture() override {}
  void SetTimer(unsigned, int) override {}
  void KillTimer(unsigned) override {}
  void PaintNow() override { ++paints; }
  int TrackPopupMenu(MenuPopup, int, int, bool, const std::vector<int>&) override { return 0; }
  void GetCursorPos(int& x, int& y) const override { x = y = 0; }
  void SetCursor(CursorId) override {}
  void SetForeground() override {}
  IPrompt& Prompt() override { return m_prompt; }
  IShell& Shell() override { return *this; }
  IMessageTarget& MessageTarget() override { return *m_pMessages; }
  void TrayCreate(TrayIconId, const std::string&) override {}
  void TraySetIcon(TrayIconId) override {}
  void TraySetToolTip(const std::string&) override {}
  void TrayRemove() override {}
  void EndDialog(int) override {}
  bool OpenPlayList(const std::string&, ShellAction) override { return true; }
  bool OpenAddress(const std::string&) override { return true; }
  void Post(unsigned, std::uintptr_t, std::intptr_t) override {}
  void Send(unsigned, std::uintptr_t, std::intptr_t) override {}

  long paints = 0;

 private:
  Rect m_rect;
  SilentPrompt m_prompt;
  IMessageTarget* m_pMessages;
};

}  // namespace jb::bench
