#pragma once
// How requestClose() reaches the UI thread; each platform's file defines it.
namespace tv {

// Async-signal-safe: may run inside a signal handler or on another thread.
void wakeCloseRequestWatcher();

}  // namespace tv
