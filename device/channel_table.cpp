#include "device/channel_table.h"

namespace tv {

std::string currentText(int32_t current1) {
    // Indices 3 and 7 carry two decimals although their radio items read 2.5 and 5.
    static constexpr const char* kTexts[] = {"0.625mA", "1.25mA", "1.875mA", "2.50mA",
                                             "3.125mA", "3.75mA", "4.375mA", "5.00mA"};
    if (current1 < 0 || current1 > 7) {
        return {};
    }
    return kTexts[current1];
}

bool setChannel(ChannelTable& table, int32_t memoryChannel, const LatchSet& latches,
                const std::string& localOutputText, const std::string& stdText,
                const std::string& pdLabelText, int32_t current1) {
    // -1 (no channel selected) and any other index outside the table: the click is ignored.
    if (memoryChannel < 0 || memoryChannel >= ChannelTable::kChannels) {
        return false;
    }
    const auto c = static_cast<size_t>(memoryChannel);
    table.RefReg[c] = latches.RefReg;
    table.NReg[c] = latches.NReg;
    table.InitReg[c] = latches.InitReg;
    table.FuncReg[c] = latches.FuncReg;
    // The texts go in as they stand in the controls, neither checked nor reformatted.
    table.description[c] = localOutputText + "MHz, STD=" + stdText + "MHz, PD=" + pdLabelText +
                           "kHz, I=" + currentText(current1);
    return true;
}

std::string descriptionOnOneLine(const std::string& description) {
    std::string out;
    for (const char ch : description) {
        if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\n') {
            out += "\\n";
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace tv
