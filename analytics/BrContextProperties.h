// brell::analytics::BrContextProperties: properties a caller attaches to event kinds and the tracker
// adds to each such event last. The installer uses it for its experiment group, the AB value, sent as
// "brc_ab". Portable.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <variant>
#include <vector>

#include "analytics/EventKind.h"
#include "analytics/sdk/PropertiesNode.h"

namespace brell::analytics {

struct BrContextProperty {
  enum Kind { Bool = 0, DateTime = 1, Number = 2, String = 3, List = 4 };
  using Value = std::variant<bool, int64_t, double, std::string, std::vector<std::string>>;
  Kind kind;
  std::string key;
  std::shared_ptr<const Value> value;  // shared by every kind it was set for
};

class BrContextProperties {
 public:
  static constexpr char kAbKey[] = "brc_ab";

  BrContextProperties();
  // Throws BrException "BrEvent[n] overflow!" for a kind of 15 or more.
  const std::vector<BrContextProperty>& getEventProperties(BrEventKind kind) const;
  // Sets "brc_ab" for each kind; a second call throws "Property[brc_ab] already exist!".
  void setProperty(const std::vector<BrEventKind>& kinds, const std::string& value);
  // Copies the kind's context properties into an event's property set; true when there were any.
  bool AddToEvent(BrEventKind kind, analytics_core::PropertiesNode& properties) const;

 private:
  std::unordered_set<std::string> names_;
  std::array<std::vector<BrContextProperty>, kEventKinds> lists_;
};

// Empty: false. Otherwise one to three characters, A-Z first, then A-Z or 0-9; anything else throws.
bool isValidABValue(const std::string& value);

// The installer's step: an "AB" entry in the event's extra map becomes the "brc_ab" context property.
void ApplyAbGroup(const std::map<std::wstring, std::wstring>& extra, const std::vector<BrEventKind>& kinds,
                  BrContextProperties& context);

}  // namespace brell::analytics
