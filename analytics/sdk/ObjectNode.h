// analytics_core::utils::ObjectNode: an ordered map of property values (keys in ascending byte order,
// which is also their order in the JSON text), and its serialisation. Portable; the analytics core
// builds every record from these.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace analytics_core::utils {

class ObjectNode {
 public:
  struct DateTime {
    int64_t seconds;       // since 1970
    int32_t milliseconds;
    bool operator==(const DateTime&) const = default;
  };
  // Kinds in the order of their numbers: 0 number, 1 integer, 2 string, 3 list, 4 date-time, 5 bool, 6 object.
  // (a nested object is held by pointer: a variant cannot hold the class it is part of)
  using Value = std::variant<double, int64_t, std::string, std::vector<std::string>, DateTime, bool,
                             std::shared_ptr<const ObjectNode>>;

  virtual ~ObjectNode() = default;

  void SetNumber(const std::string& key, double value) { values_[key] = value; }
  void SetNumber(const std::string& key, int64_t value) { values_[key] = value; }
  void SetString(const std::string& key, const std::string& value) { values_[key] = value; }
  void SetList(const std::string& key, const std::vector<std::string>& value) { values_[key] = value; }
  void SetDateTime(const std::string& key, int64_t seconds, int32_t milliseconds) {
    values_[key] = DateTime{seconds, milliseconds};
  }
  void SetBool(const std::string& key, bool value) { values_[key] = value; }
  virtual void SetObject(const std::string& key, const ObjectNode& value) {
    values_[key] = std::make_shared<const ObjectNode>(value);
  }

  // Copies every entry of `other` over this node.
  void Merge(const ObjectNode& other);
  void Remove(const std::string& key) { values_.erase(key); }
  const Value* Find(const std::string& key) const;
  const std::map<std::string, Value>& Values() const { return values_; }

  // One line of JSON without white space.
  std::string ToJson() const;
  void AppendJson(std::string& out) const;

  // JSON string escaping as the collector reads it: \b \t \n \f \r \" \\, every other byte unchanged.
  static void AppendString(std::string& out, const std::string& text);
  // A double as the standard stream writes it: six significant digits, shortest form ("12.3457", "1e+07").
  static std::string FormatNumber(double value);
  // "YYYY-MM-DD hh:mm:ss.mmm" in local time.
  static std::string FormatDateTime(int64_t seconds, int32_t milliseconds);

 protected:
  std::map<std::string, Value> values_;
};

}  // namespace analytics_core::utils
