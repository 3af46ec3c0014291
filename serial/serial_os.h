#pragma once
// The operating-system calls of the serial layer, behind one interface.
// Trs232c and tcommthread speak only to this; one implementation per platform
// (serial_os_linux.cpp, serial_os_win32.cpp) and a recording fake for tests.
// An object of it holds at most one open port at a time, the way the component
// holds one handle.
#include <cstdint>
#include <memory>
#include <string>

namespace tv {

// The parity of the line. The numbers are the device-control record's own, the
// byte a Win32 port takes as it stands.
enum class Parity : uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };

// The stop bits after each character, numbered as the device-control record
// numbers them.
enum class StopBits : uint8_t { One = 0, OneAndHalf = 1, Two = 2 };

// Line settings, field for field what the component puts into the device-control
// record at open.
struct LineState {
    uint32_t BaudRate = 9600;
    uint8_t ByteSize = 8;
    // Qualified: the fields bear their types' names, as in the record.
    tv::Parity Parity = tv::Parity::None;
    tv::StopBits StopBits = tv::StopBits::One;
    uint32_t Flags = 1;  // bit i is the component's flowflag bit i (bit 0: binary)
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t XonChar = 0x11;
    uint8_t XoffChar = 0x13;
    uint8_t ErrorChar = 0;
    uint8_t EofChar = 0;
    uint8_t EvtChar = 0;
};

// Time-outs in milliseconds; 0 in ReadIntervalTimeout means no interval limit.
struct Timeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

// Event bits of the event mask and of a completed event wait.
inline constexpr uint32_t EV_RXCHAR = 0x0001;
inline constexpr uint32_t EV_RXFLAG = 0x0002;
inline constexpr uint32_t EV_TXEMPTY = 0x0004;
inline constexpr uint32_t EV_CTS = 0x0008;
inline constexpr uint32_t EV_DSR = 0x0010;
inline constexpr uint32_t EV_RLSD = 0x0020;
inline constexpr uint32_t EV_BREAK = 0x0040;
inline constexpr uint32_t EV_ERR = 0x0080;
inline constexpr uint32_t EV_RING = 0x0100;
// Not a mask bit: waitEvent reports it once, whatever the mask, when the line
// has gone away under the open port (an adapter pulled, the far end of a
// pseudo-terminal closed). Transfers fail from then on.
inline constexpr uint32_t EV_LINELOST = 0x80000000;

// Purge flags.
inline constexpr uint32_t PURGE_TXABORT = 0x0001;
inline constexpr uint32_t PURGE_RXABORT = 0x0002;
inline constexpr uint32_t PURGE_TXCLEAR = 0x0004;
inline constexpr uint32_t PURGE_RXCLEAR = 0x0008;

// Escape functions for the modem lines.
inline constexpr uint32_t SETRTS = 3;
inline constexpr uint32_t CLRRTS = 4;
inline constexpr uint32_t SETDTR = 5;
inline constexpr uint32_t CLRDTR = 6;

// What went wrong in the last failed call, in a small vocabulary plus the
// system's own text.
struct SerialError {
    // NotSerial: the device opened but is no serial port (a regular file,
    // /dev/null); `message` then says what it is ("a regular file").
    enum class Kind { None, NotFound, Busy, Denied, Refused, TimedOut, HungUp, NotSerial, Other };
    Kind kind = Kind::None;
    int code = 0;  // errno on POSIX
    std::string message;
    // The device of the port the failed call worked on, as the system names it
    // ("/dev/ttyS0", "\\\\.\\COM3"); empty when the name given to openPort
    // stands for no device at all.
    std::string device{};
};

class SerialOs {
public:
    virtual ~SerialOs() = default;

    // Opens the named device for reading and writing, exclusively: a second open
    // of the same device fails while this one is held. False when it cannot.
    virtual bool openPort(const std::string& name) = 0;
    // Input and output queue sizes, bytes.
    virtual bool setupQueues(int32_t rxSize, int32_t txSize) = 0;
    // The port's present settings.
    virtual bool getLineState(LineState& state) = 0;
    // False when the port refuses the settings.
    virtual bool setLineState(const LineState& state) = 0;
    virtual bool setTimeouts(const Timeouts& timeouts) = 0;
    // Asks the driver to hand each received byte on at once instead of holding
    // it for a batch (Linux: ASYNC_LOW_LATENCY via TIOCGSERIAL/TIOCSSERIAL; a
    // USB adapter otherwise holds replies for up to 16 ms). Called by open once
    // the line is set. False where the driver has no such setting (a
    // pseudo-terminal) or refuses it; the caller then goes on as before.
    virtual bool requestLowLatency() = 0;
    // The events that waitEvent reports. Setting 0 ends a wait in progress at
    // once, with an event word of 0, and is safe while another thread waits;
    // a nonzero mask is set while no thread waits.
    virtual bool setEventMask(uint32_t mask) = 0;
    // Blocks until a selected event occurs (or the mask is cleared) and writes
    // what occurred into `events`. Runs on the monitor thread. False on failure.
    // A line that has gone away is reported once as EV_LINELOST, unmasked; the
    // waits after that block until the mask is cleared.
    virtual bool waitEvent(uint32_t& events) = 0;
    // Bytes waiting in the input queue; also clears the port's error state.
    // Safe to call from the monitor thread while the UI thread transfers.
    virtual bool clearError(int32_t& inQueue) = 0;
    // PURGE_ flags: abort pending transfers, empty the queues.
    virtual bool purge(uint32_t flags) = 0;
    // SETRTS, CLRRTS, SETDTR, CLRDTR. False on failure.
    virtual bool escape(uint32_t function) = 0;
    // Bounded transfers: at most `waitMs` (negative: no limit). Return the
    // number of bytes moved (less than count on a time-out), -1 on failure.
    // Nothing touches `buffer` once the call has returned.
    virtual int32_t read(uint8_t* buffer, int32_t count, int32_t waitMs) = 0;
    virtual int32_t write(const uint8_t* buffer, int32_t count, int32_t waitMs) = 0;
    // The per-port objects that reads and writes wait on, made after the port is
    // configured and released before it closes.
    virtual bool createEvents() = 0;
    virtual void closeEvents() = 0;
    // Releases the port. False when the system reports a failure.
    virtual bool closePort() = 0;

    virtual SerialError lastError() const = 0;
};

// The implementation for the platform this program was built for.
std::unique_ptr<SerialOs> makePlatformSerialOs();

}  // namespace tv
