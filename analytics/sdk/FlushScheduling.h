// When queued analytics records leave: at once for urgent events, on a worker when the last send
// failed (so a dead collector never stalls the caller), and from the tracker's background sender.
// Called by the tracker; everything here works on the client core's single instance.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace analytics_core {

// Raised when records are added, cleared when a flush has emptied the queue; tells only whether a
// flush is worthwhile.
std::atomic<int32_t>& PendingRecords();
// Held by FlushNow; Sdk::Shutdown takes it too, so no flush runs while the core goes away.
std::mutex& FlushMutex();

// urgent: up to three FlushAll attempts while records are pending; otherwise only counts one more.
void FlushNow(bool urgent);
// FlushNow on this thread when the last send went through, else on a new detached thread.
void FlushSoon(bool urgent);
// The tracker's background sender: flushes pending records every 10 seconds until `stop` is set;
// `afterWait` runs after each wait (the tracker's deferred login profile).
void RunBackgroundSender(const std::atomic<bool>& stop, const std::function<void()>& afterWait);

}  // namespace analytics_core
