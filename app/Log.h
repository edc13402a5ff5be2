// Diagnostic log: one line per statement to the debugger output stream, each with a fixed prefix
// (process, thread, local time, function, source line). Every component writes through ZLOG;
// the -log=<path> switch also appends each line, UTF-8, to a file.
#pragma once

#include <cstdint>
#include <string>

namespace Utils {

// Formats with wide printf rules (a wide string argument is written %ls) and writes the result to the
// debugger output and, when one is open, the log file. Never throws; a line that cannot be made is dropped.
void WriteLog(const wchar_t* format, ...);

// Appends every later line to this file as UTF-8 (an empty path stops it). Returns false when the
// file cannot be opened.
bool SetLogFile(const std::wstring& path);

struct LogStamp {
  unsigned long pid, tid;
  int year, month, day, hour, minute, second, millisecond;
};
LogStamp CurrentLogStamp();

// "void Utils::Thread::CallBack(void*)" -> "Utils::Thread::CallBack"
std::string QualifiedFunctionName(const char* prettyFunction);

}  // namespace Utils

#define ZLOG_PREFIX L"<P%05lu><T%05lu><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: "

// ZLOG(L"downloaded %ls\r\n", path.c_str()): the format must be a literal; it is joined to the prefix.
#define ZLOG(format, ...)                                                                              \
  do {                                                                                                 \
    static const std::string zlog_function_ = ::Utils::QualifiedFunctionName(__PRETTY_FUNCTION__);     \
    const ::Utils::LogStamp zlog_stamp_ = ::Utils::CurrentLogStamp();                                  \
    ::Utils::WriteLog(ZLOG_PREFIX format, zlog_stamp_.pid, zlog_stamp_.tid, zlog_stamp_.year,          \
                      zlog_stamp_.month, zlog_stamp_.day, zlog_stamp_.hour, zlog_stamp_.minute,        \
                      zlog_stamp_.second, zlog_stamp_.millisecond, zlog_function_.c_str(),             \
                      static_cast<int>(__LINE__) __VA_OPT__(, ) __VA_ARGS__);                          \
  } while (0)
