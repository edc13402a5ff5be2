// The setup and uninstall runners against real child processes: a scripted stand-in (report_child.exe)
// and the demo setup package with its uninstaller.
#include <gtest/gtest.h>

#include "app/InstallerSettings.h"
#include "demo/DemoCommon.h"
#include "install/Installer.h"
#include "install/Uninstaller.h"
#include "tests/support/StatusEvents.h"
#include "tests/support/WinTestSupport.h"

namespace {

using testsupport::Event;
using Events = testsupport::EventCollector;

// report_child.exe copied to `path` with these steps.
void ScriptedChild(const std::filesystem::path& path, const std::string& steps) {
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::copy_file(testsupport::BinDir() / L"report_child.exe", path,
                             std::filesystem::copy_options::overwrite_existing);
  std::ofstream(std::filesystem::path(path.wstring() + L".steps"), std::ios::binary) << steps;
}

std::wstring RecordedCommandLine(const std::filesystem::path& child) {
  return testsupport::ReadUtf8File(child.wstring() + L".cmdline");
}

std::vector<Event> RunPackage(const std::string& steps) {
  testsupport::ScratchDir dir(L"runner");
  const auto package = dir.path() / L"__Package_Zavix.exe";
  ScriptedChild(package, steps);
  Events events;
  {
    CInstaller installer(events.Callback(), L"\"" + package.wstring() + L"\"", L"", false, false, false);
    installer.Start();
    events.WaitFor({IST_CODE_SUCCESS, IST_CODE_FAIL});
  }
  return events.All();
}

const Event kStart{IST_CODE_START, 0, L""};
const Event kZero{IST_CODE_PROGRESS, 0, L""};

TEST(SetupRunner, ReportedEventSequences) {
  const struct {
    const char* name;
    std::string steps;
    std::vector<Event> events;
  } cases[] = {
      {"progress then success", "out Progress=0.5\\r\\n\nsleep 200\nout State=Success\\r\\n\n",
       {kStart, kZero, {IST_CODE_PROGRESS, 0.5, L""}, {IST_CODE_SUCCESS, 0, L""}}},
      {"silent, exit code 3", "exit 3\n", {kStart, kZero, {IST_CODE_SUCCESS, 1, L""}}},
      {"error then success in one chunk", "out Error=no room\\r\\nState=Success\\r\\n\n",
       {kStart, kZero, {IST_CODE_FAIL, 1000, L"no room\r"}, {IST_CODE_SUCCESS, 0, L""}}},
      {"reported failure", "out State=Fail\\n\n", {kStart, kZero, {IST_CODE_FAIL, 0, L"安装包安装失败"}}},
      {"code page 936", "out Encode=936\\r\\nMessage=\\xD6\\xD0\\xCE\\xC4\\r\\n\n",
       {kStart, kZero, {IST_CODE_MESSAGE, 0, L"中文\r"}, {IST_CODE_SUCCESS, 1, L""}}},
      {"UTF-8, line split across writes", "out Encode=UTF8\\nInstPath=C:\\\\\\xE5\\xAE\nsleep 300\nout \\x89\\xE8\\xA3\\x85\\n\n",
       {kStart, kZero, {IST_CODE_INSTPATH, 0, L"C:\\安装"}, {IST_CODE_SUCCESS, 1, L""}}},
      {"last line without a line end, written just before exit", "sleep 200\nout State=Success\nexit 0\n",
       {kStart, kZero, {IST_CODE_SUCCESS, 0, L""}}},
      {"a flood on standard error", "err 1048576\nout State=Success\\n\n",
       {kStart, kZero, {IST_CODE_SUCCESS, 0, L""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.events, RunPackage(c.steps));
  }
}

TEST(SetupRunner, AProgramThatInheritedThePipeDoesNotHoldTheRunnerUp) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ((std::vector<Event>{kStart, kZero, {IST_CODE_SUCCESS, 1, L""}}), RunPackage("hold 4000\nexit 0\n"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
}

TEST(SetupRunner, PackageThatCannotStart) {
  Events events;
  {
    CInstaller installer(events.Callback(), L"\"C:\\no\\such\\package.exe\"", L"", false, false, false);
    installer.Start();
    events.WaitFor({IST_CODE_SUCCESS, IST_CODE_FAIL});
  }
  EXPECT_EQ((std::vector<Event>{kStart, kZero, {IST_CODE_FAIL, 2, L""}}), events.All());
}

TEST(SetupRunner, DestroyingTheRunnerWaitsForThePackageAndLosesNoEvent) {
  testsupport::ScratchDir dir(L"runner");
  const auto package = dir.path() / L"slow.exe";
  ScriptedChild(package, "sleep 1000\nout Progress=1\\nState=Success\\n\n");
  Events events;
  {
    CInstaller installer(events.Callback(), L"\"" + package.wstring() + L"\"", L"", false, false, false);
    installer.Start();
  }
  EXPECT_EQ((std::vector<Event>{kStart, kZero, {IST_CODE_PROGRESS, 1, L""}, {IST_CODE_SUCCESS, 0, L""}}),
            events.All());
}

TEST(SetupRunner, ThePackageReceivesTheCommandLine) {
  testsupport::ScratchDir dir(L"runner");
  const auto package = dir.path() / L"pkg dir" / L"__Package_Zavix.exe";
  ScriptedChild(package, "");
  g_Settings.InstCmd = L"-demo-fast";
  Events events;
  {
    CInstaller installer(events.Callback(), L"\"" + package.wstring() + L"\"", L"D:\\Apps\\Za vix", true, false, true);
    installer.m_InstallLanguage = L"zh-CN";
    installer.Start();
    events.WaitFor({IST_CODE_SUCCESS, IST_CODE_FAIL});
  }
  g_Settings.InstCmd.clear();
  EXPECT_EQ(L"\"" + package.wstring() +
                L"\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=true -dsc=true -ssc=false "
                L"-inslang=\"zh-CN\" -demo-fast -instdir=\"D:\\Apps\\Za vix\" /D=D:\\Apps\\Za vix",
            RecordedCommandLine(package));
}

std::vector<Event> RunUninstaller(const std::filesystem::path& copy, const std::wstring& folder) {
  Events events;
  {
    CUninstaller uninstaller(events.Callback(), copy.wstring(), folder);
    uninstaller.Start();
    events.WaitFor({UNIST_CODE_SUCCESS, UNIST_CODE_FAIL, UNIST_CODE_ERROR});
  }
  return events.All();
}

TEST(UninstallRunner, ReportedEventSequences) {
  const Event zero{UNIST_CODE_PROGRESS, 0, L""};
  const struct {
    const char* name;
    std::string steps;
    std::vector<Event> events;
  } cases[] = {
      {"success then more progress", "out State=Success\\r\\n\nsleep 200\nout Progress=0.9\\r\\nProgress=1\\r\\n\n",
       {zero, {UNIST_CODE_SUCCESS, 0, L""}, {UNIST_CODE_PROGRESS, 0.9, L""}, {UNIST_CODE_PROGRESS, 1, L""}}},
      {"silent", "", {zero, {UNIST_CODE_SUCCESS, 1, L""}}},
      {"error, written just before exit", "out Error=Zavix is running\nexit 1\n",
       {zero, {UNIST_CODE_ERROR, 0, L"Zavix is running"}}},
      {"reported failure", "out State=Fail\\n\n", {zero, {UNIST_CODE_ERROR, 0, L"安装包卸载失败"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ScratchDir dir(L"uninstall");
    const auto copy = dir.path() / L"Zavix_un_asa.exe";
    ScriptedChild(copy, c.steps);
    EXPECT_EQ(c.events, RunUninstaller(copy, L"C:\\Zavix"));
  }
}

TEST(UninstallRunner, MissingCopy) {
  EXPECT_EQ((std::vector<Event>{{UNIST_CODE_FAIL, 1, L"可执行卸载文件不存在"}}),
            RunUninstaller(L"C:\\no\\such\\Zavix_un_asa.exe", L"C:\\Zavix"));
  EXPECT_EQ((std::vector<Event>{{UNIST_CODE_FAIL, 1, L"可执行卸载文件不存在"}}), RunUninstaller(L"", L"C:\\Zavix"));
}

TEST(UninstallRunner, TemporaryFolderWithABlankStartsExactlyTheCopy) {
  testsupport::ScratchDir dir(L"uninstall");
  const auto copy = dir.path() / L"with blank" / L"Zavix_un_asa.exe";
  ScriptedChild(copy, "out State=Success\\n\n");
  // what an unquoted command line would start instead
  ScriptedChild(dir.path() / L"with.exe", "out State=Fail\\n\n");
  EXPECT_EQ((std::vector<Event>{{UNIST_CODE_PROGRESS, 0, L""}, {UNIST_CODE_SUCCESS, 0, L""}}),
            RunUninstaller(copy, L"C:\\Program Files\\Zavix"));
  EXPECT_EQ(L"\"" + copy.wstring() + L"\" /S -adminact=false -authorizationact=true -console=show "
                                     L"_?=C:\\Program Files\\Zavix",
            RecordedCommandLine(copy));
}

TEST(UninstallRunner, RemovalFolder) {
  const std::wstring folder = RemovalFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.ends_with(L"\\~BrellTemp.92482B06FB471E17\\")) << Utils::ToUtf8(folder);
  EXPECT_TRUE(std::filesystem::is_directory(folder));

  // a temporary folder below a file: the removal folder cannot be made
  testsupport::ScratchDir dir(L"tmp");
  std::ofstream(dir.path() / L"file") << "x";
  wchar_t saved[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
  SetEnvironmentVariableW(L"TMP", (dir.path() / L"file").c_str());
  const std::wstring none = RemovalFolder();
  SetEnvironmentVariableW(L"TMP", n ? saved : nullptr);
  EXPECT_EQ(L"", none);
}

TEST(DemoPackage, InstallsWithShortcutsAndItsUninstallerRemovesEverything) {
  testsupport::ScratchDir dir(L"demo");
  const std::wstring folder = (dir.path() / L"Program Files" / L"Zavix 演示").wstring();
  const std::wstring desktop = demo::DesktopShortcut(), quickLaunch = demo::QuickLaunchShortcut();
  std::filesystem::remove(desktop);
  std::filesystem::remove(quickLaunch);

  g_Settings.InstCmd = L"-demo-fast -demo-encode=936 -demo-split -demo-stderr=1048576";
  Events events;
  {
    CInstaller installer(events.Callback(), L"\"" + (testsupport::BinDir() / L"ZavixSetup.exe").wstring() + L"\"",
                         folder, true, true, false);
    installer.Start();
    events.WaitFor({IST_CODE_SUCCESS, IST_CODE_FAIL});
  }
  g_Settings.InstCmd.clear();
  const std::vector<Event> all = events.All();
  auto has = [&](const Event& e) { return std::find(all.begin(), all.end(), e) != all.end(); };
  EXPECT_TRUE(has({IST_CODE_INSTPATH, 0, folder + L"\r"}));
  EXPECT_TRUE(has({IST_CODE_EXEPATH, 0, folder + L"\\Zavix.exe\r"}));
  EXPECT_TRUE(has({IST_CODE_UNINSTEP, 0, folder + L"\\uninst.ep\r"}));
  EXPECT_TRUE(has({IST_CODE_STARTUPSTYLE, 2, L""}));
  EXPECT_EQ((Event{IST_CODE_SUCCESS, 0, L""}), all.back());
  EXPECT_TRUE(std::filesystem::exists(folder + L"\\Zavix.exe"));
  EXPECT_TRUE(std::filesystem::exists(desktop));
  EXPECT_TRUE(std::filesystem::exists(quickLaunch));

  const std::wstring removal = RemovalFolder();
  const std::wstring copy = removal + L"\\Zavix_un_asa.exe";
  ASSERT_TRUE(CopyFileW((folder + L"\\uninst.ep").c_str(), copy.c_str(), FALSE));
  const std::vector<Event> removed = RunUninstaller(copy, folder);
  EXPECT_EQ((Event{UNIST_CODE_SUCCESS, 0, L""}), removed.back());
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_FALSE(std::filesystem::exists(desktop));
  EXPECT_FALSE(std::filesystem::exists(quickLaunch));
}

TEST(DemoPackage, UnwritableFolderIsReportedAsError) {
  testsupport::ScratchDir dir(L"demo");
  std::ofstream(dir.path() / L"blocked") << "a file where the folder should be";
  const std::wstring folder = (dir.path() / L"blocked").wstring();
  g_Settings.InstCmd = L"-demo-fast";
  Events events;
  {
    CInstaller installer(events.Callback(), L"\"" + (testsupport::BinDir() / L"ZavixSetup.exe").wstring() + L"\"",
                         folder, false, false, false);
    installer.Start();
    events.WaitFor({IST_CODE_SUCCESS, IST_CODE_FAIL});
  }
  g_Settings.InstCmd.clear();
  EXPECT_EQ((Event{IST_CODE_FAIL, 1000, L"Cannot write the install folder " + folder + L"\r"}), events.All().back());
}

}  // namespace
