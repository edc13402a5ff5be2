// How a batch of records travels to the collector: gzip (zlib, level 9, gzip wrapper), Base64, URL
// encoding, in the form body "data_list=...&gzip=1". Portable.
#pragma once

#include <optional>
#include <string>

namespace analytics_core {

std::optional<std::string> Gzip(const std::string& text);
std::string Base64(const std::string& bytes);
// Letters, digits and "-._~" stay; every other byte becomes "%XX" (upper-case).
std::string UrlEncode(const std::string& text);
// The whole body for a batch text; nothing when compression fails (the reason is written to stderr).
std::optional<std::string> EncodeBatch(const std::string& batch);

}  // namespace analytics_core
