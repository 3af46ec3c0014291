#pragma once
// The rooms below the window speak std::string (UTF-8); the controls speak QString.
#include <QString>
#include <string>
#include <string_view>

namespace tv {

inline QString q(const std::string& text) { return QString::fromStdString(text); }
inline QString qView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string s(const QString& text) { return text.toStdString(); }

}  // namespace tv
