#include <windows.h>

#include "app/LogPlatform.h"

namespace Utils {

LogStamp CurrentLogStamp() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {GetCurrentProcessId(), GetCurrentThreadId(), t.wYear,  t.wMonth,       t.wDay,
          t.wHour,               t.wMinute,            t.wSecond, t.wMilliseconds};
}

namespace detail {
void DebugOutput(const wchar_t* line) { OutputDebugStringW(line); }
}  // namespace detail

}  // namespace Utils
