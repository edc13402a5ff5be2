#include <gtest/gtest.h>

#include "app/InstallerSettings.h"
#include "install/Installer.h"

namespace {

TEST(SetupCommandLine, FlagsLanguageExtraSwitchesAndFolder) {
  const struct {
    bool admin, authorization, desktop, quickLaunch;
    const wchar_t* language;
    const wchar_t* instCmd;
    const wchar_t* folder;
    const wchar_t* expected;
  } cases[] = {
      {false, false, false, false, L"", L"", L"",
       L"\"P.exe\" /S -console=show -version=1.0.0 -adminact=false -authorizationact=false -dsc=false -ssc=false"},
      {true, true, true, true, L"", L"", L"C:\\Z",
       L"\"P.exe\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=true -dsc=true -ssc=true "
       L"-instdir=\"C:\\Z\" /D=C:\\Z"},
      {false, true, true, false, L"en", L"/extra \"a b\"", L"",
       L"\"P.exe\" /S -console=show -version=1.0.0 -adminact=false -authorizationact=true -dsc=true -ssc=false "
       L"-inslang=\"en\" /extra \"a b\""},
      {true, false, false, true, L"", L"-x", L"D:\\Program Files\\Zavix",
       L"\"P.exe\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=false -dsc=false -ssc=true -x "
       L"-instdir=\"D:\\Program Files\\Zavix\" /D=D:\\Program Files\\Zavix"},
  };
  for (const auto& c : cases) {
    CInstaller installer([](int32_t, double, const wchar_t*) {}, L"\"P.exe\"", c.folder, c.desktop, c.quickLaunch,
                         c.admin);
    installer.m_Authorizationact = c.authorization;
    installer.m_InstallLanguage = c.language;
    g_Settings.InstCmd = c.instCmd;
    EXPECT_EQ(c.expected, installer.BuildCommandLine());
  }
  g_Settings.InstCmd.clear();
}

}  // namespace
