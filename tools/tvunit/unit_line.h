#pragma once
// The unit's end of the line: the pseudo-terminal's master side, paced as a
// serial line when --wire is given, every byte noted in the log, and every
// wait cut short by a stop signal.
#include <cstdint>

#include "unit_log.h"
#include "wire_pace.h"

namespace tv {

class UnitLine {
public:
    UnitLine(int master, int signals, UnitLog log, long wireBaud);

    // Takes one byte that came at `arrivalNs` once the wire has carried it;
    // false when a stop signal came meanwhile.
    bool receive(uint8_t b, int64_t arrivalNs);
    // When the last byte taken was fully received (on a wire, as scheduled,
    // not when the unit woke up for it).
    int64_t receivedAt() const { return m_receivedAt; }
    // Sends one byte handed over at `readyNs`; a byte the client leaves no
    // room for within a second is dropped. The bytes of one answer share their
    // `readyNs`, so on a wire they follow each other at the line's pace even
    // when the unit wakes late for one of them.
    void send(uint8_t b, int64_t readyNs);
    // `count` bytes counting up from 0x00, as fast as the line takes them.
    void sendCounting(long count, int64_t readyNs);
    // Sleeps `ms`, or until `deadlineNs`; false when a stop signal came meanwhile.
    bool pause(int ms);
    bool waitUntil(int64_t deadlineNs);

private:
    bool writeAll(const uint8_t* bytes, long count);
    void sendBlocks(long count);

    int m_master;
    int m_signals;
    UnitLog m_log;
    WirePace m_wire;
    int64_t m_receivedAt = 0;
};

}  // namespace tv
