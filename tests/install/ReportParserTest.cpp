#include <gtest/gtest.h>

#include <vector>

#include "install/ReportParser.h"
#include "tests/support/StatusEvents.h"

namespace {

using testsupport::Event;

struct Parsed {
  std::vector<Event> events;
  int32_t verdict;
  int32_t codePage;
};

Parsed Parse(ReportKind kind, const std::wstring& text, int32_t codePage = 0) {
  Parsed p{{}, 0, codePage};
  testsupport::EventCollector events;
  p.verdict = ParseReport(kind, text, events.Callback(), p.codePage);
  p.events = events.All();
  return p;
}

TEST(ReportParser, SetupKeys) {
  const struct {
    std::wstring line;
    std::vector<Event> events;
    int32_t verdict;
  } cases[] = {
      {L"Progress=0.5", {{IST_CODE_PROGRESS, 0.5, L""}}, 0},
      {L"Progress=abc", {{IST_CODE_PROGRESS, 0, L""}}, 0},
      {L"InstPath=C:\\Program Files\\Zavix ", {{IST_CODE_INSTPATH, 0, L"C:\\Program Files\\Zavix "}}, 0},
      {L"InstPath=C:\\Zavix\r", {{IST_CODE_INSTPATH, 0, L"C:\\Zavix\r"}}, 0},  // "\r" stays in text values
      {L"State=Success", {{IST_CODE_SUCCESS, 0, L""}}, 1},
      {L"State= \tSuccess \r", {{IST_CODE_SUCCESS, 0, L""}}, 1},
      {L"State=success", {}, 0},
      {L"State=Fail", {{IST_CODE_FAIL, 0, L"安装包安装失败"}}, 1000},
      {L"State=Done", {}, 0},
      {L"ExePath=C:\\Z\\Zavix.exe", {{IST_CODE_EXEPATH, 0, L"C:\\Z\\Zavix.exe"}}, 0},
      {L"StartExe=C:\\Z\\Go.exe", {{IST_CODE_EXEPATH, 0, L"C:\\Z\\Go.exe"}}, 0},
      {L"UninstExePath=C:\\Z\\u.exe", {{IST_CODE_UNINSTEXE, 0, L"C:\\Z\\u.exe"}}, 0},
      {L"UninstExe=C:\\Z\\u2.exe", {{IST_CODE_UNINSTEXE, 0, L"C:\\Z\\u2.exe"}}, 0},
      {L"UninstEp=C:\\Z\\uninst.ep", {{IST_CODE_UNINSTEP, 0, L"C:\\Z\\uninst.ep"}}, 0},
      {L"Error=disk full", {{IST_CODE_FAIL, 1000, L"disk full"}}, 1000},
      {L"Error=", {{IST_CODE_FAIL, 1000, L""}}, 1000},
      {L"TopShowDetention=1500ms", {{IST_CODE_TOPSHOW, 1500, L""}}, 0},
      {L"FinsihCloseDetention=x", {{IST_CODE_FINISHCLOSE, 0, L""}}, 0},
      {L"StartUrl=https://zavix.example/welcome", {{IST_CODE_STARTURL, 0, L"https://zavix.example/welcome"}}, 0},
      {L"StartupStyle=NonStartup", {{IST_CODE_STARTUPSTYLE, 0, L""}}, 0},
      {L"StartupStyle= AutoStartup\r", {{IST_CODE_STARTUPSTYLE, 1, L""}}, 0},
      {L"StartupStyle=UserStartup", {{IST_CODE_STARTUPSTYLE, 2, L""}}, 0},
      {L"StartupStyle=Auto", {{IST_CODE_STARTUPSTYLE, 0, L""}}, 0},
      {L"Message=请关闭 Zavix", {{IST_CODE_MESSAGE, 0, L"请关闭 Zavix"}}, 0},
      {L"InstallVersion=2.0", {}, 0},
      {L" Progress=0.5", {}, 0},
      {L"progress=0.5", {}, 0},
      {L"", {}, 0},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(ReportKind::Setup, c.line);
    EXPECT_EQ(c.events, p.events) << std::string(c.line.begin(), c.line.end());
    EXPECT_EQ(c.verdict, p.verdict);
  }
}

TEST(ReportParser, SetupEncode) {
  const struct {
    const wchar_t* line;
    int32_t codePage;
  } cases[] = {
      {L"Encode=UTF8", 65001}, {L"Encode= 936 \r", 936}, {L"Encode=ACP", 0}, {L"Encode=abc", 0},
      {L"Encode=936x", 936},   {L"Encode=-5", -5},       {L"Encode=99999999999", 0}, {L"Encode=utf8", 0},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(ReportKind::Setup, c.line, 1252);
    EXPECT_EQ(c.codePage, p.codePage) << c.line;
    EXPECT_TRUE(p.events.empty());
  }
}

TEST(ReportParser, UninstallKeys) {
  const struct {
    std::wstring line;
    std::vector<Event> events;
    int32_t verdict;
    int32_t codePage;
  } cases[] = {
      {L"Progress=0.25", {{UNIST_CODE_PROGRESS, 0.25, L""}}, 0, 7},
      {L"Progress=x", {{UNIST_CODE_PROGRESS, 0, L""}}, 0, 7},
      {L"Error=Zavix is running", {{UNIST_CODE_ERROR, 0, L"Zavix is running"}}, 1000, 7},
      {L"State= Success ", {{UNIST_CODE_SUCCESS, 0, L""}}, 1, 7},
      {L"State=Fail", {{UNIST_CODE_ERROR, 0, L"安装包卸载失败"}}, 1000, 7},
      {L"State=SUCCESS", {}, 0, 7},
      {L"Encode=UTF8", {}, 0, 65001},
      {L"Encode=ACP", {}, 0, 0},
      {L"Encode=936", {}, 0, 0},  // only UTF8 is known here
      {L"InstPath=C:\\Z", {}, 0, 7},
      {L"Message=hello", {}, 0, 7},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(ReportKind::Uninstall, c.line, 7);
    EXPECT_EQ(c.events, p.events) << std::string(c.line.begin(), c.line.end());
    EXPECT_EQ(c.verdict, p.verdict);
    EXPECT_EQ(c.codePage, p.codePage);
  }
}

TEST(ReportParser, EveryLineOfAChunkCountsAndTheLastVerdictWins) {
  Parsed p = Parse(ReportKind::Setup, L"Progress=0.5\r\nError=no space\r\nState=Success\r\nProgress=1\n");
  EXPECT_EQ((std::vector<Event>{{IST_CODE_PROGRESS, 0.5, L""},
                                {IST_CODE_FAIL, 1000, L"no space\r"},
                                {IST_CODE_SUCCESS, 0, L""},
                                {IST_CODE_PROGRESS, 1, L""}}),
            p.events);
  EXPECT_EQ(1, p.verdict);
  p = Parse(ReportKind::Setup, L"State=Success\nState=Fail");
  EXPECT_EQ(1000, p.verdict);
  p = Parse(ReportKind::Uninstall, L"State=Success\nProgress=0.9\nProgress=1\n");
  EXPECT_EQ(3u, p.events.size());
  EXPECT_EQ(1, p.verdict);
}

TEST(ReportParser, LongValuesArePassedOnWhole) {
  const std::wstring folder = L"C:\\" + std::wstring(900, L'd');
  const Parsed p = Parse(ReportKind::Setup, L"InstPath=" + folder);
  ASSERT_EQ(1u, p.events.size());
  EXPECT_EQ(folder, p.events[0].text);
}

std::vector<std::string> Assemble(const std::vector<std::string>& pieces) {
  ReportLineAssembler assembler;
  std::vector<std::string> lines;
  auto collect = [&](std::string_view line) { lines.emplace_back(line); };
  for (const auto& piece : pieces) assembler.Feed(piece, collect);
  assembler.Finish(collect);
  return lines;
}

TEST(ReportLineAssembler, LinesWrittenInPiecesAreReadWhole) {
  EXPECT_EQ((std::vector<std::string>{"State=Success"}), Assemble({"Sta", "te=Succ", "ess\n"}));
  EXPECT_EQ((std::vector<std::string>{"Progress=0.5\r", "Error=\xD6\xD0\xCE\xC4"}),
            Assemble({"Progress=0.5\r\nError=\xD6\xD0", "\xCE\xC4"}));  // a GBK character cut by a read
  EXPECT_EQ((std::vector<std::string>{"", "a", ""}), Assemble({"\na\n\n"}));
  EXPECT_EQ((std::vector<std::string>{}), Assemble({""}));
}

TEST(ReportLineAssembler, OverlongLineIsDroppedAndReadingGoesOn) {
  const std::string huge(ReportLineAssembler::kMaxLine + 1, 'x');
  EXPECT_EQ((std::vector<std::string>{"State=Success"}),
            Assemble({"InstPath=", huge.substr(0, 40000), huge.substr(40000), "\nState=Success\n"}));
}

}  // namespace
