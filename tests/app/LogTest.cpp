#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/Log.h"

namespace logcheck {
struct Widget {
  void Work() { ZLOG(L"working at 100%% on %ls\r\n", L"\u5B89\u88C5"); }
};
void NoLineEnd() { ZLOG(L"no line end"); }
}  // namespace logcheck

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Log, LinesCarryThePrefixAndGoToTheLogFile) {
  const auto path = std::filesystem::temp_directory_path() / "zavix-logtest.log";
  std::filesystem::remove(path);
  ASSERT_TRUE(Utils::SetLogFile(path.wstring()));
  logcheck::Widget().Work();
  logcheck::NoLineEnd();
  Utils::SetLogFile(L"");
  const std::string text = ReadAll(path);
  std::filesystem::remove(path);

  const std::regex line(
      "<P\\d{5,}><T\\d{5,}><\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3}>\\(logcheck::Widget::Work\\)<\\d{4,}>: "
      "working at 100% on \xE5\xAE\x89\xE8\xA3\x85\r\n"
      "<P\\d{5,}><T\\d{5,}><[^>]+>\\(logcheck::NoLineEnd\\)<\\d{4,}>: no line end");
  EXPECT_TRUE(std::regex_match(text, line)) << text;
}

TEST(Log, QualifiedFunctionNames) {
  const struct {
    const char* pretty;
    const char* name;
  } cases[] = {
      {"static DWORD Utils::Thread::CallBack(LPVOID)", "Utils::Thread::CallBack"},
      {"void CDownloadInstaller::Start()", "CDownloadInstaller::Start"},
      {"Utils::Thread::Thread(Body, void*, std::wstring)", "Utils::Thread::Thread"},
      {"std::vector<std::pair<int, int> > a::b(int)", "a::b"},
      {"a::b()::<lambda(int)>", "a::b"},
      {"void f(T) [with T = int]", "f"},
      {"bool Matcher::operator()(int) const", "Matcher::operator()"},
      {"int main()", "main"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.name, Utils::QualifiedFunctionName(c.pretty)) << c.pretty;
}

TEST(Log, UnopenableFileIsRefused) {
  EXPECT_FALSE(Utils::SetLogFile(L"/no/such/folder/zavix.log"));
  ZLOG(L"still fine\r\n");  // no file, no failure
}

}  // namespace
