#include "unit_protocol.h"

#include "device/protocol_bytes.h"

namespace tv {

namespace {
using protocol::kCR;
}

void UnitProtocol::command(uint8_t b) {
    switch (b) {
        case protocol::kWrite:
            m_state = State::AfterW;
            break;
        case protocol::kDump:
            m_state = State::AfterD;
            break;
        case protocol::kInitialize:
            m_state = State::AfterI;
            break;
        default:
            m_state = State::Idle;
            break;
    }
}

std::vector<uint8_t> UnitProtocol::receive(uint8_t b) {
    std::vector<uint8_t> reply;
    reply.reserve(1 + kMemorySize);
    reply.push_back(b);
    if (m_state == State::Storing) {
        m_incoming[m_stored++] = b;
        if (m_stored == kMemorySize) {
            m_memory = m_incoming;
            if (m_corruptByte >= 0 && static_cast<std::size_t>(m_corruptByte) < kMemorySize) {
                m_memory[static_cast<std::size_t>(m_corruptByte)] ^= 0xFF;
            }
            m_state = State::Idle;
        }
        return reply;
    }
    if (m_state == State::Idle || b != kCR) {
        command(b);  // a letter not followed by CR starts over with this byte
        return reply;
    }
    // The CR that completes a command.
    switch (m_state) {
        case State::AfterW:
            m_stored = 0;
            m_state = State::Storing;
            return reply;
        case State::AfterD:
            reply.insert(reply.end(), m_memory.begin(), m_memory.end());
            break;
        case State::AfterI:
            m_memory.fill(0);
            break;
        default:
            break;
    }
    m_state = State::Idle;
    return reply;
}

}  // namespace tv
