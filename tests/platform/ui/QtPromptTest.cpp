// The prompt on Qt: message boxes carry the program's texts and the detail,
// file filters and texts reach Qt in its own form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "platform/ui/QtPrompt.h"
#include "platform/ui/QtText.h"

namespace jb {
namespace {

// Runs show while a timer reads and closes the box it opens: "text|detail".
QString Shown(const std::function<void()>& show) {
  QString seen;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      seen = box->text() + "|" + box->detailedText();
      box->accept();
    }
  });
  timer.start(10);
  show();
  return seen;
}

TEST(QtPromptTest, AMessageShowsTheTextOfItsIdAndItsDetail) {
  QtPrompt prompt([](int id) { return "text " + std::to_string(id); });
  EXPECT_EQ(Shown([&] { prompt.ShowMessage(16, "No space left on device"); }), "text 16|No space left on device");
  EXPECT_EQ(Shown([&] { prompt.ShowMessage(4); }), "text 4|");
}

TEST(QtPromptTest, FiltersAndTextsInQtsForm) {
  EXPECT_EQ(QtPrompt::NameFilters("Jukebar environment file (*.jbe)|*.jbe||"), "Jukebar environment file (*.jbe)");
  EXPECT_EQ(QtPrompt::NameFilters("A (*.a)|*.a|B (*.b)|*.b||"), "A (*.a);;B (*.b)");
  EXPECT_EQ(ToQString("Smörgås"), QString::fromUtf8("Smörgås"));
  // Not UTF-8: the bytes are Windows-1252, as older files hold them.
  EXPECT_EQ(ToQString("Sm\xF6rg\xE5s \x80"), QString::fromUtf8("Smörgås €"));
  EXPECT_EQ(FromQFileName(QString::fromUtf8("/tmp/a b/é")), "/tmp/a b/é");
}

TEST(QtPromptTest, TheFolderChooserShowsItsTitleAndPromptAndGivesTheFolder) {
  test::TempDir dir;
  const std::string folder = dir / "-a \"b\"";
  QDir().mkpath(QString::fromStdString(folder));
  QtPrompt prompt([](int) { return std::string(); });
  QString title, text;  // of the chooser's window
  auto choose = [&](bool accept) {
    test::WhenModal answer([&](QWidget* window) {
      title = window->windowTitle();
      text = window->findChild<QLabel*>()->text();
      auto* chooser = window->findChild<QFileDialog*>();
      chooser->setDirectory(QString::fromStdString(folder));
      QMetaObject::invokeMethod(chooser, accept ? "accept" : "reject");
    });
    return prompt.ChooseFolder({"Pick", "\nSelect...", dir.Path(), {}});
  };
  EXPECT_EQ(choose(false), std::nullopt);
  EXPECT_EQ(choose(true), folder);
  EXPECT_EQ(title + "|" + text, "Pick|\nSelect...");
}

}  // namespace
}  // namespace jb
