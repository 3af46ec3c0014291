// Line settings to terminal attributes and back, without a terminal.
#include "serial/termios_line_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "serial/rsflowset.h"
#include "tests/support/serial_os_fake.h"

namespace tv {
namespace {

constexpr tcflag_t kCflags = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS;
constexpr tcflag_t kIflags = IXON | IXOFF | INPCK;

uint32_t flagBits(std::initializer_list<rsflow> bits) { return rsflowset(bits).bits(); }

// A port as the system might hand it over: cooked, 9600 8N1, some settings on.
termios cookedPort() {
    termios tio{};
    tio.c_iflag = ICRNL | IXON | BRKINT;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_cflag = CS8 | CREAD | HUPCL;
    tio.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    return tio;
}

TEST(TermiosLineState, EachSettingRoundTripsThroughItsTermiosBits) {
    struct Case {
        const char* name;
        std::function<void(LineState&)> set;
        speed_t speed;
        tcflag_t cflags;  // of kCflags
        tcflag_t iflags;  // of kIflags
    };
    const Case cases[] = {
        {"50 bit/s", [](LineState& s) { s.BaudRate = 50; }, B50, CS8, 0},
        {"9600 bit/s", [](LineState& s) { s.BaudRate = 9600; }, B9600, CS8, 0},
        {"115200 bit/s", [](LineState& s) { s.BaudRate = 115200; }, B115200, CS8, 0},
        {"4000000 bit/s", [](LineState& s) { s.BaudRate = 4000000; }, B4000000, CS8, 0},
        {"5 data bits", [](LineState& s) { s.ByteSize = 5; }, B9600, CS5, 0},
        {"6 data bits", [](LineState& s) { s.ByteSize = 6; }, B9600, CS6, 0},
        {"7 data bits", [](LineState& s) { s.ByteSize = 7; }, B9600, CS7, 0},
        {"odd", [](LineState& s) { s.Parity = Parity::Odd; }, B9600, CS8 | PARENB | PARODD, 0},
        {"even", [](LineState& s) { s.Parity = Parity::Even; }, B9600, CS8 | PARENB, 0},
        {"mark", [](LineState& s) { s.Parity = Parity::Mark; }, B9600,
         CS8 | PARENB | PARODD | CMSPAR, 0},
        {"space", [](LineState& s) { s.Parity = Parity::Space; }, B9600, CS8 | PARENB | CMSPAR, 0},
        {"1.5 stop bits with 5 data bits",
         [](LineState& s) {
             s.ByteSize = 5;
             s.StopBits = StopBits::OneAndHalf;
         },
         B9600, CS5 | CSTOPB, 0},
        {"2 stop bits", [](LineState& s) { s.StopBits = StopBits::Two; }, B9600, CS8 | CSTOPB, 0},
        {"2 stop bits with 6 data bits",
         [](LineState& s) {
             s.ByteSize = 6;
             s.StopBits = StopBits::Two;
         },
         B9600, CS6 | CSTOPB, 0},
        {"CTS flow", [](LineState& s) { s.Flags |= flagBits({dfOutxCtsFlow}); }, B9600,
         CS8 | CRTSCTS, 0},
        {"XON/XOFF out", [](LineState& s) { s.Flags |= flagBits({dfOutX}); }, B9600, CS8, IXON},
        {"XON/XOFF in", [](LineState& s) { s.Flags |= flagBits({dfInX}); }, B9600, CS8, IXOFF},
        {"parity check", [](LineState& s) { s.Flags |= flagBits({dfParity}); }, B9600, CS8, INPCK},
        {"other flag bits and fields stay with the state",
         [](LineState& s) {
             s.Flags = 0x10000u | flagBits({dfBinary, dfDtrControl_b0, dfOutX, dfAbortOnError});
             s.XonChar = 0x05;
             s.XoffChar = 0x06;
             s.XonLim = 7;
             s.EvtChar = 0x0D;
         },
         B9600, CS8, IXON},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineState state;
        c.set(state);
        termios tio = cookedPort();
        ASSERT_TRUE(applyLineState(tio, state));
        EXPECT_EQ(cfgetospeed(&tio), c.speed);
        EXPECT_EQ(cfgetispeed(&tio), c.speed);
        EXPECT_EQ(tio.c_cflag & kCflags, c.cflags);
        EXPECT_EQ(tio.c_iflag & kIflags, c.iflags);
        EXPECT_EQ(tio.c_cflag & ~(kCflags | CBAUD | CBAUDEX), CREAD | HUPCL);  // the rest stays
        EXPECT_EQ(FakeSerialOs::describe(lineStateFromTermios(tio, state)),
                  FakeSerialOs::describe(state));
        // Read against a different base, only the fields termios carries come back.
        const LineState read = lineStateFromTermios(tio);
        EXPECT_EQ(read.Flags & ~flagBits({dfBinary}),
                  state.Flags & flagBits({dfParity, dfOutxCtsFlow, dfOutX, dfInX}));
        EXPECT_EQ(read.XonChar, state.XonChar);
        EXPECT_EQ(read.XonLim, 0);
    }
}

TEST(TermiosLineState, RtsHandshakeTurnsOnHardwareFlow) {
    LineState state;
    state.Flags = flagBits({dfBinary, dfRtsControl_b1});
    EXPECT_EQ(rtsControl(state.Flags), LineControl::Handshake);
    EXPECT_EQ(dtrControl(state.Flags), LineControl::Disable);
    termios tio = cookedPort();
    ASSERT_TRUE(applyLineState(tio, state));
    EXPECT_EQ(tio.c_cflag & CRTSCTS, tcflag_t{CRTSCTS});
}

TEST(TermiosLineState, RefusesWhatTheLineCannotCarryAndLeavesTheAttributes) {
    const std::pair<const char*, std::function<void(LineState&)>> cases[] = {
        {"0 bit/s", [](LineState& s) { s.BaudRate = 0; }},
        {"9601 bit/s", [](LineState& s) { s.BaudRate = 9601; }},
        {"4000001 bit/s", [](LineState& s) { s.BaudRate = 4000001; }},
        {"4 data bits", [](LineState& s) { s.ByteSize = 4; }},
        {"9 data bits", [](LineState& s) { s.ByteSize = 9; }},
        {"1.5 stop bits with 8 data bits", [](LineState& s) { s.StopBits = StopBits::OneAndHalf; }},
        {"2 stop bits with 5 data bits",
         [](LineState& s) {
             s.ByteSize = 5;
             s.StopBits = StopBits::Two;
         }},
        {"stop bits outside the enum", [](LineState& s) { s.StopBits = static_cast<StopBits>(3); }},
        {"parity outside the enum", [](LineState& s) { s.Parity = static_cast<Parity>(5); }},
    };
    for (const auto& [name, set] : cases) {
        SCOPED_TRACE(name);
        LineState state;
        state.Parity = Parity::Even;
        state.Flags = flagBits({dfOutxCtsFlow, dfOutX});
        set(state);
        const termios before = cookedPort();
        termios tio = before;
        EXPECT_FALSE(applyLineState(tio, state));
        EXPECT_EQ(std::memcmp(&tio, &before, sizeof tio), 0);
    }
}

TEST(TermiosLineState, RawModeKeepsTheLineSettings) {
    LineState state;
    state.BaudRate = 19200;
    state.ByteSize = 7;
    state.Parity = Parity::Space;
    state.StopBits = StopBits::Two;
    state.Flags = flagBits({dfBinary, dfParity, dfOutxCtsFlow, dfOutX, dfInX});
    termios tio = cookedPort();
    ASSERT_TRUE(applyLineState(tio, state));
    makeRawKeepingLine(tio);
    EXPECT_EQ(FakeSerialOs::describe(lineStateFromTermios(tio, state)),
              FakeSerialOs::describe(state));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_iflag & (ICRNL | BRKINT), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), tcflag_t{CLOCAL | CREAD});
    EXPECT_EQ(tio.c_cc[VMIN], 1);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

}  // namespace
}  // namespace tv
