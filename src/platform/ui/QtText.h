#pragma once
// The program's 8-bit strings in Qt widgets: UTF-8 when the bytes are valid
// UTF-8, else Windows-1252, which is what older environment files hold.

#include <QString>
#include <string>

namespace jb {

QString ToQString(const std::string& text);

// A file name from a dialog as the bytes the file system holds.
std::string FromQFileName(const QString& name);

}  // namespace jb
