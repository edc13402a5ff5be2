// The demo uninstaller (installed as uninst.ep): removes what the demo setup package installed from the
// folder given by "_?=" (the last item), and reports progress and the outcome; refuses while Zavix runs.
#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "demo/DemoCommon.h"

namespace {

bool ProductRuns() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok && !found; ok = Process32NextW(snapshot, &entry)) {
    found = lstrcmpiW(entry.szExeFile, L"Zavix.exe") == 0;
  }
  CloseHandle(snapshot);
  return found;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring folder = demo::Switch(demo::Arguments(), L"_?=", true);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L' ')) folder.pop_back();
  demo::Report(L"Encode=UTF8");
  if (folder.empty()) {
    demo::Report(L"Error=No install folder given (_?=)");
    return 2;
  }
  if (ProductRuns()) {
    demo::Report(L"Error=Zavix is running. Close it and try again.");
    return 1;
  }
  demo::Report(L"Progress=0.2");
  DeleteFileW((folder + L"\\Zavix.exe").c_str());
  demo::Report(L"Progress=0.5");
  DeleteFileW(demo::DesktopShortcut().c_str());
  DeleteFileW(demo::QuickLaunchShortcut().c_str());
  demo::Report(L"Progress=0.8");
  DeleteFileW((folder + L"\\uninst.ep").c_str());
  RemoveDirectoryW(folder.c_str());  // only when nothing else is left in it
  demo::Report(L"Progress=1");
  demo::Report(L"State=Success");
  return 0;
}
