#include "analytics/sdk/ObjectNode.h"

#include <cstdio>
#include <ctime>
#include <locale>
#include <sstream>

namespace analytics_core::utils {

void ObjectNode::Merge(const ObjectNode& other) {
  for (const auto& [key, value] : other.values_) values_[key] = value;
}

const ObjectNode::Value* ObjectNode::Find(const std::string& key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? nullptr : &it->second;
}

std::string ObjectNode::ToJson() const {
  std::string out;
  AppendJson(out);
  return out;
}

void ObjectNode::AppendString(std::string& out, const std::string& text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  out += '"';
}

std::string ObjectNode::FormatNumber(double value) {
  std::ostringstream s;
  s.imbue(std::locale::classic());
  s << value;
  return s.str();
}

std::string ObjectNode::FormatDateTime(int64_t seconds, int32_t milliseconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  char text[64];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(milliseconds));
  return text;
}

void ObjectNode::AppendJson(std::string& out) const {
  out += '{';
  bool first = true;
  for (const auto& [key, value] : values_) {
    if (!first) out += ',';
    first = false;
    out += '"';
    out += key;  // keys are valid names: written without escaping
    out += "\":";
    std::visit(
        [&out](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, double>) {
            out += FormatNumber(v);
          } else if constexpr (std::is_same_v<T, int64_t>) {
            out += std::to_string(v);
          } else if constexpr (std::is_same_v<T, std::string>) {
            AppendString(out, v);
          } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
            out += '[';
            for (size_t i = 0; i < v.size(); ++i) {
              if (i) out += ',';
              AppendString(out, v[i]);
            }
            out += ']';
          } else if constexpr (std::is_same_v<T, DateTime>) {
            AppendString(out, FormatDateTime(v.seconds, v.milliseconds));
          } else if constexpr (std::is_same_v<T, bool>) {
            out += v ? "true" : "false";
          } else {
            v->AppendJson(out);
          }
        },
        value);
  }
  out += '}';
}

}  // namespace analytics_core::utils
