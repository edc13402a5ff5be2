// Runs the real ZavixInstaller.exe with settings files and command lines and reads its log.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/InstallerSettings.h"
#include "app/SingleInstanceGuard.h"
#include "tests/support/WinTestSupport.h"

namespace {

struct InstallerResult {
  long exitCode;
  std::vector<std::wstring> log;
};

// iniText == nullptr: no settings file at all.
InstallerResult RunInstaller(const wchar_t* iniText, const std::wstring& switches) {
  testsupport::ScratchDir dir(L"installer");
  const auto exe = dir.path() / L"ZavixInstaller.exe";
  std::filesystem::copy_file(testsupport::BinDir() / L"ZavixInstaller.exe", exe);
  if (iniText != nullptr) {
    // UTF-16 with a byte-order mark, so any text survives the system's profile reader
    std::ofstream ini(dir.path() / L"BrellInstallerConfig.ini", std::ios::binary);
    const std::wstring text = std::wstring(L"\uFEFF") + iniText;
    for (wchar_t c : text) ini.put(static_cast<char>(c & 0xFF)).put(static_cast<char>(c >> 8));
  }
  const auto log = dir.path() / L"run.log";
  const long code = testsupport::RunProcess(L"\"" + exe.wstring() + L"\" \"-log=" + log.wstring() + L"\" " + switches);
  return {code, testsupport::LogMessages(log)};
}

std::wstring SettingsLine(const InstallerResult& run) {
  for (const auto& m : run.log) {
    if (m.rfind(L"settings: ", 0) == 0) return m;
  }
  return L"(no settings line)";
}

std::wstring Expected(const std::wstring& url, const wchar_t* rest) {
  return L"settings: DownloadUrl=" + url + L"; " + rest + L"; ExeFileName=ZavixInstaller.exe";
}

TEST(InstallerRun, SettingsFromFileAndCommandLine) {
  const std::wstring def = kDefaultDownloadUrl;
  const struct {
    const char* name;
    const wchar_t* ini;
    std::wstring switches;
    std::wstring settings;
  } cases[] = {
      {"no file, no switches", nullptr, L"",
       Expected(def, L"DownloadType=1; DownloadScale=0.7; IsCheckNet=false; IsEnableAppAnalytics=true; "
                     L"DlAppNameSuffix=.downloader; m_DlAppVersion=; InstCmd=; LanguageIndex=-1; InsNew=false")},
      {"empty section", L"[Install]\r\n", L"",
       Expected(def, L"DownloadType=1; DownloadScale=0.7; IsCheckNet=true; IsEnableAppAnalytics=true; "
                     L"DlAppNameSuffix=.downloader; m_DlAppVersion=; InstCmd=; LanguageIndex=-1; InsNew=false")},
      {"file values and their readers",
       L"[Install]\r\nDownloadUrl=http://127.0.0.1:1/software/598/\u5B89\u88C5.exe\r\nDownloadType=abc\r\n"
       L"IsCheckNet=True\r\nIsEnableAppAnalytics=false\r\nDlAppNameSuffix=.beta\r\nm_DlAppVersion=2.1\r\n"
       L"DownloadScale=  -0.25xyz\r\nInstCmd=/from-file\r\n",
       L"",
       Expected(L"http://127.0.0.1:1/software/598/\u5B89\u88C5.exe",
                L"DownloadType=0; DownloadScale=-0.25; IsCheckNet=false; IsEnableAppAnalytics=false; "
                L"DlAppNameSuffix=.beta; m_DlAppVersion=2.1; InstCmd=/from-file; LanguageIndex=-1; InsNew=false")},
      {"command line over file",
       L"[Install]\r\nDownloadType=2\r\nInstCmd=/from-file\r\nDownloadScale=0.5\r\nIsCheckNet=true\r\n",
       L"-downloadtype=3x -instcmd= -downloadscale=0.9 -ischecknet=false -language=4 -insnew=true "
       L"-downloadtype=1 -DownloadScale=0.1",
       Expected(def, L"DownloadType=3; DownloadScale=0.9; IsCheckNet=false; IsEnableAppAnalytics=true; "
                     L"DlAppNameSuffix=.downloader; m_DlAppVersion=; InstCmd=; LanguageIndex=4; InsNew=true")},
      {"quoting, '=' in values, bare switches",
       nullptr,
       L"\"-downloadurl=http://h/get?a=1&b=2\" -instcmd=\"/S /lang=zh\" -insnew -downloadtype=x "
       L"\"-dlappnamesuffix=.with blank\" -isenableappanalytics=TRUE",
       Expected(L"http://h/get?a=1&b=2",
                L"DownloadType=0; DownloadScale=0.7; IsCheckNet=false; IsEnableAppAnalytics=false; "
                L"DlAppNameSuffix=.with blank; m_DlAppVersion=; InstCmd=/S /lang=zh; LanguageIndex=-1; InsNew=false")},
      {"route placeholder (the test prefix is Windows 7)", nullptr,
       L"-downloadurl=http://h/${ROUTE}/a/${ROUTE}/b",
       Expected(L"http://h/download_silent/a/download_silent/b",
                L"DownloadType=1; DownloadScale=0.7; IsCheckNet=false; IsEnableAppAnalytics=true; "
                L"DlAppNameSuffix=.downloader; m_DlAppVersion=; InstCmd=; LanguageIndex=-1; InsNew=false")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const InstallerResult run = RunInstaller(c.ini, c.switches);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(c.settings, SettingsLine(run));
  }
}

TEST(InstallerRun, SecondInstanceExitsMinusOneUntilTheFirstHasGone) {
  HANDLE held = CreateMutexW(nullptr, TRUE, kInstallerMutexName);
  ASSERT_NE(nullptr, held);
  ASSERT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
  const InstallerResult refused = RunInstaller(nullptr, L"");
  EXPECT_EQ(-1, refused.exitCode);
  EXPECT_EQ(L"(no settings line)", SettingsLine(refused)) << "a refused start goes no further";

  ReleaseMutex(held);
  CloseHandle(held);
  const InstallerResult next = RunInstaller(nullptr, L"");
  EXPECT_EQ(0, next.exitCode);
  EXPECT_NE(L"(no settings line)", SettingsLine(next));
}

}  // namespace
