// Keeps a second installer from running: the entry point holds a named mutex for the whole run.
// Windows only.
#pragma once

#include <windows.h>

#include <string>

class SingleInstanceGuard {
 public:
  explicit SingleInstanceGuard(std::wstring name) : name_(std::move(name)) {}
  ~SingleInstanceGuard() { Release(); }
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  // Creates and owns the mutex; afterwards Owned() tells whether this process is the only instance.
  void Acquire();
  void Release();
  bool Owned() const { return handle_ != nullptr; }

 private:
  std::wstring name_;
  HANDLE handle_ = nullptr;
};

// "D1A547DB89C0BC61_Installer_Zavix"
extern const wchar_t* const kInstallerMutexName;
