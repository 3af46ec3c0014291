// The reasons a failed open gives the operator, one per kind of failure.
#include "serial/open_failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "ports/platform_port.h"
#include "serial/posix_call.h"
#include "serial/serial_os_linux.h"

namespace tv {
namespace {

TEST(OpenFailureReason, NamesPortDeviceReasonAndNextStep) {
    struct Case {
        int err;
        const char* port;
        const char* device;
        std::vector<const char*> says;
    };
    const Case cases[] = {
        {EACCES,
         "com1",
         "/dev/ttyS0",
         {"Port \"com1\" (/dev/ttyS0) did not open: permission denied", "dialout"}},
        {EPERM, "com1", "/dev/ttyS0", {"permission denied", "group"}},
        {EBUSY, "COM3", "/dev/ttyUSB0", {"(/dev/ttyUSB0)", "another program holds it"}},
        {EWOULDBLOCK, "com3", "/dev/ttyUSB0", {"another program holds it"}},
        {ENOENT, "com12", "/dev/ttyS11", {"no such device", "TVCONFIG_COM12", unitDeviceHint()}},
        {ENOENT, "/dev/ttyACM0", "/dev/ttyACM0", {"TVCONFIG_COMn", unitDeviceHint()}},
        {ENOENT, "", "", {"Port \"\" names no device", "ComPort page"}},
        {EIO, "com2", "/dev/ttyS1", {"hung up"}},
        {ENOMEM, "com2", "/dev/ttyS1", {"(/dev/ttyS1) did not open: ", "Check the device"}},
    };
    for (const Case& c : cases) {
        SerialError error = errorFromErrno(c.err);
        error.device = c.device;
        const std::string reason = openFailureReason(c.port, error);
        SCOPED_TRACE(reason);
        EXPECT_EQ(reason.find('\n'), std::string::npos);  // one status line
        for (const char* part : c.says) EXPECT_NE(reason.find(part), std::string::npos) << part;
    }
}

TEST(OpenFailureReason, SaysWhatAPathThatIsNoSerialPortIs) {
    const std::string plain = ::testing::TempDir() + "tvconfig-not-a-port";
    std::ofstream(plain) << "text";
    const std::pair<std::string, std::string> rows[] = {
        {plain, "(" + plain + ") did not open: not a serial port: a regular file. Point"},
        {"com4", "(/dev/null) did not open: not a serial port: a device that is not a terminal."}};
    LinuxSerialOs os([](const std::string&) { return std::optional<std::string>("/dev/null"); });
    for (const auto& [port, says] : rows) {
        EXPECT_FALSE(os.openPort(port));
        EXPECT_NE(openFailureReason(port, os.lastError()).find(says), std::string::npos) << port;
    }
    std::remove(plain.c_str());
}

}  // namespace
}  // namespace tv
