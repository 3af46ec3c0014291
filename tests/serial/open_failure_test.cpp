// The reasons a failed open gives the operator, one per kind of failure.
#include "serial/open_failure.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "ports/platform_port.h"
#include "serial/posix_call.h"

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

}  // namespace
}  // namespace tv
