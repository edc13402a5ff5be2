// CUninstaller: the uninstall runner. Runs the copy of the earlier version's uninstaller hidden on its
// worker "UnInstaller" and turns its line report into status events; the orchestration starts the
// download when it reports success. Destroying it waits for a running uninstaller. Windows only.
#pragma once

#include <memory>
#include <string>

#include "app/Thread.h"
#include "install/ChildProcess.h"
#include "install/StatusCodes.h"

class CUninstaller {
 public:
  CUninstaller(StatusCallback callback, std::wstring uninstaller, std::wstring earlierFolder);
  ~CUninstaller();
  CUninstaller(const CUninstaller&) = delete;
  CUninstaller& operator=(const CUninstaller&) = delete;

  // Builds the command line (running the privilege probes) and starts the worker; returns at once.
  void Start();
  int32_t Parse(const std::wstring& text);
  std::wstring BuildCommandLine() const;

 private:
  uint32_t Run();

  StatusCallback callback_;
  std::wstring commandLine_;
  std::wstring uninstaller_;
  std::wstring earlierFolder_;
  int32_t codePage_ = 0;
  std::unique_ptr<Utils::Thread> worker_;
  std::unique_ptr<Utils::ChildProcess> child_;
};

// The private folder the earlier uninstaller is copied to, created when missing: the user's temporary
// folder followed by "~BrellTemp.92482B06FB471E17\". Empty when it can be neither found nor made.
std::wstring RemovalFolder();
