#include "app/SingleInstanceGuard.h"

const wchar_t* const kInstallerMutexName = L"D1A547DB89C0BC61_Installer_Zavix";

void SingleInstanceGuard::Acquire() {
  Release();
  handle_ = CreateMutexW(nullptr, TRUE, name_.c_str());
  if (handle_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(handle_);
    handle_ = nullptr;
  }
}

void SingleInstanceGuard::Release() {
  if (handle_ == nullptr) return;
  ReleaseMutex(handle_);
  CloseHandle(handle_);
  handle_ = nullptr;
}
