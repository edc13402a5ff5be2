// Helpers for tests that drive real Windows programs: a scratch folder, running a program and
// waiting for its exit code, reading the UTF-8 log file the installer writes with -log=.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/TextConvert.h"

namespace testsupport {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const std::wstring& tag) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::filesystem::path(temp) / (tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                           std::to_wstring(GetTickCount64()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The folder of this test program; the installer and the other built programs are beside it.
inline std::filesystem::path BinDir() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path();
}

// Runs a command line and returns the exit code; fails the test's expectations with -2 on time-out.
inline long RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -3;
  CloseHandle(pi.hThread);
  long code = -2;
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    DWORD exit = 0;
    GetExitCodeProcess(pi.hProcess, &exit);
    code = static_cast<long>(static_cast<int32_t>(exit));
  } else {
    TerminateProcess(pi.hProcess, 1);
  }
  CloseHandle(pi.hProcess);
  return code;
}

inline std::wstring ReadUtf8File(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return Utils::FromUtf8(s.str());
}

// The message parts (after the prefix's ": ") of every log line, line ends removed.
inline std::vector<std::wstring> LogMessages(const std::filesystem::path& path) {
  std::vector<std::wstring> messages;
  std::wistringstream in(ReadUtf8File(path));
  std::wstring line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    const size_t at = line.find(L">: ");
    if (at != std::wstring::npos) messages.push_back(line.substr(at + 3));
  }
  return messages;
}

}  // namespace testsupport
