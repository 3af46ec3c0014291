// The Win32 backend over a recorded call table: which system calls it makes,
// in what order and with what arguments, and what it makes of their results.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "os/hex_text.h"
#include "serial/open_failure.h"
#include "serial/post_queue.h"
#include "serial/rs232c.h"
#include "serial/serial_os_win32.h"

namespace tv {
namespace {

using Strings = std::vector<std::string>;

HANDLE const kPort = reinterpret_cast<HANDLE>(uintptr_t{0x100});
HANDLE const kEvent = reinterpret_cast<HANDLE>(uintptr_t{0x200});

// What the recorded system does: per function, scripted failures (the error
// each failure leaves for GetLastError; ERROR_IO_PENDING starts a transfer)
// and scripted results of the two waits.
struct System {
    std::mutex mutex;
    std::condition_variable changed;
    std::thread::id ui = std::this_thread::get_id();
    Strings calls;            // made on the test's own thread
    Strings monitorCalls;     // made on any other
    bool blockWaits = false;  // WaitForMultipleObjects blocks until SetEvent
    bool waiting = false;
    bool woken = false;
    std::map<std::string, std::deque<DWORD>> failures;
    std::deque<DWORD> waitResults;  // WaitForSingleObject/WaitForMultipleObjects
    DCB portDcb{};
    DCB applied{};
    DWORD moved = 0;     // bytes a transfer moves
    DWORD occurred = 0;  // events a completed WaitCommEvent reports
    DWORD inQueue = 0;
    DWORD lastError = 0;
    DWORD fileType = FILE_TYPE_CHAR;  // what GetFileType says the opened name is
    std::function<void()> onEndlessWait;

    // Records a call; true when it is to fail.
    bool call(const std::string& name, const std::string& args = "") {
        std::lock_guard lock(mutex);
        (std::this_thread::get_id() == ui ? calls : monitorCalls)
            .push_back(args.empty() ? name : name + " " + args);
        auto& queue = failures[name];
        if (queue.empty()) return false;
        lastError = queue.front();
        queue.pop_front();
        return true;
    }
    DWORD blockUntilSet() {
        std::unique_lock lock(mutex);
        waiting = true;
        changed.notify_all();
        changed.wait(lock, [&] { return woken; });
        return WAIT_OBJECT_0 + 1;
    }
    void set() {
        std::lock_guard lock(mutex);
        woken = true;
        changed.notify_all();
    }
    bool waitForWaiter() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(2), [&] { return waiting; });
    }
    DWORD nextWait() {
        std::lock_guard lock(mutex);
        if (waitResults.empty()) return WAIT_OBJECT_0;
        const DWORD r = waitResults.front();
        waitResults.pop_front();
        return r;
    }
};
System* sys = nullptr;

BOOL ok(bool failed) { return failed ? FALSE : TRUE; }

