#include "tools/tvprog/console_view.h"

#include <ostream>

namespace tv {

void ConsoleView::addStatusLine(const std::string& line) { m_notes << "tvprog: " << line << '\n'; }

void ConsoleView::showMessage(const std::string& text) { m_notes << "tvprog: " << text << '\n'; }

std::string ConsoleView::bufferView() const {
    std::string text;
    for (size_t i = 0; i < m_bufferView.size(); ++i) {
        if (m_bufferView[i] == '\r' && i + 1 < m_bufferView.size() && m_bufferView[i + 1] == '\n')
            continue;
        text += m_bufferView[i];
    }
    return text;
}

}  // namespace tv
