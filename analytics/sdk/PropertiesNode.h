// analytics_core::PropertiesNode: a property set of one analytics call. Refuses nested objects, string
// values over 8192 bytes, text that is not valid UTF-8 and numbers that are not finite (with a message
// on standard error).
#pragma once

#include <functional>
#include <string>

#include "analytics/sdk/ObjectNode.h"

namespace analytics_core {

class PropertiesNode : public utils::ObjectNode {
 public:
  static constexpr size_t kMaxString = 8192;

  using ObjectNode::SetNumber;
  // NaN and infinities are refused (and reported): JSON has no form for them, and one such value
  // would make the collector reject the whole batch it travels in.
  void SetNumber(const std::string& key, double value);
  void SetNumber(const std::string& key, int32_t value) { ObjectNode::SetNumber(key, static_cast<int64_t>(value)); }
  // Refused (and reported) when too long or not valid UTF-8; the node is then unchanged.
  void SetString(const std::string& key, const std::string& value);
  void SetString(const std::string& key, const char* value) { SetString(key, std::string(value ? value : "")); }
  void SetObject(const std::string&, const ObjectNode&) override {}
};

// The UTF-8 rule of property values: printable ASCII, tab, line feed, carriage return and well-formed
// multi-byte sequences; no other control bytes, no 7F, no overlong forms, surrogates or cut sequences.
bool IsValidUtf8(const std::string& text);

// Where the core's refusal messages go: standard error unless a test routes them elsewhere.
void SetErrorSink(std::function<void(const std::string&)> sink);
void WriteError(const std::string& message);

}  // namespace analytics_core
