#include "analytics/sdk/FlushScheduling.h"

#include <chrono>
#include <thread>

#include "analytics/sdk/RecordQueue.h"
#include "analytics/sdk/Sdk.h"
#include "app/Log.h"

namespace analytics_core {
namespace {

// Under FlushMutex.
bool FlushAllLocked() {
  Sdk* sdk = Sdk::Instance();
  return sdk != nullptr && sdk->Consumer().FlushAll();
}

void FlushPending() {
  std::lock_guard<std::mutex> lock(FlushMutex());
  if (PendingRecords() > 0 && FlushAllLocked()) PendingRecords() = 0;
}

}  // namespace

std::atomic<int32_t>& PendingRecords() {
  static std::atomic<int32_t> pending{0};
  return pending;
}

std::mutex& FlushMutex() {
  static std::mutex mutex;
  return mutex;
}

void FlushNow(bool urgent) {
  std::lock_guard<std::mutex> lock(FlushMutex());
  if (!urgent) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ++PendingRecords();
    return;
  }
  for (int attempt = 0; attempt < 3 && PendingRecords() > 0; ++attempt) {
    if (FlushAllLocked()) {
      PendingRecords() = 0;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void FlushSoon(bool urgent) {
  if (LastSendOk()) {
    FlushNow(urgent);
    return;
  }
  Utils::WriteLog(L"[Analytics] Sending messages asynchronously");
  std::thread([urgent] { FlushNow(urgent); }).detach();
}

void RunBackgroundSender(const std::atomic<bool>& stop, const std::function<void()>& afterWait) {
  while (!stop) {
    FlushPending();
    for (int i = 0; i < 200 && !stop; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (afterWait) afterWait();
    FlushPending();
  }
}

}  // namespace analytics_core
