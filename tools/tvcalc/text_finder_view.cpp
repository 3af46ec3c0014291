#include "tools/tvcalc/text_finder_view.h"

#include <utility>

namespace tv {

TextFinderView::TextFinderView(std::string localOutput, std::string multiplier, std::string std,
                               const SynthOptions& options)
    : m_localOutput(std::move(localOutput)),
      m_multiplier(std::move(multiplier)),
      m_std(std::move(std)),
      m_options(options) {}

void TextFinderView::setLabel(FinderLabel label, const std::string& text) {
    m_labels[static_cast<size_t>(label)] = text;
}

std::string TextFinderView::label(FinderLabel label) const {
    return m_labels[static_cast<size_t>(label)];
}

void TextFinderView::setResult(ResultEdit edit, const std::string& text) {
    m_results[static_cast<size_t>(edit)] = text;
    if (edit == ResultEdit::FuncReg && !text.empty()) ++m_shownCount;
}

std::string TextFinderView::result(ResultEdit edit) const {
    return m_results[static_cast<size_t>(edit)];
}

void TextFinderView::setEnabled(FinderControl control, bool enabled) {
    if (control == FinderControl::Search) m_searchEnabled = enabled;
}

}  // namespace tv
