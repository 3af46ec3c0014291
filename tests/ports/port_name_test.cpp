// Port names to devices.
#include "ports/port_name.h"

#include <gtest/gtest.h>

#include <map>

namespace tv {
namespace {

TEST(PortName, ResolvesComNamesPathsAndNothingElse) {
    const std::map<std::string, std::string> vars = {{"TVCONFIG_COM3", "/dev/ttyUSB0"},
                                                     {"TVCONFIG_COM4", ""}};
    const EnvLookup env = [&](const std::string& name) -> std::optional<std::string> {
        auto it = vars.find(name);
        if (it == vars.end()) return std::nullopt;
        return it->second;
    };
    struct Case {
        std::string name;
        std::optional<std::string> device;
    };
    const Case cases[] = {
        {"COM1", "/dev/ttyS0"},     {"com1", "/dev/ttyS0"},     {"Com12", "/dev/ttyS11"},
        {"com3", "/dev/ttyUSB0"},   {"COM3", "/dev/ttyUSB0"},   {"com4", "/dev/ttyS3"},
        {"/tmp/unit", "/tmp/unit"}, {"com999", "/dev/ttyS998"}, {"", std::nullopt},
        {"com", std::nullopt},      {"com0", std::nullopt},     {"com01", std::nullopt},
        {"com1a", std::nullopt},    {"com1000", std::nullopt},  {"ttyS0", std::nullopt},
        {" com1", std::nullopt},    {"com-1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(resolvePortName(c.name, env), c.device);
    }
}

}  // namespace
}  // namespace tv
