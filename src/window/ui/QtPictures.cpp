#include "window/ui/QtPictures.h"

#include <QImage>
#include <QPixmap>

namespace jb {

QCursor QtPictures::Cursor(int id) {
  auto it = m_cursors.find(id);
  if (it != m_cursors.end()) return *it;
  QImage image(m_folder + QStringLiteral("/cursor%1.png").arg(id));
  QCursor cursor(Qt::ArrowCursor);
  if (!image.isNull()) {
    // "x y"; the centre when the chunk is missing or bad.
    const QStringList hot = image.text(QStringLiteral("HotSpot")).split(QLatin1Char(' '));
    bool okX = false, okY = false;
    int x = hot.size() == 2 ? hot[0].toInt(&okX) : 0;
    int y = hot.size() == 2 ? hot[1].toInt(&okY) : 0;
    cursor = okX && okY ? QCursor(QPixmap::fromImage(image), x, y) : QCursor(QPixmap::fromImage(image));
  }
  m_cursors.insert(id, cursor);
  return cursor;
}

QIcon QtPictures::Icon(int id) {
  auto it = m_icons.find(id);
  if (it != m_icons.end()) return *it;
  QIcon icon(m_folder + QStringLiteral("/icon%1.png").arg(id));
  m_icons.insert(id, icon);
  return icon;
}

}  // namespace jb
