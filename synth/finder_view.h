#pragma once
// What the ratio finder reads from and shows on the screen. The window implements
// it on its controls; tvcalc and the tests implement it on plain strings. The
// finder hands over finished texts and reads nothing back: the values of a match
// come back to the caller from the click itself (synth/ratio_finder.h). Every
// call goes straight to the control, so a click that fails half-way leaves on
// screen exactly what it had shown by then.
#include <string>
#include <utility>

#include "synth/synth_options.h"

namespace tv {

enum class FinderLabel {
    VCO,
    PD,
    N,
    R,
    A,
    B
};  // Label4, Label11, Label9, Label10, Label18, Label20
enum class ResultEdit { RefReg, NReg, InitReg, FuncReg };  // Edit4, Edit5, Edit6, Edit9
enum class FinderControl { Search, Prev, Reset, MemoryChannel, Variant };
// Button4, Button3, Button5, RadioGroup2, RadioGroup6

class FinderView {
public:
    virtual ~FinderView() = default;

    // Inputs, read when a click needs them.
    virtual std::string localOutputText() const = 0;  // Edit1
    virtual std::string multiplierText() const = 0;   // Edit2
    virtual std::string stdText() const = 0;          // Edit3
    virtual SynthOptions options() const = 0;
    // The decimal separator of the user's locale, used to read and to write numbers.
    virtual std::string decimalSeparator() const = 0;

    // Outputs.
    virtual void clearStatus() = 0;                                 // empty Memo2
    virtual void addStatusLine(const std::string& line) = 0;        // add a line to Memo2
    virtual void setSearchCaption(const std::string& caption) = 0;  // Button4
    virtual void setLabel(FinderLabel label, const std::string& text) = 0;
    virtual void setResult(ResultEdit edit, const std::string& text) = 0;
    virtual void setEnabled(FinderControl control, bool enabled) = 0;
};

// Inputs given as plain strings, outputs dropped: for running the finder where
// nothing is shown but what the clicks return.
class QuietFinderView : public FinderView {
public:
    QuietFinderView(std::string localOutput, std::string multiplier, std::string std,
                    const SynthOptions& options, std::string decimalSeparator = ".")
        : m_localOutput(std::move(localOutput)),
          m_multiplier(std::move(multiplier)),
          m_std(std::move(std)),
          m_options(options),
          m_separator(std::move(decimalSeparator)) {}

    std::string localOutputText() const override { return m_localOutput; }
    std::string multiplierText() const override { return m_multiplier; }
    std::string stdText() const override { return m_std; }
    SynthOptions options() const override { return m_options; }
    std::string decimalSeparator() const override { return m_separator; }

    void clearStatus() override {}
    void addStatusLine(const std::string&) override {}
    void setSearchCaption(const std::string&) override {}
    void setLabel(FinderLabel, const std::string&) override {}
    void setResult(ResultEdit, const std::string&) override {}
    void setEnabled(FinderControl, bool) override {}

private:
    std::string m_localOutput;
    std::string m_multiplier;
    std::string m_std;
    SynthOptions m_options;
    std::string m_separator;
};

}  // namespace tv
