// The fifteen analytics event kinds (scoped: "Task" or "AppOpenNotification" are also record names), their text forms (log labels, context-property lists) and the
// event names that go on the wire.
#pragma once

#include <cstdint>
#include <string>

namespace brell::analytics {

enum class BrEventKind : uint32_t {
  Activity = 0,
  PaLaunchPal = 1,
  Login = 2,
  Click = 3,
  View = 4,
  Cashier = 5,
  Share = 6,
  Task = 7,
  File = 8,
  Order = 9,
  Payment = 10,
  Uninstall = 11,
  Update = 12,
  Crashed = 13,
  AppOpenNotification = 14,
};
constexpr uint32_t kEventKinds = 15;

// Throw BrException "Unknown Event [n]!" for any other value.
std::string toString(BrEventKind kind);
std::string wireName(BrEventKind kind);

}  // namespace brell::analytics
