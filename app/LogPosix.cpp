// The host build has no debugger output stream; its lines go to the log file only.
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include "app/LogPlatform.h"

namespace Utils {

LogStamp CurrentLogStamp() {
  timeval now;
  gettimeofday(&now, nullptr);
  tm local;
  localtime_r(&now.tv_sec, &local);
  return {static_cast<unsigned long>(getpid()), static_cast<unsigned long>(gettid()),
          local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
          static_cast<int>(now.tv_usec / 1000)};
}

namespace detail {
void DebugOutput(const wchar_t*) {}
}  // namespace detail

}  // namespace Utils
