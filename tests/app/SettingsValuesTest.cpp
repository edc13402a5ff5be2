#include <gtest/gtest.h>

#include "app/InstallerSettings.h"

namespace {

TEST(SettingsValues, BooleansAreTrueOnlyForLowerCaseTrue) {
  EXPECT_TRUE(Utils::ReadBoolText(L"true"));
  for (const wchar_t* text : {L"True", L"TRUE", L"1", L"yes", L"", L" true", L"true "}) {
    EXPECT_FALSE(Utils::ReadBoolText(text)) << text;
  }
}

TEST(SettingsValues, Integers) {
  const struct {
    const wchar_t* text;
    int32_t value;
  } cases[] = {
      {L"3", 3},          {L"3x", 3},           {L"x", 0},           {L"", 0},
      {L"  42", 42},      {L"\t-7", -7},        {L"+5", 5},          {L"- 5", 0},
      {L"2147483647", 2147483647}, {L"-2147483648", INT32_MIN}, {L"2147483648", 0}, {L"99999999999999999999", 0},
      {L"0x10", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value, Utils::ReadIntText(c.text)) << c.text;
}

TEST(SettingsValues, Doubles) {
  const struct {
    const wchar_t* text;
    double value;
  } cases[] = {
      {L"0.7", 0.7},     {L"  0.5", 0.5},   {L"-0.25xyz", -0.25}, {L"+1", 1.0},   {L"x", 0.0},
      {L"", 0.0},        {L".5", 0.5},      {L"5.", 5.0},         {L".", 0.0},    {L"1e-1", 0.1},
      {L"2e", 2.0},      {L"3E+1abc", 30.0}, {L"inf", 0.0},       {L"nan", 0.0},  {L"0x1p3", 0.0},
      {L"1e999", 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.value, Utils::ReadDoubleText(c.text)) << c.text;
}

TEST(SettingsSwitches, MapKeepsFirstOccurrenceAndWholeValues) {
  const SwitchMap map = Utils::ParseSwitches({L"C:\\dir\\ZavixInstaller.exe", L"-downloadurl=http://h/a?x=1&y=2",
                                              L"-downloadtype=3", L"-downloadtype=2", L"-insnew", L"-instcmd=/S /q",
                                              L"plain", L"-empty="});
  EXPECT_EQ(L"http://h/a?x=1&y=2", map.at(L"-downloadurl"));
  EXPECT_EQ(L"3", map.at(L"-downloadtype"));
  EXPECT_EQ(L"", map.at(L"-insnew"));
  EXPECT_EQ(L"/S /q", map.at(L"-instcmd"));
  EXPECT_EQ(L"", map.at(L"plain"));
  EXPECT_EQ(L"", map.at(L"-empty"));
  EXPECT_EQ(L"", map.at(L"C:\\dir\\ZavixInstaller.exe"));
}

InstallerSettings Applied(const std::vector<std::wstring>& args, InstallerSettings s = {}) {
  s.ApplySwitches(Utils::ParseSwitches(args), [](const std::wstring& url) { return L"<" + url + L">"; });
  return s;
}

TEST(SettingsSwitches, EachSwitchSetsItsSetting) {
  const InstallerSettings s =
      Applied({L"-downloadurl=http://x/p", L"-downloadtype=3x", L"-downloadscale=0.25", L"-ischecknet=true",
               L"-isenableappanalytics=false", L"-dlappnamesuffix=.beta", L"-dlappversion=2.0",
               L"-instcmd=/S", L"-language=2", L"-insnew=true"});
  EXPECT_EQ(L"<http://x/p>", s.DownloadUrl);  // composed
  EXPECT_EQ(3, s.DownloadType);
  EXPECT_DOUBLE_EQ(0.25, s.DownloadScale);
  EXPECT_TRUE(s.IsCheckNet);
  EXPECT_FALSE(s.IsEnableAppAnalytics);
  EXPECT_EQ(L".beta", s.DlAppNameSuffix);
  EXPECT_EQ(L"2.0", s.m_DlAppVersion);
  EXPECT_EQ(L"/S", s.InstCmd);
  EXPECT_EQ(2, s.LanguageIndex);
  EXPECT_TRUE(s.InsNew);
}

TEST(SettingsSwitches, PresentSwitchOverridesEvenWhenEmptyAndCapitalsAreIgnored) {
  InstallerSettings fromFile;
  fromFile.InstCmd = L"/from-file";
  fromFile.DownloadType = 2;
  fromFile.InsNew = true;
  const InstallerSettings s = Applied({L"-instcmd=", L"-DownloadType=3", L"-insnew", L"-unknown=1"}, fromFile);
  EXPECT_EQ(L"", s.InstCmd);
  EXPECT_EQ(2, s.DownloadType);
  EXPECT_FALSE(s.InsNew);  // "-insnew" alone has an empty value, which is not "true"
  EXPECT_EQ(-1, s.LanguageIndex);
}

TEST(SettingsSwitches, DescribeListsEveryKeyInOrder) {
  InstallerSettings s;
  s.DownloadUrl = L"http://h/p";
  s.ExeFileName = L"ZavixInstaller.exe";
  EXPECT_EQ(
      L"settings: DownloadUrl=http://h/p; DownloadType=1; DownloadScale=0.7; IsCheckNet=false; "
      L"IsEnableAppAnalytics=true; DlAppNameSuffix=.downloader; m_DlAppVersion=; InstCmd=; LanguageIndex=-1; "
      L"InsNew=false; ExeFileName=ZavixInstaller.exe",
      s.Describe());
}

}  // namespace
