// Texts between the model (UTF-8 std::string, "&" marking an accelerator) and Qt.
#pragma once

#include <QString>
#include <string>

inline QString ToQString(const std::string& Text) {
  return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}
inline std::string FromQString(const QString& Text) { return Text.toStdString(); }

// The caption as it reads on screen: "&&" shows one "&", a single "&" only underlines the
// letter after it and is not shown itself.
QString VisibleCaption(const std::string& Caption);