const Win32Api kRecorded{
    [](LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
       DWORD flags, HANDLE) {
        const bool f = sys->call(
            "CreateFileA", std::string(name) + " " + hexLiteral(access) + " " + hexLiteral(share) +
                               " " + hexLiteral(disposition) + " " + hexLiteral(flags));
        return f ? INVALID_HANDLE_VALUE : kPort;
    },
    [](HANDLE) { return sys->call("GetFileType") ? DWORD{0} : sys->fileType; },
    [](HANDLE, DWORD in, DWORD out) {
        return ok(sys->call("SetupComm", std::to_string(in) + " " + std::to_string(out)));
    },
    [](HANDLE, LPDCB dcb) {
        *dcb = sys->portDcb;
        return ok(sys->call("GetCommState"));
    },
    [](HANDLE, LPDCB dcb) {
        sys->applied = *dcb;
        return ok(sys->call("SetCommState"));
    },
    [](HANDLE, LPCOMMTIMEOUTS t) {
        return ok(
            sys->call("SetCommTimeouts", std::to_string(t->ReadIntervalTimeout) + " " +
                                             std::to_string(t->ReadTotalTimeoutMultiplier) + " " +
                                             std::to_string(t->ReadTotalTimeoutConstant) + " " +
                                             std::to_string(t->WriteTotalTimeoutMultiplier) + " " +
                                             std::to_string(t->WriteTotalTimeoutConstant)));
    },
    [](HANDLE, DWORD mask) { return ok(sys->call("SetCommMask", hexLiteral(mask))); },
    [](HANDLE, LPDWORD events, LPOVERLAPPED) {
        *events = sys->occurred;
        return ok(sys->call("WaitCommEvent"));
    },
    [](HANDLE, LPDWORD, LPCOMSTAT status) {
        status->cbInQue = sys->inQueue;
        return ok(sys->call("ClearCommError"));
    },
    [](HANDLE, DWORD flags) { return ok(sys->call("PurgeComm", hexLiteral(flags))); },
    [](HANDLE, DWORD f) { return ok(sys->call("EscapeCommFunction", std::to_string(f))); },
    [](HANDLE, LPVOID, DWORD count, LPDWORD done, LPOVERLAPPED) {
        *done = sys->moved;
        return ok(sys->call("ReadFile", std::to_string(count)));
    },
    [](HANDLE, LPCVOID, DWORD count, LPDWORD done, LPOVERLAPPED) {
        *done = sys->moved;
        return ok(sys->call("WriteFile", std::to_string(count)));
    },
    [](HANDLE, LPOVERLAPPED, LPDWORD done, BOOL wait) {
        *done = sys->moved;
        return ok(sys->call("GetOverlappedResult", wait ? "wait" : "nowait"));
    },
    [](HANDLE, LPOVERLAPPED) { return ok(sys->call("CancelIoEx")); },
    []() -> DWORD { return sys->lastError; },
    [](LPSECURITY_ATTRIBUTES, BOOL manual, BOOL initial, LPCSTR) {
        const bool f = sys->call("CreateEventA", std::to_string(manual) + std::to_string(initial));
        return f ? nullptr : kEvent;
    },
    [](HANDLE) { return ok(sys->call("ResetEvent")); },
    [](HANDLE) {
        sys->set();
        return ok(sys->call("SetEvent"));
    },
    [](HANDLE, DWORD ms) -> DWORD {
        sys->call("WaitForSingleObject", ms == INFINITE ? "INFINITE" : std::to_string(ms));
        if (ms == INFINITE && sys->onEndlessWait) sys->onEndlessWait();
        return sys->nextWait();
    },
    [](DWORD n, const HANDLE*, BOOL, DWORD) -> DWORD {
        sys->call("WaitForMultipleObjects", std::to_string(n));
        if (sys->blockWaits) return sys->blockUntilSet();
        const DWORD r = sys->nextWait();
        if (r == WAIT_OBJECT_0 + 1 && sys->onEndlessWait) sys->onEndlessWait();  // close ran
        return r;
    },
    [](HANDLE h) { return ok(sys->call(h == kPort ? "CloseHandle port" : "CloseHandle event")); },
};

class Win32Port : public ::testing::Test {
protected:
    Win32Port() {
        sys = &system;
        system.portDcb.BaudRate = 1200;
        system.portDcb.Parity = 2;
        system.portDcb.StopBits = 2;
        system.portDcb.XonChar = 0x21;
        system.portDcb.XoffChar = 0x23;
        system.portDcb.XonLim = 7;
    }
    ~Win32Port() override { sys = nullptr; }

    std::unique_ptr<Win32SerialOs> makeOs(std::map<std::string, std::string> env = {}) {
        return std::make_unique<Win32SerialOs>(
            kRecorded, [env](const std::string& name) -> std::optional<std::string> {
                const auto it = env.find(name);
                if (it == env.end()) return std::nullopt;
                return it->second;
            });
    }
    // An open backend whose transfer events exist; the call log starts empty.
    std::unique_ptr<Win32SerialOs> openOs() {
        auto os = makeOs();
        EXPECT_TRUE(os->openPort("com1"));
        EXPECT_TRUE(os->createEvents());
        os->setEventMask(EV_RXCHAR | EV_CTS);
        system.calls.clear();
        return os;
    }

    System system;
    PostQueue queue;
};

