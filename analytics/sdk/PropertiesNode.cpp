#include "analytics/sdk/PropertiesNode.h"

#include <cmath>
#include <iostream>
#include <mutex>

namespace analytics_core {
namespace {

std::mutex g_sinkMutex;
std::function<void(const std::string&)> g_sink;

bool InRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

}  // namespace

void SetErrorSink(std::function<void(const std::string&)> sink) {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  g_sink = std::move(sink);
}

void WriteError(const std::string& message) {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  if (g_sink) {
    g_sink(message);
  } else {
    std::cerr << message;
  }
}

bool IsValidUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t i = 0;
  auto tail = [&](size_t count) {  // `count` continuation bytes 80-BF follow
    for (size_t k = 1; k <= count; ++k) {
      if (i + k >= n || !InRange(s[i + k], 0x80, 0xBF)) return false;
    }
    i += count + 1;
    return true;
  };
  while (i < n) {
    const unsigned char c = s[i];
    if (c == 0x09 || c == 0x0A || c == 0x0D || InRange(c, 0x20, 0x7E)) {
      ++i;
    } else if (InRange(c, 0xC2, 0xDF)) {
      if (!tail(1)) return false;
    } else if (c == 0xE0) {
      if (i + 1 >= n || !InRange(s[i + 1], 0xA0, 0xBF) || !tail(2)) return false;
    } else if (InRange(c, 0xE1, 0xEC) || InRange(c, 0xEE, 0xEF)) {
      if (!tail(2)) return false;
    } else if (c == 0xED) {
      if (i + 1 >= n || !InRange(s[i + 1], 0x80, 0x9F) || !tail(2)) return false;
    } else if (c == 0xF0) {
      if (i + 1 >= n || !InRange(s[i + 1], 0x90, 0xBF) || !tail(3)) return false;
    } else if (InRange(c, 0xF1, 0xF3)) {
      if (!tail(3)) return false;
    } else if (c == 0xF4) {
      if (i + 1 >= n || !InRange(s[i + 1], 0x80, 0x8F) || !tail(3)) return false;
    } else {
      return false;
    }
  }
  return true;
}

void PropertiesNode::SetString(const std::string& key, const std::string& value) {
  if (value.size() > kMaxString) {
    WriteError("String property '" + key + "' is too long, value: " + value + "\n");
    return;
  }
  if (!IsValidUtf8(value)) {
    WriteError("String property '" + key + "' is not valid UTF-8 string, value: " + value + "\n");
    return;
  }
  ObjectNode::SetString(key, value);
}

void PropertiesNode::SetNumber(const std::string& key, double value) {
  if (!std::isfinite(value)) {
    WriteError("Number property '" + key + "' is not a finite number\n");
    return;
  }
  ObjectNode::SetNumber(key, value);
}

}  // namespace analytics_core
