#pragma once
// A FinderView that keeps the screen state and logs every output call in order,
// so a test can check both what a click leaves and the order it got there.
#include <array>
#include <string>
#include <vector>

#include "synth/finder_view.h"

namespace tv {

class RecordingFinderView : public FinderView {
public:
    std::string localOutput = "12340";
    std::string multiplier = "100";
    std::string stdMHz = "10";
    SynthOptions synthOptions;
    std::string separator = ".";

    std::vector<std::string> log;  // "clear", "line:...", "caption:...", "label:R=50", ...
    std::vector<std::string> status;
    std::string searchCaption = "serch";
    std::array<std::string, 6> labels;                          // by FinderLabel
    std::array<std::string, 4> results;                         // by ResultEdit
    std::array<bool, 5> enabled{true, true, true, true, true};  // by FinderControl

    std::string localOutputText() const override { return localOutput; }
    std::string multiplierText() const override { return multiplier; }
    std::string stdText() const override { return stdMHz; }
    SynthOptions options() const override { return synthOptions; }
    std::string decimalSeparator() const override { return separator; }

    void clearStatus() override {
        log.push_back("clear");
        status.clear();
    }
    void addStatusLine(const std::string& line) override {
        log.push_back("line:" + line);
        status.push_back(line);
    }
    void setSearchCaption(const std::string& caption) override {
        log.push_back("caption:" + caption);
        searchCaption = caption;
    }
    void setLabel(FinderLabel l, const std::string& text) override {
        static const char* const kNames[] = {"VCO", "PD", "N", "R", "A", "B"};
        log.push_back(std::string("label:") + kNames[static_cast<int>(l)] + "=" + text);
        labels[static_cast<size_t>(l)] = text;
    }
    void setResult(ResultEdit edit, const std::string& text) override {
        static const char* const kNames[] = {"RefReg", "NReg", "InitReg", "FuncReg"};
        log.push_back(std::string("result:") + kNames[static_cast<int>(edit)] + "=" + text);
        results[static_cast<size_t>(edit)] = text;
    }
    void setEnabled(FinderControl control, bool on) override {
        static const char* const kNames[] = {"Search", "Prev", "Reset", "MemoryChannel", "Variant"};
        log.push_back(std::string("enable:") + kNames[static_cast<int>(control)] + "=" +
                      (on ? "1" : "0"));
        enabled[static_cast<size_t>(control)] = on;
    }

    const std::string& shown(FinderLabel l) const { return labels[static_cast<size_t>(l)]; }
    bool isEnabled(FinderControl c) const { return enabled[static_cast<size_t>(c)]; }
};

}  // namespace tv
