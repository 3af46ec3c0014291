#include "serial/comthd.h"

#include "serial/serial_os.h"

namespace tv {

tcommthread::tcommthread(CommEventSink& owner, SerialOs& port) : m_owner(owner), m_port(port) {}

tcommthread::~tcommthread() { waitFor(); }

void tcommthread::resume() {
    if (!m_thread.joinable()) m_thread = std::thread([this] { execute(); });
}

void tcommthread::waitFor() {
    if (m_thread.joinable()) m_thread.join();
}

void tcommthread::execute() {
    while (!terminated()) {
        // A failed wait goes straight back to waiting; the platform's wait
        // blocks even then, so this cannot spin.
        if (m_port.waitEvent(m_eventWord)) m_owner.postevents();
    }
}

}  // namespace tv
