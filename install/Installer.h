// CInstaller: the setup runner. Runs the downloaded setup package hidden, with the switches that carry
// the user's choices, on its own worker, and turns the package's line report into status events.
// Owned by the install orchestration; destroying it waits for a running package. Windows only.
#pragma once

#include <memory>
#include <string>

#include "app/Thread.h"
#include "install/ChildProcess.h"
#include "install/StatusCodes.h"

class CInstaller {
 public:
  CInstaller(StatusCallback callback, std::wstring packageCommand, std::wstring installFolder, bool desktop,
             bool quickLaunch, bool adminact);
  ~CInstaller();
  CInstaller(const CInstaller&) = delete;
  CInstaller& operator=(const CInstaller&) = delete;

  // Runs the package once more on a new worker (after the previous run has ended); returns at once.
  void Start();
  // One chunk of decoded report text -> its events; returns the verdict (0, 1 or 1000).
  int32_t Parse(const std::wstring& text);

  // The package's command line for the current settings.
  std::wstring BuildCommandLine() const;

  // Set by the orchestration before a start.
  std::wstring m_InstallFolder;
  bool m_QuickLaunch;
  bool m_Desktop;
  bool m_Adminact;
  bool m_Authorizationact = true;
  std::wstring m_InstallLanguage;

 private:
  uint32_t Run();

  StatusCallback callback_;
  std::wstring packageCommand_;
  std::wstring commandLine_;
  int32_t codePage_ = 0;  // survives into later runs
  std::unique_ptr<Utils::Thread> worker_;
  std::unique_ptr<Utils::ChildProcess> child_;
};
