// The analytics core's rules for names and identities; a refusal writes its message through
// WriteError and the call goes no further.
#pragma once

#include <string>

namespace analytics_core {

// Event names and property keys: 1 to 100 bytes, a letter, "$" or "_" first, then letters, digits, "$", "_".
bool CheckName(const std::string& text, const std::string& what);
// Distinct and original ids: 1 to 255 bytes.
bool CheckLength(const std::string& text, const std::string& what);

}  // namespace analytics_core
