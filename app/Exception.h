// Utils::Exception: what the installer's utility classes throw inside a component; the runner that
// called them turns it into a status code. It carries no message.
#pragma once

#include <exception>

namespace Utils {

class Exception : public std::exception {
 public:
  const char* what() const noexcept override { return ""; }
};

}  // namespace Utils
