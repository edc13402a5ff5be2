// Which user-profile operation each profile key is written with.
#pragma once

#include <cstdint>
#include <string>

namespace brell::analytics {

enum class ProfileOp : int32_t { None = 0, SetOnce = 1, Increment = 2, Set = 3, Append = 4 };

// None for a key that is not a profile key.
ProfileOp profileOp(const std::string& key);

}  // namespace brell::analytics
