#include "app/Thread.h"

#include "app/Log.h"

namespace Utils {
namespace {

constexpr DWORD kSetThreadNameException = 0x406D1388;

// A debugger that knows the naming exception takes it at first chance; without one, this handler
// dismisses it so that naming never disturbs the program. (MinGW has no __try to catch it in place.)
LONG CALLBACK DismissThreadNameException(EXCEPTION_POINTERS* info) {
  return info->ExceptionRecord->ExceptionCode == kSetThreadNameException ? EXCEPTION_CONTINUE_EXECUTION
                                                                         : EXCEPTION_CONTINUE_SEARCH;
}

#pragma pack(push, 8)
struct ThreadNameInfo {
  DWORD type;         // 0x1000
  LPCSTR name;        // in the ANSI code page
  DWORD threadId;
  DWORD flags;        // 0
};
#pragma pack(pop)

}  // namespace

Thread::Thread(Body body, void* argument, std::wstring name)
    : body_(std::move(body)), argument_(argument), name_(std::move(name)) {
  handle_ = CreateThread(nullptr, 0, &Thread::CallBack, this, CREATE_SUSPENDED, &id_);
  if (handle_ == nullptr) {
    id_ = static_cast<DWORD>(-1);
    return;
  }
  NameForDebugger();
}

Thread::~Thread() {
  Join();
  name_.clear();
  body_ = nullptr;
}

void Thread::Resume() {
  if (handle_ != nullptr) ResumeThread(handle_);
}

void Thread::Join() {
  if (handle_ == nullptr) return;
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(handle_);
  handle_ = nullptr;
  id_ = static_cast<DWORD>(-1);
}

void Thread::NameForDebugger() {
  std::string ansi;
  if (name_.empty()) {
    ansi = "t";
    ansi += std::to_string(id_);  // (not "t" + ...: GCC 12 warns falsely about that at -O3)
  } else {
    const int n = WideCharToMultiByte(CP_ACP, 0, name_.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n > 0) {
      ansi.resize(static_cast<size_t>(n));
      WideCharToMultiByte(CP_ACP, 0, name_.c_str(), -1, ansi.data(), n, nullptr, nullptr);
      ansi.resize(static_cast<size_t>(n - 1));
    }
  }
  static const PVOID handler = AddVectoredExceptionHandler(0, &DismissThreadNameException);
  if (handler == nullptr) return;
  ThreadNameInfo info{0x1000, ansi.c_str(), id_, 0};
  RaiseException(kSetThreadNameException, 0, sizeof(info) / sizeof(ULONG_PTR),
                 reinterpret_cast<const ULONG_PTR*>(&info));
}

DWORD WINAPI Thread::CallBack(LPVOID self) {
  auto* thread = static_cast<Thread*>(self);
  ZLOG(L"THREAD BEGIN\r\n");
  thread->body_(thread->argument_);
  ZLOG(L"THREAD END\r\n");
  return 0;
}

}  // namespace Utils
