#include "serial/termios_line_state.h"

#include "serial/rsflowset.h"

namespace tv {

namespace {

struct Speed {
    uint32_t bps;
    speed_t code;
};
// clang-format off
constexpr Speed kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};
// clang-format on

bool speedCode(uint32_t bps, speed_t& code) {
    for (const Speed& s : kSpeeds) {
        if (s.bps == bps) {
            code = s.code;
            return true;
        }
    }
    return false;
}

uint32_t speedBps(speed_t code) {
    for (const Speed& s : kSpeeds) {
        if (s.code == code) return s.bps;
    }
    return 0;
}

// The line bits of the two flag words that the settings own; raw mode and
// applyLineState leave every other bit alone.
constexpr tcflag_t kLineCflags = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS;
constexpr tcflag_t kLineIflags = IXON | IXOFF | INPCK;

// The flag-word bits that termios carries; the rest is kept as state only.
constexpr uint32_t bit(rsflow b) { return 1u << b; }
constexpr uint32_t kTermiosFlags = bit(dfParity) | bit(dfOutxCtsFlow) | bit(dfOutX) | bit(dfInX);

bool parityBits(Parity parity, tcflag_t& bits) {
    switch (parity) {
        case Parity::None:
            bits = 0;
            return true;
        case Parity::Odd:
            bits = PARENB | PARODD;
            return true;
        case Parity::Even:
            bits = PARENB;
            return true;
        case Parity::Mark:  // stick parity 1
            bits = PARENB | PARODD | CMSPAR;
            return true;
        case Parity::Space:  // stick parity 0
            bits = PARENB | CMSPAR;
            return true;
    }
    return false;
}

Parity parityOf(tcflag_t cflag) {
    if (!(cflag & PARENB)) return Parity::None;
    if (cflag & CMSPAR) return (cflag & PARODD) ? Parity::Mark : Parity::Space;
    return (cflag & PARODD) ? Parity::Odd : Parity::Even;
}

uint8_t byteSizeOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

// A UART sends one and a half stop bits only with 5 data bits, and two only
// with 6 to 8: the same combinations a serial driver accepts.
bool stopBitsFit(StopBits stop, uint8_t byteSize) {
    switch (stop) {
        case StopBits::One:
            return true;
        case StopBits::OneAndHalf:
            return byteSize == 5;
        case StopBits::Two:
            return byteSize != 5;
    }
    return false;
}

}  // namespace

LineControl dtrControl(uint32_t flags) {
    return static_cast<LineControl>((flags >> dfDtrControl_b0) & 3u);
}

LineControl rtsControl(uint32_t flags) {
    return static_cast<LineControl>((flags >> dfRtsControl_b0) & 3u);
}

LineState lineStateFromTermios(const termios& tio, const LineState& kept) {
    LineState state = kept;
    state.BaudRate = speedBps(cfgetospeed(&tio));
    state.ByteSize = byteSizeOf(tio.c_cflag);
    state.Parity = parityOf(tio.c_cflag);
    if (!(tio.c_cflag & CSTOPB)) {
        state.StopBits = StopBits::One;
    } else {
        state.StopBits = state.ByteSize == 5 ? StopBits::OneAndHalf : StopBits::Two;
    }
    uint32_t flags = kept.Flags & ~kTermiosFlags;
    if (tio.c_iflag & INPCK) flags |= bit(dfParity);
    if (tio.c_cflag & CRTSCTS) flags |= bit(dfOutxCtsFlow);
    if (tio.c_iflag & IXON) flags |= bit(dfOutX);
    if (tio.c_iflag & IXOFF) flags |= bit(dfInX);
    state.Flags = flags;
    state.XonChar = tio.c_cc[VSTART];
    state.XoffChar = tio.c_cc[VSTOP];
    return state;
}

bool applyLineState(termios& tio, const LineState& state) {
    speed_t speed = B0;
    tcflag_t parity = 0;
    if (!speedCode(state.BaudRate, speed) || state.ByteSize < 5 || state.ByteSize > 8 ||
        !stopBitsFit(state.StopBits, state.ByteSize) || !parityBits(state.Parity, parity)) {
        return false;
    }
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);

    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tcflag_t cflag = kSizes[state.ByteSize - 5] | parity;
    if (state.StopBits != StopBits::One) cflag |= CSTOPB;
    // Hardware flow: CTS watched on output, or RTS in handshake mode. Linux has
    // one switch for both directions.
    if ((state.Flags & bit(dfOutxCtsFlow)) || rtsControl(state.Flags) == LineControl::Handshake) {
        cflag |= CRTSCTS;
    }
    tio.c_cflag = (tio.c_cflag & ~kLineCflags) | cflag;

    tcflag_t iflag = 0;
    if (state.Flags & bit(dfOutX)) iflag |= IXON;
    if (state.Flags & bit(dfInX)) iflag |= IXOFF;
    if (state.Flags & bit(dfParity)) iflag |= INPCK;
    tio.c_iflag = (tio.c_iflag & ~kLineIflags) | iflag;
    tio.c_cc[VSTART] = state.XonChar;
    tio.c_cc[VSTOP] = state.XoffChar;
    return true;
}

void makeRawKeepingLine(termios& tio) {
    const tcflag_t keep = tio.c_cflag & kLineCflags;
    const tcflag_t keepIn = tio.c_iflag & kLineIflags;
    cfmakeraw(&tio);
    tio.c_cflag = (tio.c_cflag & ~kLineCflags) | keep | CLOCAL | CREAD;
    tio.c_iflag |= keepIn;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

}  // namespace tv
