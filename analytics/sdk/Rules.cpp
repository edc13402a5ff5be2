#include "analytics/sdk/Rules.h"

#include "analytics/sdk/PropertiesNode.h"

namespace analytics_core {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool CheckName(const std::string& text, const std::string& what) {
  if (text.empty() || text.size() > 100) {
    WriteError("The " + what + " is empty or too long, max length is 100");
    return false;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool ok = IsLetter(c) || c == '$' || c == '_' || (i > 0 && c >= '0' && c <= '9');
    if (!ok) {
      WriteError("The " + what + " need to be a valid variable name.");
      return false;
    }
  }
  return true;
}

bool CheckLength(const std::string& text, const std::string& what) {
  if (text.empty()) {
    WriteError("The " + what + " is empty.\n");
    return false;
  }
  if (text.size() > 255) {
    WriteError("The " + what + " is too long, max length is 255.\n");
    return false;
  }
  return true;
}

}  // namespace analytics_core
