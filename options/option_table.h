#pragma once
// The ten option radio groups and the fifteen entries of TVCONFIG.INI, each fact
// written here once: the window builds its groups from these rows, the settings
// file is read in the order of kSettings and written in kSettingWriteOrder, and
// tvcalc takes its options and their help from kRadioGroups.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tv {

// The option groups, in the order of SynthOptions' fields.
enum class OptionGroup {
    Variant,
    PDPol,
    MUXOut,
    current1,
    LDP,
    AntiBackLash,
    TimerCountCTRL,
    CPOut,
    PSC,
    MemoryChannel,
};

using Items = std::span<const std::string_view>;

struct RadioGroupRow {
    OptionGroup group;
    std::string_view objectName;
    std::string_view caption;
    Items items;  // in index order
    int columns;
    int32_t initialIndex;  // the selection before the settings file is applied
    // tvcalc's option for the group and its values; no name: not an option there,
    // no values: the items.
    std::string_view commandLineName;
    Items commandLineItems;
};

namespace option_items {
inline constexpr std::string_view kVariant[] = {"Tarvex S", "Tarvex D"};
inline constexpr std::string_view kVariantShort[] = {"S", "D"};
inline constexpr std::string_view kPDPol[] = {"NEG", "POS"};
inline constexpr std::string_view kMUXOut[] = {"3State", "D LD",   "N Div",  "AVdd",
                                               "R Div",  "Open D", "S Data", "GND"};
// 0.625 mA × (index + 1)
inline constexpr std::string_view kCurrent1[] = {"0.625", "1.25", "1.875", "2.5",
                                                 "3.125", "3.75", "4.375", "5"};
inline constexpr std::string_view kLDP[] = {"3cycle", "5cycle"};
inline constexpr std::string_view kAntiBackLash[] = {"2.9ns", "1.3ns", "6.0ns"};
// item k reads 3 + 4k
inline constexpr std::string_view kTimerCountCTRL[] = {
    "3", "7", "11", "15", "19", "23", "27", "31", "35", "39", "43", "47", "51", "55", "59", "63"};
inline constexpr std::string_view kCPOut[] = {"Normal", "3 State"};
inline constexpr std::string_view kPSC[] = {"8/9", "16/17", "32/33", "64/65"};
inline constexpr std::string_view kMemoryChannel[] = {"ch0", "ch1", "ch2", "ch3",
                                                      "ch4", "ch5", "ch6", "ch7"};
}  // namespace option_items

// In the order of OptionGroup.
// clang-format off
inline constexpr std::array<RadioGroupRow, 10> kRadioGroups = {{
    // group, object name, caption, items, columns, initial index, tvcalc's option and values
    {OptionGroup::Variant,        "RadioGroup6",  "Select Tarvex",  option_items::kVariant,        1, 0, "--variant", option_items::kVariantShort},
    {OptionGroup::PDPol,          "RadioGroup3",  "PD Pol",         option_items::kPDPol,          1, 0, "--pol", {}},
    {OptionGroup::MUXOut,         "RadioGroup4",  "MUX Out",        option_items::kMUXOut,         2, 1, "--mux", {}},
    {OptionGroup::current1,       "RadioGroup5",  "Current1(mA)",   option_items::kCurrent1,       2, 3, "--current", {}},
    {OptionGroup::LDP,            "RadioGroup1",  "LDP",            option_items::kLDP,            1, 0, "--ldp", {}},
    {OptionGroup::AntiBackLash,   "RadioGroup7",  "AntiBackLash",   option_items::kAntiBackLash,   1, 0, "--antibacklash", {}},
    {OptionGroup::TimerCountCTRL, "RadioGroup8",  "TimerCountCTRL", option_items::kTimerCountCTRL, 4, 0, "--timer", {}},
    {OptionGroup::CPOut,          "RadioGroup9",  "CP Out",         option_items::kCPOut,          1, 0, "--cpout", {}},
    {OptionGroup::PSC,            "RadioGroup10", "PSC",            option_items::kPSC,            1, 1, "--psc", {}},
    {OptionGroup::MemoryChannel,  "RadioGroup2",  "MemoryChannel",  option_items::kMemoryChannel,  2, 0, {}, {}},
}};
// clang-format on

constexpr const RadioGroupRow& radioGroupRow(OptionGroup group) {
    return kRadioGroups[static_cast<size_t>(group)];
}

// What tvcalc accepts for the group: its own values where it has them.
constexpr Items commandLineItems(const RadioGroupRow& row) {
    return row.commandLineItems.empty() ? row.items : row.commandLineItems;
}

// The values of the fifteen entries. Default-constructed, each holds the default
// that a missing or unreadable entry gets.
struct Settings {
    Settings();

    int32_t portname;
    int32_t BAUD;
    int32_t Channel;
    int32_t Pol;
    int32_t Out;
    int32_t current1;
    std::string LocalOutput;
    std::string Multiplier;
    std::string STD;
    int32_t LDP;
    int32_t AntiBackLash;
    int32_t TimerCountCTRL;
    int32_t CPOut;
    int32_t PSCValue;
    int32_t Version;

    // Beside the fifteen: a port found on the machine (portname 12 or above) by
    // its name and USB serial number, "name" or "name;serial"; empty when the
    // choice is com1 to com12. Written only when not empty.
    std::string device;
};

