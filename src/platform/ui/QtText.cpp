#include "platform/ui/QtText.h"

#include <QFile>
#include <QStringDecoder>

namespace jb {

QString ToQString(const std::string& text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  if (!utf8.hasError()) return decoded;
  QStringDecoder cp1252("windows-1252");
  if (cp1252.isValid()) return cp1252.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace jb
