#include "unit_protocol.h"

namespace tv {

namespace {
constexpr uint8_t kCR = 0x0D;
}

void UnitProtocol::command(uint8_t b) {
    switch (b) {
        case 'W': m_state = State::AfterW; break;
        case 'D': m_state = State::AfterD; break;
        case 'I': m_state = State::AfterI; break;
        default: m_state = State::Idle; break;
    }
}

std::vector<uint8_t> UnitProtocol::receive(uint8_t b) {
    std::vector<uint8_t> reply;
    reply.reserve(1 + kMemorySize);
    reply.push_back(b);
    switch (m_state) {
        case State::Storing:
            m_incoming[m_stored++] = b;
            if (m_stored == kMemorySize) {
                m_memory = m_incoming;
                m_state = State::Idle;
            }
            break;
        case State::AfterW:
            if (b == kCR) {
                m_stored = 0;
                m_state = State::Storing;
            } else {
                command(b);
            }
            break;
        case State::AfterD:
            if (b == kCR) {
                reply.insert(reply.end(), m_memory.begin(), m_memory.end());
                m_state = State::Idle;
            } else {
                command(b);
            }
            break;
        case State::AfterI:
            if (b == kCR) {
                m_memory.fill(0);
                m_state = State::Idle;
            } else {
                command(b);
            }
            break;
        case State::Idle: command(b); break;
    }
    return reply;
}

}  // namespace tv