TEST_F(Win32Port, OpenAndCloseMakeTheirCallsInOrder) {
    Trs232c rs(makeOs(), queue.factory());
    rs.OnRXCHAR = [](Trs232c&) {};
    rs.OnClose = [](Trs232c& sender) { sender.setdtr(false); };
    system.failures["WaitCommEvent"] = {ERROR_IO_PENDING};
    system.blockWaits = true;
    ASSERT_TRUE(rs.open());
    ASSERT_TRUE(system.waitForWaiter());
    ASSERT_TRUE(rs.close());
    const Strings ui = {
        "CreateFileA \\\\.\\COM1 0xC0000000 0x0 0x3 0x40000080",
        "GetFileType",
        "GetCommState",     // a serial port answers it; NUL does not
        "CreateEventA 10",  // the monitor's request event
        "CreateEventA 10",  // the one that ends its wait
        "SetupComm 1024 1024",
        "GetCommState",
        "SetCommState",
        "SetCommTimeouts 0 0 30000 0 30000",
        "ResetEvent",
        "SetCommMask 0x1",
        "PurgeComm 0xF",
        "CreateEventA 10",
        "ResetEvent",
        "CreateEventA 10",
        "ResetEvent",
        "PurgeComm 0x3",
        "SetCommMask 0x0",
        "SetEvent",
        "EscapeCommFunction 6",  // OnClose, the port still open
        "CloseHandle event",
        "CloseHandle event",
        "CloseHandle event",
        "CloseHandle event",
        "CloseHandle port",
    };
    EXPECT_EQ(system.calls, ui);
    // The monitor's wait pends on its own record and is ended by close, then
    // cancelled, its end awaited for a bounded time.
    const Strings monitor = {"ResetEvent", "WaitCommEvent",           "WaitForMultipleObjects 2",
                             "CancelIoEx", "WaitForSingleObject 200", "GetOverlappedResult nowait"};
    EXPECT_EQ(system.monitorCalls, monitor);
}

TEST_F(Win32Port, TheDcbComesFromThePropertiesOnTopOfThePortsSettings) {
    struct Case {
        const char* what;
        std::function<void(Trs232c&)> set;
        std::function<bool(const DCB&)> holds;
    } cases[] = {
        {"defaults: 9600 8N1, binary, port's XON/XOFF limits kept", [](Trs232c&) {},
         [](const DCB& d) {
             return d.DCBlength == sizeof(DCB) && d.BaudRate == 9600 && d.ByteSize == 8 &&
                    d.Parity == 0 && d.StopBits == 0 && d.fBinary == 1 && d.fParity == 0 &&
                    d.XonLim == 7 && d.XonChar == 0x11 && d.XoffChar == 0x13;
         }},
        {"charbit's low 8 bits, XonLim's low 16 bits",
         [](Trs232c& r) {
             r.charbit = 256 + 7;
             r.XonLim = 65536 + 5;
         },
         [](const DCB& d) { return d.ByteSize == 7 && d.XonLim == 5; }},
        {"a 0 character keeps the port's", [](Trs232c& r) { r.XonChar = 0; },
         [](const DCB& d) { return d.XonChar == 0x21 && d.XoffChar == 0x13; }},
        {"unknown parity word and stop text keep the port's",
         [](Trs232c& r) {
             r.paritymode = "NONE";
             r.stopbit = "1.0";
         },
         [](const DCB& d) { return d.Parity == 2 && d.StopBits == 2; }},
        {"full-width odd, 1.5 stop bits",
         [](Trs232c& r) {
             r.paritymode = "ｏｄｄ";
             r.stopbit = "1.5";
         },
         [](const DCB& d) { return d.Parity == 1 && d.StopBits == 1; }},
        {"the flag word, all 32 bits",
         [](Trs232c& r) { r.flowflag = static_cast<int32_t>(0x80003015u); },
         [](const DCB& d) {
             return d.fBinary == 1 && d.fOutxCtsFlow == 1 && d.fDtrControl == 1 &&
                    d.fRtsControl == 3 && d.fDummy2 == (0x80000000u >> 15);
         }},
    };
    for (const Case& c : cases) {
        Trs232c rs(makeOs(), queue.factory());
        c.set(rs);
        ASSERT_TRUE(rs.open()) << c.what;
        EXPECT_TRUE(c.holds(system.applied)) << c.what;
    }
}

TEST_F(Win32Port, PortNamesBecomeDeviceNames) {
    const struct {
        const char* portname;
        const char* opened;  // nullptr: no CreateFileA at all
    } cases[] = {
        {"com1", "\\\\.\\COM1"},        {"COM12", "\\\\.\\COM12"}, {"Com10", "\\\\.\\COM10"},
        {"com2", "\\\\.\\pipe\\unit"},  // from TVCONFIG_COM2
        {"\\\\.\\COM7", "\\\\.\\COM7"}, {"com01", "com01"},        {"", nullptr},
    };
    for (const auto& c : cases) {
        system.calls.clear();
        auto os = makeOs({{"TVCONFIG_COM2", "\\\\.\\pipe\\unit"}});
        EXPECT_EQ(os->openPort(c.portname), c.opened != nullptr) << c.portname;
        if (c.opened == nullptr) {
            EXPECT_TRUE(system.calls.empty());
            EXPECT_EQ(os->lastError().kind, SerialError::Kind::NotFound);
        } else {
            EXPECT_EQ(system.calls.at(0).substr(0, system.calls.at(0).find(' ', 12)),
                      std::string("CreateFileA ") + c.opened)
                << c.portname;
        }
    }
}