// Where `device` lives: beside portname.
inline constexpr std::string_view kDeviceSection = "rs232c1";
inline constexpr std::string_view kDeviceKey = "device";

// One entry: an integer (the selected index of its control) or a text (an edit's).
struct SettingRow {
    std::string_view section;
    std::string_view readKey;
    std::string_view writeKey;  // differs from readKey only in case
    int32_t Settings::*number;  // exactly one of number and text is set
    std::string Settings::*text;
    int32_t defaultNumber;
    std::string_view defaultText;
    std::string_view control;  // object name of the control the entry loads into
};

// In the order of reading.
// clang-format off
inline constexpr std::array<SettingRow, 15> kSettings = {{
    // section, read key, write key, value (number or text), default, control it loads into
    {"rs232c1",   "portname",       "portname",       &Settings::portname,       nullptr,    0, {},          "ComboBox1"},
    {"rs232c1",   "BAUD",           "BAUD",           &Settings::BAUD,           nullptr,    0, {},          "ComboBox2"},
    {"Memory",    "Channel",        "Channel",        &Settings::Channel,        nullptr,    0, {},          "RadioGroup2"},
    // The default POS differs from the group's initial NEG: with no file, POS shows.
    {"PD",        "Pol",            "Pol",            &Settings::Pol,            nullptr,    1, {},          "RadioGroup3"},
    {"MUX",       "Out",            "Out",            &Settings::Out,            nullptr,    1, {},          "RadioGroup4"},
    {"PD",        "current1",       "current1",       &Settings::current1,       nullptr,    3, {},          "RadioGroup5"},
    {"Frequency", "LocalOutput",    "LocalOutput",    nullptr, &Settings::LocalOutput,       0, "12340",     "Edit1"},
    {"Frequency", "Multiplier",     "Multiplier",     nullptr, &Settings::Multiplier,        0, "100",       "Edit2"},
    {"Frequency", "STD",            "STD",            nullptr, &Settings::STD,               0, "10",        "Edit3"},
    {"PD",        "LDP",            "LDP",            &Settings::LDP,            nullptr,    0, {},          "RadioGroup1"},
    {"PD",        "AntiBackLash",   "AntiBackLash",   &Settings::AntiBackLash,   nullptr,    0, {},          "RadioGroup7"},
    {"PD",        "TimerCountCTRL", "TimerCountCTRL", &Settings::TimerCountCTRL, nullptr,    0, {},          "RadioGroup8"},
    {"PD",        "CPOut",          "CPOut",          &Settings::CPOut,          nullptr,    0, {},          "RadioGroup9"},
    // Read as VALUE, written as Value: one entry, since names ignore case.
    {"PSC",       "VALUE",          "Value",          &Settings::PSCValue,       nullptr,    1, {},          "RadioGroup10"},
    {"Tarvex",    "Version",        "Version",        &Settings::Version,        nullptr,    0, {},          "RadioGroup6"},
}};
// clang-format on

// Rows of kSettings in the order of writing, which decides where a new file puts
// each section and key.
inline constexpr std::array<size_t, 15> kSettingWriteOrder = {6, 7, 8,  0,  1,  3,  4, 5,
                                                              2, 9, 10, 11, 12, 13, 14};

// The entry that loads into the group's control.
constexpr const SettingRow& settingOf(OptionGroup group) {
    for (const SettingRow& row : kSettings) {
        if (row.control == radioGroupRow(group).objectName) return row;
    }
    throw "every option group has a setting";  // not reached; fails a constant evaluation
}

// The index start-up selects when the settings file holds none for the group.
constexpr int32_t startupIndex(OptionGroup group) { return settingOf(group).defaultNumber; }

namespace option_table_checks {
constexpr bool groupsInEnumOrder() {
    for (size_t i = 0; i < kRadioGroups.size(); ++i) {
        if (kRadioGroups[i].group != static_cast<OptionGroup>(i)) return false;
        const int32_t initial = kRadioGroups[i].initialIndex;
        if (initial < 0 || static_cast<size_t>(initial) >= kRadioGroups[i].items.size()) {
            return false;
        }
    }
    return true;
}
constexpr bool writeOrderIsAPermutation() {
    std::array<bool, kSettings.size()> seen{};
    for (const size_t index : kSettingWriteOrder) {
        if (index >= seen.size() || seen[index]) return false;
        seen[index] = true;
    }
    return true;
}
// An entry is a number or a text; every group loads from a number entry
// (settingOf throws, failing the assertion, for a group without one).
constexpr bool entriesAreWellFormed() {
    for (const SettingRow& row : kSettings) {
        if ((row.number == nullptr) == (row.text == nullptr)) return false;
    }
    for (const RadioGroupRow& row : kRadioGroups) {
        if (settingOf(row.group).number == nullptr) return false;
    }
    return true;
}
static_assert(groupsInEnumOrder(), "kRadioGroups follows OptionGroup; initial indices name items");
static_assert(writeOrderIsAPermutation(), "every entry is written exactly once");
static_assert(entriesAreWellFormed(), "entries hold one value; every group has its entry");
}  // namespace option_table_checks

inline Settings::Settings() {
    for (const SettingRow& row : kSettings) {
        if (row.number != nullptr) this->*row.number = row.defaultNumber;
        if (row.text != nullptr) this->*row.text = std::string(row.defaultText);
    }
}

}  // namespace tv
