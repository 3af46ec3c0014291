#pragma once
// The window's ratio-finder controls as plain strings, for running the finder
// outside the window.
#include <array>
#include <string>
#include <vector>

#include "synth/finder_view.h"

namespace tv {

class TextFinderView : public FinderView {
public:
    // Numbers are read and written with "." whatever the user's locale.
    TextFinderView(std::string localOutput, std::string multiplier, std::string std,
                   const SynthOptions& options);

    std::string localOutputText() const override { return m_localOutput; }
    std::string multiplierText() const override { return m_multiplier; }
    std::string stdText() const override { return m_std; }
    SynthOptions options() const override { return m_options; }
    std::string decimalSeparator() const override { return "."; }

    void clearStatus() override { m_status.clear(); }
    void addStatusLine(const std::string& line) override { m_status.push_back(line); }
    void setSearchCaption(const std::string& caption) override { m_searchCaption = caption; }
    void setLabel(FinderLabel label, const std::string& text) override;
    std::string label(FinderLabel label) const override;
    void setResult(ResultEdit edit, const std::string& text) override;
    void setEnabled(FinderControl control, bool enabled) override;

    std::string result(ResultEdit edit) const;
    const std::vector<std::string>& statusLines() const { return m_status; }
    bool searchEnabled() const { return m_searchEnabled; }
    // How many times a match has been shown completely: the display step ends
    // with the FuncReg edit, so this counts the words written there.
    int shownCount() const { return m_shownCount; }

private:
    std::string m_localOutput;
    std::string m_multiplier;
    std::string m_std;
    SynthOptions m_options;
    std::vector<std::string> m_status;
    std::string m_searchCaption;
    std::array<std::string, 6> m_labels;   // indexed by FinderLabel
    std::array<std::string, 4> m_results;  // indexed by ResultEdit
    bool m_searchEnabled = true;
    int m_shownCount = 0;
};

}  // namespace tv
