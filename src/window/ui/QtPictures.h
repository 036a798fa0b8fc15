#pragma once
// The window's desktop pictures: cursors and icons, read from the PNG files
// the skin build writes to res/ (cursorN.png with its hot spot in a
// "HotSpot" text chunk, iconN.png). A missing file gives the desktop's
// default look, never a failure.

#include <QCursor>
#include <QHash>
#include <QIcon>
#include <QString>

namespace jb {

class QtPictures {
 public:
  explicit QtPictures(QString folder) : m_folder(std::move(folder)) {}

  QCursor Cursor(int id);
  QIcon Icon(int id);
  const QString& Folder() const { return m_folder; }

 private:
  QString m_folder;
  QHash<int, QCursor> m_cursors;
  QHash<int, QIcon> m_icons;
};

}  // namespace jb
