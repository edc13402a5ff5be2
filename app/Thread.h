// Utils::Thread: the wrapper every long-running worker of the installer runs on (downloaders, runners,
// the connectivity check). Created suspended; the owner resumes it after storing the wrapper, and
// destroying the wrapper waits for the thread. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace Utils {

class Thread {
 public:
  using Body = std::function<uint32_t(void*)>;

  Thread(Body body, void* argument, std::wstring name);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Null when the thread could not be created.
  HANDLE Handle() const { return handle_; }
  DWORD Id() const { return id_; }
  // Resumes a thread created suspended; does nothing without a thread.
  void Resume();
  // Waits for the thread without limit and forgets it; does nothing without a thread.
  void Join();

 private:
  static DWORD WINAPI CallBack(LPVOID self);
  void NameForDebugger();

  DWORD id_ = static_cast<DWORD>(-1);
  HANDLE handle_ = nullptr;
  Body body_;
  void* argument_;
  std::wstring name_;
};

}  // namespace Utils
