#include "analytics/EventKind.h"

#include <array>

#include "analytics/BrException.h"

namespace brell::analytics {
namespace {

struct KindNames {
  const char* text;
  const char* wire;
};
constexpr std::array<KindNames, kEventKinds> kNames = {{
    {"Activity", "BrEventActivity"},
    {"PaLaunchPal", "BrEventLaunch"},
    {"Login", "BrEventLogin"},
    {"Click", "BrEventClick"},
    {"View", "BrEventView"},
    {"Cashier", "BrEventCashier"},
    {"Share", "BrEventShare"},
    {"Task", "BrEventTask"},
    {"File", "BrEventFile"},
    {"Order", "BrEventOrder"},
    {"Payment", "BrEventPayment"},
    {"Uninstall", "BrEventUninstall"},
    {"Update", "BrEventUpdate"},
    {"Crashed", "AppCrashed"},
    {"AppOpenNotification", "AppOpenNotification"},
}};

const KindNames& Names(BrEventKind kind) {
  const uint32_t n = static_cast<uint32_t>(kind);
  if (n >= kEventKinds) BR_THROW("Unknown Event [" + std::to_string(n) + "]!", "toString");
  return kNames[n];
}

}  // namespace

std::string toString(BrEventKind kind) { return Names(kind).text; }
std::string wireName(BrEventKind kind) { return Names(kind).wire; }

}  // namespace brell::analytics
