// Utils::ChildProcess: a hidden child process whose standard output comes back through a pipe; the
// setup runner and the uninstall runner start their packages with it. ReadReport reads that output
// as line report. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Utils {

class ChildProcess {
 public:
  // What CreateProcess accepts; a longer command line is refused rather than cut.
  static constexpr size_t kMaxCommandLine = 32767;

  ChildProcess() = default;
  ~ChildProcess() { Close(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the command line hidden, standard output into a pipe. Standard input and error are the
  // null device: a child can neither wait for input nor stall on a full error pipe. Throws
  // Utils::Exception when the pipe or the process cannot be created.
  void Launch(const std::wstring& commandLine);
  HANDLE Process() const { return process_; }
  HANDLE Output() const { return outputRead_; }
  // Waits without limit for the child to end.
  void Wait() const;
  void Close();

 private:
  HANDLE outputRead_ = nullptr;
  HANDLE outputWrite_ = nullptr;
  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
};

// Decodes report bytes from a code page (0: the system's ANSI code page); undecodable text gives "".
std::wstring DecodeCodePage(int32_t codePage, std::string_view bytes);

// Starts the command line as `child`, reads its output as report lines until it has ended and what it
// wrote last has been read, waits for it and releases it. Each line (without "\n") goes to onLine,
// which returns the line's verdict. With stopAtVerdict, no line after a read that brought a verdict
// reaches onLine; the rest of the output is still read and discarded, so the child never blocks on a
// full pipe. Returns the last verdict seen, or nothing when the child could not be started.
std::optional<int32_t> RunReportingChild(std::unique_ptr<ChildProcess>& child, const std::wstring& commandLine,
                                         const std::function<int32_t(std::string_view line)>& onLine,
                                         bool stopAtVerdict);

}  // namespace Utils
