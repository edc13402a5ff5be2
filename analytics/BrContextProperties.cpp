#include "analytics/BrContextProperties.h"

#include "analytics/BrException.h"
#include "app/TextConvert.h"

namespace brell::analytics {
namespace {

size_t CheckKind(BrEventKind kind, const char* function) {
  const uint32_t n = static_cast<uint32_t>(kind);
  if (n >= kEventKinds) BR_THROW("BrEvent[" + std::to_string(n) + "] overflow!", function);
  return n;
}

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

BrContextProperties::BrContextProperties() {
  names_.max_load_factor(1.0f);
  names_.rehash(8);
}

const std::vector<BrContextProperty>& BrContextProperties::getEventProperties(BrEventKind kind) const {
  return lists_[CheckKind(kind, "getEventProperties")];
}

void BrContextProperties::setProperty(const std::vector<BrEventKind>& kinds, const std::string& value) {
  if (!names_.insert(kAbKey).second) {
    BR_THROW(std::string("Property[") + kAbKey + "] already exist!", "setProperty");
  }
  const auto shared = std::make_shared<const BrContextProperty::Value>(value);
  for (BrEventKind kind : kinds) {
    lists_[CheckKind(kind, "setProperty")].push_back({BrContextProperty::String, kAbKey, shared});
  }
}

bool BrContextProperties::AddToEvent(BrEventKind kind, analytics_core::PropertiesNode& properties) const {
  const std::vector<BrContextProperty>& list = getEventProperties(kind);
  for (const BrContextProperty& p : list) {
    switch (p.kind) {
      case BrContextProperty::Bool:
        properties.SetBool(p.key, std::get<bool>(*p.value));
        break;
      case BrContextProperty::DateTime: {
        const int64_t v = std::get<int64_t>(*p.value);
        const bool milliseconds = v >= 157789440000;
        properties.SetString(p.key, analytics_core::utils::ObjectNode::FormatDateTime(
                                        milliseconds ? v / 1000 : v, milliseconds ? static_cast<int32_t>(v % 1000) : 0));
        break;
      }
      case BrContextProperty::Number:
        properties.SetNumber(p.key, std::get<double>(*p.value));
        break;
      case BrContextProperty::String:
        properties.SetString(p.key, std::get<std::string>(*p.value));
        break;
      case BrContextProperty::List:
        properties.SetList(p.key, std::get<std::vector<std::string>>(*p.value));
        break;
    }
  }
  return !list.empty();
}

bool isValidABValue(const std::string& value) {
  if (value.empty()) return false;
  if (value.size() > 3) BR_THROW("value's length is great than 3.", "isValidABValue");
  if (!IsUpper(value[0])) BR_THROW("First char is not in A to Z", "isValidABValue");
  if (value.size() > 1 && !IsUpper(value[1]) && !IsDigit(value[1])) {
    BR_THROW("second char is not in A to Z and 0 to 9", "isValidABValue");
  }
  if (value.size() > 2 && !IsUpper(value[2]) && !IsDigit(value[2])) {
    BR_THROW("third char is not in A to Z and 0 to 9", "isValidABValue");
  }
  return true;
}

void ApplyAbGroup(const std::map<std::wstring, std::wstring>& extra, const std::vector<BrEventKind>& kinds,
                  BrContextProperties& context) {
  const auto it = extra.find(L"AB");
  if (it == extra.end()) return;
  const std::string value = Utils::ToUtf8(it->second);
  if (isValidABValue(value)) context.setProperty(kinds, value);
}

}  // namespace brell::analytics