TEST_F(Win32Port, FailedOpenNamesTheDeviceItAskedFor) {
    system.failures["CreateFileA"] = {ERROR_FILE_NOT_FOUND};
    auto os = makeOs({});
    EXPECT_FALSE(os->openPort("com9"));
    EXPECT_EQ(os->lastError().device, "\\\\.\\COM9");
    EXPECT_NE(openFailureReason("com9", os->lastError()).find("(\\\\.\\COM9) did not open"),
              std::string::npos);
}

TEST_F(Win32Port, WhatOpensButIsNoSerialPortIsNamedAndClosed) {
    const std::pair<DWORD, std::string> cases[] = {
        {FILE_TYPE_DISK, "a regular file"},
        {FILE_TYPE_PIPE, "a named pipe"},
        {FILE_TYPE_CHAR, "a device that is not a COM port"}};
    for (const auto& [type, what] : cases) {
        system.fileType = type;
        system.failures["GetCommState"] = {ERROR_INVALID_FUNCTION};  // as NUL answers
        auto os = makeOs();
        EXPECT_FALSE(os->openPort("com3")) << what;
        EXPECT_EQ(system.calls.back(), "CloseHandle port") << what;
        EXPECT_NE(openFailureReason("com3", os->lastError()).find("serial port: " + what + ". "),
                  std::string::npos);
    }
}

TEST_F(Win32Port, TransfersWaitBoundedAndCancelWhatTimesOut) {
    const struct Case {
        const char* what;
        std::deque<DWORD> readFails;  // ERROR_IO_PENDING: the read runs on
        std::deque<DWORD> waits;
        DWORD moved;
        int32_t result;
        SerialError::Kind kind;
        Strings tail;  // the calls after ResetEvent and ReadFile
    } cases[] = {
        {"done at once", {}, {}, 2, 2, SerialError::Kind::None, {}},
        {"pending, then done",
         {ERROR_IO_PENDING},
         {WAIT_OBJECT_0},
         4,
         4,
         SerialError::Kind::None,
         {"WaitForSingleObject 250", "GetOverlappedResult nowait"}},
        {"timed out: cancelled and completed before returning",
         {ERROR_IO_PENDING},
         {WAIT_TIMEOUT},
         1,
         1,
         SerialError::Kind::TimedOut,
         {"WaitForSingleObject 250", "CancelIoEx", "GetOverlappedResult wait"}},
        {"refused", {ERROR_INVALID_PARAMETER}, {}, 0, -1, SerialError::Kind::Refused, {}},
        // The monitor is woken to report the loss.
        {"device removed", {ERROR_BAD_COMMAND}, {}, 0, -1, SerialError::Kind::HungUp, {"SetEvent"}},
    };
    for (const Case& c : cases) {
        auto os = openOs();
        system.failures["ReadFile"] = c.readFails;
        system.waitResults = c.waits;
        system.moved = c.moved;
        uint8_t buffer[4];
        EXPECT_EQ(os->read(buffer, 4, 250), c.result) << c.what;
        EXPECT_EQ(os->lastError().kind, c.kind) << c.what;
        Strings expected = {"ResetEvent", "ReadFile 4"};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(system.calls, expected) << c.what;
    }
    // Once the device has gone, transfers fail without calling the system
    // (beyond waking the monitor once).
    auto os = openOs();
    system.failures["WriteFile"] = {ERROR_DEVICE_REMOVED};
    const uint8_t byte = 0x57;
    EXPECT_EQ(os->write(&byte, 1, 250), -1);
    EXPECT_EQ(os->write(&byte, 1, 250), -1);
    EXPECT_EQ(os->lastError().kind, SerialError::Kind::HungUp);
    EXPECT_EQ(system.calls, (Strings{"ResetEvent", "WriteFile 1", "SetEvent"}));
}

