#pragma once
// The rooms below the window speak std::string (UTF-8); the controls speak QString.
#include <QString>
#include <string>

namespace tv {

inline QString q(const std::string& text) { return QString::fromStdString(text); }
inline std::string s(const QString& text) { return text.toStdString(); }

}  // namespace tv
