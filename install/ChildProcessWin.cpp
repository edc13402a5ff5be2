#include "install/ChildProcess.h"

#include <algorithm>

#include "app/Exception.h"
#include "app/Log.h"
#include "install/ReportParser.h"

namespace Utils {
namespace {

void CloseIfOpen(HANDLE& h) {
  if (h != nullptr && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  h = nullptr;
}

HANDLE OpenNullDevice(DWORD access) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

void ChildProcess::Launch(const std::wstring& commandLine) {
  Close();
  if (commandLine.size() > kMaxCommandLine) {
    ZLOG(L"command line of %zu characters refused\r\n", commandLine.size());
    throw Exception();
  }
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  if (!CreatePipe(&outputRead_, &outputWrite_, &sa, 0)) {
    ZLOG(L"CreatePipe failed: %lu\r\n", GetLastError());
    Close();
    throw Exception();
  }
  SetHandleInformation(outputRead_, HANDLE_FLAG_INHERIT, 0);
  HANDLE nullIn = OpenNullDevice(GENERIC_READ);
  HANDLE nullErr = OpenNullDevice(GENERIC_WRITE);

  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = outputWrite_;
  si.hStdError = nullErr;
  si.hStdInput = nullIn;
  PROCESS_INFORMATION pi{};
  std::wstring buffer = commandLine;  // CreateProcessW may write into it
  const BOOL created = CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  const DWORD error = GetLastError();
  CloseIfOpen(nullIn);
  CloseIfOpen(nullErr);
  // The child's end: once the child has gone, reads see the end of the pipe.
  CloseIfOpen(outputWrite_);
  if (!created) {
    ZLOG(L"CreateProcess failed: %lu\r\n", error);
    Close();
    throw Exception();
  }
  process_ = pi.hProcess;
  thread_ = pi.hThread;
  processId_ = pi.dwProcessId;
  threadId_ = pi.dwThreadId;
}

void ChildProcess::Wait() const {
  if (process_ != nullptr) WaitForSingleObject(process_, INFINITE);
}

void ChildProcess::Close() {
  CloseIfOpen(thread_);
  CloseIfOpen(process_);
  CloseIfOpen(outputRead_);
  CloseIfOpen(outputWrite_);
  processId_ = threadId_ = 0;
}

std::wstring DecodeCodePage(int32_t codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const UINT page = codePage == 0 ? CP_ACP : static_cast<UINT>(codePage);
  const int n = MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

namespace {

int32_t ReadReport(ChildProcess& child, const std::function<int32_t(std::string_view)>& onLine,
                   bool stopAtVerdict) {
  ReportLineAssembler lines;
  int32_t verdict = kVerdictNone;
  bool stopped = false;
  auto handle = [&](std::string_view line) {
    if (stopped) return;
    const int32_t v = onLine(line);
    if (v != kVerdictNone) verdict = v;
  };
  char buffer[1024];
  bool ended = false;
  // Polling the pipe instead of blocking in ReadFile: a program the child started may have inherited
  // the pipe and keep it open long after the child has gone.
  for (;;) {
    DWORD available = 0;
    const bool open = PeekNamedPipe(child.Output(), nullptr, 0, nullptr, &available, nullptr) != FALSE;
    if (open && available > 0) {
      DWORD got = 0;
      if (!ReadFile(child.Output(), buffer, std::min<DWORD>(available, sizeof(buffer)), &got, nullptr)) break;
      std::string bytes(buffer, got);
      std::erase(bytes, '\0');
      lines.Feed(bytes, handle);
      if (stopAtVerdict && verdict != kVerdictNone) stopped = true;
      continue;
    }
    if (ended || !open) break;
    // the pass after the child has ended reads what it wrote last
    ended = WaitForSingleObject(child.Process(), 100) == WAIT_OBJECT_0;
  }
  lines.Finish(handle);
  return verdict;
}

}  // namespace

std::optional<int32_t> RunReportingChild(std::unique_ptr<ChildProcess>& child, const std::wstring& commandLine,
                                         const std::function<int32_t(std::string_view)>& onLine,
                                         bool stopAtVerdict) {
  child = std::make_unique<ChildProcess>();
  try {
    child->Launch(commandLine);
  } catch (const Exception&) {
    child.reset();
    return std::nullopt;
  }
  const int32_t verdict = ReadReport(*child, onLine, stopAtVerdict);
  child->Wait();
  child.reset();
  return verdict;
}

}  // namespace Utils
