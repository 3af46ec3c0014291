#pragma once
// The unit's event loop: reads what the client sends, answers each byte as the
// protocol and the faults say, and stops on SIGTERM/SIGINT or a hang-up fault.
#include <cstdint>
#include <vector>

#include "unit_faults.h"
#include "unit_line.h"
#include "unit_options.h"
#include "unit_protocol.h"

namespace tv {

class UnitLoop {
public:
    static constexpr int kLingerMs = 50;

    UnitLoop(const UnitOptions& options, int master, int signals, UnitLog log);

    // Serves until a signal or the hang-up; returns the exit status.
    int run();

private:
    // Each handles one received byte; false when the unit is to stop.
    bool serve(uint8_t b, int64_t arrivalNs);
    bool answer(const std::vector<uint8_t>& reply);

    int m_master;
    int m_signals;
    UnitLine m_line;
    UnitProtocol m_protocol;
    UnitFaults m_faults;
    long m_received = 0;
};

}  // namespace tv
