#include "resources/ui/ResourcePictures.h"

#include <QPixmap>

namespace jb {

QString ResourcePictures::IconFile(int id) const { return m_folder + QStringLiteral("/icon%1.png").arg(id); }

QList<QIcon> ResourcePictures::Strip(int id, int width) const {
  QPixmap strip(m_folder + QStringLiteral("/bitmap%1.png").arg(id));
  QList<QIcon> images;
  for (int x = 0; x + width <= strip.width(); x += width) images.append(QIcon(strip.copy(x, 0, width, strip.height())));
  return images;
}

}  // namespace jb
