// brell::analytics::BrException: every refusal of the analytics layers (bad records, bad values, bad
// configuration). The tracker's wrapper catches them all, so none reaches the installer.
#pragma once

#include <exception>
#include <string>

namespace brell::analytics {

class BrException : public std::exception {
 public:
  BrException(std::string message, std::string file, std::string function, int line)
      : message_(std::move(message)), file_(std::move(file)), function_(std::move(function)), line_(line) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& file() const { return file_; }
  const std::string& function() const { return function_; }
  int line() const { return line_; }
  int code() const { return -1; }
  int subCode() const { return -1; }

 private:
  std::string message_;
  std::string file_;
  std::string function_;
  int line_;
};

}  // namespace brell::analytics

// Throws a BrException naming the refusing operation and the source position.
#define BR_THROW(message, function) throw ::brell::analytics::BrException((message), __FILE__, (function), __LINE__)
