#pragma once
// The dialogs' pictures, read from the PNG files the skin build writes
// (iconN.png for buttons and windows, bitmapN.png for the image strips).
// A missing file gives empty pictures, never a failure.

#include <QIcon>
#include <QList>
#include <QString>

namespace jb {

// Bitmaps and icons by resource id.
enum ResourcePicture : int {
  kTypeStrip = 159,       // bitmap: 16-pixel type images
  kIconFolderBrowser = 159,
  kIconProperties = 166,  // a hand holding a sheet
  kIconNewResource = 195,
  kIconNewType = 196,
  kIconResourceTypes = 197,
  kIconDelete = 199,      // a red cross
  kTickStrip = 200,       // bitmap: 13-pixel boxes, empty then ticked
};

class ResourcePictures {
 public:
  explicit ResourcePictures(QString folder) : m_folder(std::move(folder)) {}

  QString IconFile(int id) const;
  QIcon Icon(int id) const { return QIcon(IconFile(id)); }
  // Bitmap id cut into images width pixels wide, left to right.
  QList<QIcon> Strip(int id, int width) const;
  const QString& Folder() const { return m_folder; }

 private:
  QString m_folder;
};

}  // namespace jb
