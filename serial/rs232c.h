#pragma once
// Trs232c: the component that owns one serial port. It keeps the line settings
// as plain properties, opens and configures the port, moves bytes with bounded
// waits, drives DTR and RTS, and calls its event handlers on the UI thread for
// the line events that its monitor thread (tcommthread) sees.
//
// Every operation runs on the UI thread. Failures are reported by results only
// (false, or -1 from rxcount); with `debug` set, a failed open also shows its
// message through `showMessage`.
#include <atomic>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "serial/comthd.h"
#include "serial/notify_event.h"
#include "serial/open_failure.h"
#include "serial/rsflowset.h"
#include "serial/serial_os.h"
#include "serial/ui_poster.h"

namespace tv {

// The message record handed to the message procedure.
struct TMessage {
    uint32_t Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

inline constexpr uint32_t WM_APP = 0x8000;
// The messages the monitor posts, one per line event (0x81F5 to 0x81FE).
inline constexpr uint32_t WM_RS_BREAK = WM_APP + 501;
inline constexpr uint32_t WM_RS_CTS = WM_APP + 502;
inline constexpr uint32_t WM_RS_DSR = WM_APP + 503;
inline constexpr uint32_t WM_RS_ERR = WM_APP + 504;
inline constexpr uint32_t WM_RS_RING = WM_APP + 505;
inline constexpr uint32_t WM_RS_RLSD = WM_APP + 506;
inline constexpr uint32_t WM_RS_PACKET = WM_APP + 507;
inline constexpr uint32_t WM_RS_RXCHAR = WM_APP + 508;
inline constexpr uint32_t WM_RS_RXFLAG = WM_APP + 509;
inline constexpr uint32_t WM_RS_TXEMPTY = WM_APP + 510;
// Posted when the monitor sees that the line has gone away (EV_LINELOST).
inline constexpr uint32_t WM_RS_LINELOST = WM_APP + 511;
// Runs the oldest call queued by callLater.
inline constexpr uint32_t WM_RS_LATER = WM_APP + 512;

class Trs232c : public CommEventSink {
public:
    using MessageSeam = std::function<void(const std::string& text)>;
    using ExceptionReport = std::function<void(const std::exception& error)>;

    // `makePoster` is called once, here, with the message procedure.
    Trs232c(std::unique_ptr<SerialOs> os, UiPosterFactory makePoster);
    // The same on this platform's serial devices.
    explicit Trs232c(UiPosterFactory makePoster);
    ~Trs232c();
    Trs232c(const Trs232c&) = delete;
    Trs232c& operator=(const Trs232c&) = delete;

    // Stored properties, in declaration order. They reach the port at open.
    int32_t charbit = 8;        // data bits; low 8 bits used
    std::string stopbit = "1";  // "1", "1.5" or "2"
    int32_t bps = 9600;
    std::string portname = "COM1";
    int32_t rxbuffsize = 1024;
    int32_t txbuffsize = 1024;
    int32_t readinterval = 0;   // ms between two received bytes; 0: no limit
    int32_t txtimeout = 30000;  // ms, read at each write
    int32_t rxtimeout = 30000;  // ms, read at each read
    std::string paritymode = "無し";
    int32_t flowflag = 1;                // the flag word, bit for bit
    std::atomic<int32_t> packetsize{0};  // queue count for OnPACKET; 0: never
    rsflowset flow() const { return rsflowset::fromBits(static_cast<uint32_t>(flowflag)); }
    void setFlow(rsflowset set) { flowflag = static_cast<int32_t>(set.bits()); }
    bool debug = false;
    int32_t XonLim = 0;  // low 16 bits used; 0 keeps the port's value
    int32_t XoffLim = 0;
    uint8_t XonChar = 0x11;  // each of the five: 0 keeps the port's value
    uint8_t XoffChar = 0x13;
    uint8_t ErrorChar = 0x00;
    uint8_t EofChar = 0x00;
    uint8_t EvtChar = 0x00;

    // Events, in declaration order.
    TNotifyEvent OnBREAK;
    TNotifyEvent OnCTS;
    TNotifyEvent OnDSR;
    TNotifyEvent OnERR;
    TNotifyEvent OnRING;
    TNotifyEvent OnRLSD;
    TNotifyEvent OnRXCHAR;
    TNotifyEvent OnRXFLAG;
    TNotifyEvent OnTXEMPTY;
    TNotifyEvent OnCreate;
    TNotifyEvent OnOpen;
    TNotifyEvent OnClose;
    TNotifyEvent OnPACKET;
    // The line went away under the open port; the port stays open (transfers
    // fail) until the handler closes it. Needs no mask bit: any monitor sees it.
    TNotifyEvent OnLINELOST;

    // Shows the component's own messages when `debug` is set; none by default.
    MessageSeam showMessage;
    // Receives an exception that escapes an event handler run by wndproc.
    ExceptionReport exceptionReport;

    bool open();
    bool close();
    bool read(uint8_t* buffer, int32_t count);
    bool write(const uint8_t* buffer, int32_t count);  // sends from its own copy
    bool readbyte(uint8_t& b);
    bool writebyte(uint8_t b);
    int32_t rxcount();
    bool setrts(bool on);
    bool setdtr(bool on);

    // Monitor thread: posts one message per reported event that has a handler.
    void postevents() override;
    // UI thread: runs the handler of a posted message.
    void wndproc(TMessage& message);
    // UI thread: runs `call` on the UI thread at the event loop's next turn,
    // behind the messages queued now, so a handler that stopped to let the loop
    // run can go on. Calls still queued are dropped with the component.
    void callLater(std::function<void()> call);

    bool isOpen() const { return m_open; }
    // Why the last platform call failed.
    SerialError lastError() const { return m_os->lastError(); }
    // After a failed open: the port, its device and the reason in plain words.
    std::string openFailureReason(OpenRetry retry = OpenRetry::OpenButton) const;

private:
    bool failOpen(const char* message);
    bool finishClose();
    uint32_t eventMaskFromBindings() const;
    void say(const char* message) const;
    void report(const std::exception& error) const;

    std::unique_ptr<SerialOs> m_os;  // the port handle lives in here
    LineState m_dcb;
    Timeouts m_timeouts;
    uint32_t m_eventMask = 0;
    int32_t m_queueCount = 0;  // written by open before the monitor starts, then by the monitor
    std::unique_ptr<tcommthread> m_monitor;
    bool m_open = false;
    SerialError m_openError;  // kept before the clean-up of a failed open overwrites it
    bool m_monitorFlag = false;
    std::vector<uint8_t> m_txCopy;
    std::deque<std::function<void()>> m_later;  // UI thread only
    uint8_t m_byteCell[2] = {0, 0};
    std::unique_ptr<UiPoster> m_poster;
};

}  // namespace tv