TEST_F(Win32Port, TheEventWaitReportsWhatWindowsReports) {
    const struct Case {
        const char* what;
        std::deque<DWORD> waitFails;  // of WaitCommEvent
        std::deque<DWORD> waits;      // of WaitForMultipleObjects
        DWORD occurred;
        DWORD inQueue;
        bool clearMaskFirst;
        bool result;
        uint32_t events;
    } cases[] = {
        {"at once, masked to the selection", {}, {}, EV_CTS | EV_RING, 0, false, true, EV_CTS},
        {"pending, bytes queued",
         {ERROR_IO_PENDING},
         {WAIT_OBJECT_0},
         EV_RXCHAR,
         3,
         false,
         true,
         EV_RXCHAR},
        {"woken for close", {ERROR_IO_PENDING}, {WAIT_OBJECT_0 + 1}, 0, 0, false, true, 0},
        {"mask already cleared: no wait at all", {}, {}, EV_CTS, 0, true, true, 0},
        {"another failure: a pause, then false",
         {ERROR_INVALID_PARAMETER},
         {},
         0,
         0,
         false,
         false,
         0},
    };
    for (const Case& c : cases) {
        auto os = openOs();
        system.failures["WaitCommEvent"] = c.waitFails;
        system.waitResults = c.waits;
        system.occurred = c.occurred;
        system.inQueue = c.inQueue;
        if (c.clearMaskFirst) os->setEventMask(0);
        system.onEndlessWait = [&] { os->setEventMask(0); };
        uint32_t events = 0xFFFF;
        EXPECT_EQ(os->waitEvent(events), c.result) << c.what;
        EXPECT_EQ(events, c.events) << c.what;
    }
}

TEST_F(Win32Port, ReceiveEventsGoByTheQueueNotByTheirCount) {
    auto os = openOs();
    system.occurred = EV_RXCHAR | EV_CTS;
    system.inQueue = 2;
    uint32_t events = 0;
    ASSERT_TRUE(os->waitEvent(events));
    EXPECT_EQ(events, EV_RXCHAR | EV_CTS);
    // The same two bytes still unread: a repeated EV_RXCHAR announces nothing.
    ASSERT_TRUE(os->waitEvent(events));
    EXPECT_EQ(events, uint32_t{EV_CTS});
    // After a read, the same count means new bytes.
    system.moved = 2;
    uint8_t buffer[2];
    ASSERT_EQ(os->read(buffer, 2, 100), 2);
    ASSERT_TRUE(os->waitEvent(events));
    EXPECT_EQ(events, EV_RXCHAR | EV_CTS);
    // An empty queue announces nothing.
    system.inQueue = 0;
    ASSERT_TRUE(os->waitEvent(events));
    EXPECT_EQ(events, uint32_t{EV_CTS});
}

TEST_F(Win32Port, ARemovedDeviceStopsTheWaitUntilClose) {
    const struct Case {
        const char* what;
        std::map<std::string, std::deque<DWORD>> failures;
        Strings beforeSleep;  // the calls that find the loss
    } cases[] = {
        {"the wait says so", {{"WaitCommEvent", {ERROR_ACCESS_DENIED}}}, {"WaitCommEvent"}},
        // What Wine does when the other side of its terminal hangs up.
        {"the wait is aborted and the port is not ready",
         {{"WaitCommEvent", {ERROR_OPERATION_ABORTED}}, {"ClearCommError", {ERROR_NOT_READY}}},
         {"WaitCommEvent", "ClearCommError", "SetEvent"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto os = openOs();
        system.failures = c.failures;
        system.onEndlessWait = [&] { os->setEventMask(0); };
        uint32_t events = 0xFFFF;
        // The loss is reported once; the next wait sleeps until close.
        EXPECT_TRUE(os->waitEvent(events));
        EXPECT_EQ(events, EV_LINELOST);
        EXPECT_TRUE(os->waitEvent(events));
        EXPECT_EQ(events, 0u);
        Strings expected = {"ResetEvent"};
        expected.insert(expected.end(), c.beforeSleep.begin(), c.beforeSleep.end());
        expected.insert(expected.end(), {"ResetEvent", "WaitForSingleObject INFINITE",
                                         "SetCommMask 0x0", "SetEvent"});
        EXPECT_EQ(system.calls, expected);
        EXPECT_EQ(os->read(nullptr, 1, 10), -1);
        EXPECT_EQ(os->lastError().kind, SerialError::Kind::HungUp);
    }
}

}  // namespace
}  // namespace tv
