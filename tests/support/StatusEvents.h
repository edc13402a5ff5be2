// Status events as tests see them: a comparable record and a thread-safe collector whose callback a
// downloader or runner calls from its worker.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/TextConvert.h"
#include "install/StatusCodes.h"

namespace testsupport {

struct Event {
  int32_t code;
  double value;
  std::wstring text;
  bool operator==(const Event&) const = default;
};
inline void PrintTo(const Event& e, std::ostream* os) {
  *os << "{" << e.code << ", " << e.value << ", \"" << Utils::ToUtf8(e.text) << "\"}";
}

class EventCollector {
 public:
  StatusCallback Callback() {
    return [this](int32_t code, double value, const wchar_t* text) {
      EXPECT_NE(nullptr, text) << "code " << code;
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back({code, value, text ? text : L"(null)"});
      changed_.notify_all();
    };
  }
  // Waits until an event with one of the codes has arrived (at most 60 s), then a little longer so
  // that a wrong extra event would show.
  std::vector<Event> WaitFor(std::initializer_list<int32_t> codes) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(60), [&] {
      for (const auto& e : events_)
        for (int32_t c : codes)
          if (e.code == c) return true;
      return false;
    });
    lock.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return All();
  }
  std::vector<Event> All() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Event> events_;
};

}  // namespace testsupport
