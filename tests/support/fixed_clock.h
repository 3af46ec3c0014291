#pragma once
// A clock that always reads the same moment, for exports named by the time.
#include <ctime>

#include "device/header_export.h"

namespace tv::test {

class FixedClock : public Clock {
public:
    explicit FixedClock(std::time_t t) : m_t(t) {}
    std::time_t now() const override { return m_t; }

private:
    std::time_t m_t;
};

}  // namespace tv::test
