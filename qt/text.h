#ifndef KELVANE_QT_TEXT_H_
#define KELVANE_QT_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

namespace kelvane {

// The program's texts are UTF-8; Qt's are QString. These are the only crossings.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace kelvane

#endif  // KELVANE_QT_TEXT_H_
