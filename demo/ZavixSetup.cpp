// The demo setup package: installs Zavix.exe and its uninstaller (as uninst.ep) into the folder given
// by "/D=" (or -instdir=), makes the shortcuts asked for with -dsc=true and -ssc=true, and writes the
// report lines the installer reads. Extra switches for tests: -demo-fast (no pauses), -demo-fail,
// -demo-error, -demo-encode=936 (report in code page 936), -demo-split (lines in pieces),
// -demo-stderr=N (N bytes to standard error first).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "demo/DemoCommon.h"
#include "demo/DemoPayload.h"

namespace {

struct Options {
  std::wstring folder;
  bool desktop, quickLaunch, fast, fail, error, split;
  UINT codePage;
  DWORD stderrBytes;
};

Options ReadOptions() {
  const std::wstring args = demo::Arguments();
  Options o{};
  o.folder = demo::Switch(args, L"/D=", true);
  if (o.folder.empty()) o.folder = demo::Switch(args, L"-instdir=");
  if (o.folder.empty()) o.folder = demo::FolderPath(CSIDL_PROGRAM_FILES) + L"\\Zavix";
  while (!o.folder.empty() && (o.folder.back() == L'\\' || o.folder.back() == L' ')) o.folder.pop_back();
  o.desktop = demo::Switch(args, L"-dsc=") == L"true";
  o.quickLaunch = demo::Switch(args, L"-ssc=") == L"true";
  o.fast = demo::HasSwitch(args, L"-demo-fast");
  o.fail = demo::HasSwitch(args, L"-demo-fail");
  o.error = demo::HasSwitch(args, L"-demo-error");
  o.split = demo::HasSwitch(args, L"-demo-split");
  o.codePage = demo::Switch(args, L"-demo-encode=") == L"936" ? 936 : CP_UTF8;
  o.stderrBytes = static_cast<DWORD>(_wtoi(demo::Switch(args, L"-demo-stderr=").c_str()));
  return o;
}

class Reporter {
 public:
  explicit Reporter(const Options& o) : o_(o) {
    Line(o.codePage == CP_UTF8 ? L"Encode=UTF8" : L"Encode=936");
  }
  void Line(const std::wstring& text) {
    const std::string bytes = demo::ToCodePage(text + L"\r\n", o_.codePage);
    if (!o_.split) {
      demo::WriteBytes(STD_OUTPUT_HANDLE, bytes);
      return;
    }
    // three pieces with pauses between them, so the reader sees them in separate reads
    const size_t third = bytes.size() / 3 + 1;
    for (size_t at = 0; at < bytes.size(); at += third) {
      demo::WriteBytes(STD_OUTPUT_HANDLE, std::string_view(bytes).substr(at, third));
      Sleep(150);
    }
  }
  void Progress(double fraction) {
    wchar_t text[64];
    swprintf(text, 64, L"Progress=%.2f", fraction);
    Line(text);
    if (!o_.fast) Sleep(400);
  }

 private:
  const Options& o_;
};

bool WriteResource(int id, const std::wstring& path) {
  HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (res == nullptr) return false;
  HGLOBAL data = LoadResource(nullptr, res);
  const DWORD size = SizeofResource(nullptr, res);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, LockResource(data), size, &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

bool MakeShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& folder) {
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shellLink)))) {
    return false;
  }
  shellLink->SetPath(target.c_str());
  shellLink->SetWorkingDirectory(folder.c_str());
  shellLink->SetDescription(L"Zavix");
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  if (ok) {
    ok = SUCCEEDED(file->Save(link.c_str(), TRUE));
    file->Release();
  }
  shellLink->Release();
  return ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const Options o = ReadOptions();
  if (o.stderrBytes > 0) demo::WriteBytes(STD_ERROR_HANDLE, std::string(o.stderrBytes, 'e'));
  Reporter report(o);
  report.Progress(0.05);
  if (o.fail) {
    report.Line(L"State=Fail");
    return 1;
  }
  if (o.error) {
    report.Line(L"Error=安装被测试选项中止 (stopped by a test option)");
    return 1;
  }

  const std::wstring exe = o.folder + L"\\Zavix.exe";
  const std::wstring uninstaller = o.folder + L"\\uninst.ep";
  SHCreateDirectoryExW(nullptr, o.folder.c_str(), nullptr);
  report.Progress(0.3);
  if (!WriteResource(kPayloadProduct, exe)) {
    report.Line(L"Error=Cannot write the install folder " + o.folder);
    return 2;
  }
  report.Progress(0.6);
  if (!WriteResource(kPayloadUninstaller, uninstaller)) {
    report.Line(L"Error=Cannot write the install folder " + o.folder);
    return 2;
  }
  report.Progress(0.8);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (o.desktop) MakeShortcut(demo::DesktopShortcut(), exe, o.folder);
  if (o.quickLaunch) {
    SHCreateDirectoryExW(nullptr, demo::QuickLaunchFolder().c_str(), nullptr);
    MakeShortcut(demo::QuickLaunchShortcut(), exe, o.folder);
  }
  CoUninitialize();
  report.Progress(1.0);
  report.Line(L"InstPath=" + o.folder);
  report.Line(L"ExePath=" + exe);
  report.Line(L"UninstEp=" + uninstaller);
  report.Line(L"StartupStyle=UserStartup");
  report.Line(L"State=Success");
  return 0;
}
