#ifndef KELVANE_QT_CROSSINGS_H_
#define KELVANE_QT_CROSSINGS_H_

#include <QFile>
#include <QRect>
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/box.h"

namespace kelvane {

// Where the program's values cross into Qt's and back; there are no others. Texts are
// UTF-8; paths are the system's bytes, in Qt's encoding of file names.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }
inline QString FromPath(const std::filesystem::path& path) {
  return QFile::decodeName(path.native().c_str());
}
inline std::filesystem::path ToPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}
inline QRect ToRect(const Box& box) { return QRect(box.left, box.top, box.width, box.height); }

}  // namespace kelvane

#endif  // KELVANE_QT_CROSSINGS_H_
