#pragma once
// tcommthread: the monitor thread of a Trs232c. It blocks in the port's event
// wait and, after each completed wait, runs the owner's postevents, which posts
// the events to the UI thread. It never touches the UI itself.
#include <atomic>
#include <cstdint>
#include <thread>

namespace tv {

class SerialOs;

// What the monitor tells after each completed wait. The component implements it;
// the thread knows nothing else of its owner.
class CommEventSink {
public:
    // Runs on the monitor thread: may only post, never touch the UI.
    virtual void postevents() = 0;

protected:
    ~CommEventSink() = default;
};

class tcommthread {
public:
    // Created suspended: the thread starts at resume().
    tcommthread(CommEventSink& owner, SerialOs& port);
    // Joins a thread that has been resumed; stop it first (terminate, then end
    // the wait by clearing the port's event mask).
    ~tcommthread();
    tcommthread(const tcommthread&) = delete;
    tcommthread& operator=(const tcommthread&) = delete;

    void resume();
    // The stop request, read by the thread after each wait. Set once.
    void terminate() { m_terminated.store(true); }
    bool terminated() const { return m_terminated.load(); }
    void waitFor();

    // The events of the last completed wait; read by postevents on this thread.
    uint32_t eventWord() const { return m_eventWord; }

private:
    void execute();

    CommEventSink& m_owner;
    uint32_t m_eventWord = 0;
    SerialOs& m_port;
    std::atomic<bool> m_terminated{false};
    std::thread m_thread;
};

}  // namespace tv
