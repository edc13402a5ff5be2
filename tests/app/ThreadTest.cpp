#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <regex>

#include "app/Log.h"
#include "app/Thread.h"
#include "tests/support/WinTestSupport.h"

namespace {

TEST(Thread, EachThreadLogsOneBeginBeforeAndOneEndAfterItsBody) {
  testsupport::ScratchDir dir(L"thread");
  const auto log = dir.path() / L"threads.log";
  ASSERT_TRUE(Utils::SetLogFile(log.wstring()));

  std::atomic<int> ran{0};
  auto body = [&ran](void* arg) -> uint32_t {
    ZLOG(L"body %d\r\n", *static_cast<int*>(arg));
    ++ran;
    return 0;
  };
  int args[3] = {0, 1, 2};
  std::vector<std::unique_ptr<Utils::Thread>> threads;
  for (int& a : args) {
    threads.push_back(std::make_unique<Utils::Thread>(body, &a, a == 0 ? L"" : L"ABDEF"));
    ASSERT_NE(nullptr, threads.back()->Handle());
  }
  Sleep(50);
  EXPECT_EQ(0, ran.load()) << "threads start suspended";
  for (auto& t : threads) t->Resume();
  threads.clear();  // destruction joins
  EXPECT_EQ(3, ran.load());
  Utils::SetLogFile(L"");

  // Per thread id, the sequence of its messages must be BEGIN, body, END.
  std::map<std::wstring, std::vector<std::wstring>> byThread;
  const std::wregex line(LR"(<P\d{5,}><T(\d{5,})><[^>]+>\(([^)]+)\)<\d{4,}>: (.*)\r?)");
  std::wistringstream in(testsupport::ReadUtf8File(log));
  std::wstring text;
  while (std::getline(in, text)) {
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(text, m, line)) << text;
    if (m[3] != L"body 0" && m[3] != L"body 1" && m[3] != L"body 2") {
      EXPECT_EQ(L"Utils::Thread::CallBack", m[2].str());
    }
    byThread[m[1]].push_back(m[3]);
  }
  ASSERT_EQ(3u, byThread.size());
  for (const auto& [tid, messages] : byThread) {
    ASSERT_EQ(3u, messages.size()) << tid;
    EXPECT_EQ(L"THREAD BEGIN", messages[0]);
    EXPECT_EQ(0u, messages[1].rfind(L"body ", 0));
    EXPECT_EQ(L"THREAD END", messages[2]);
  }
}

TEST(Thread, JoinForgetsTheThreadAndIsRepeatable) {
  Utils::Thread t([](void*) -> uint32_t { return 7; }, nullptr, L"UnInstaller");
  EXPECT_NE(static_cast<DWORD>(-1), t.Id());
  t.Resume();
  t.Join();
  EXPECT_EQ(nullptr, t.Handle());
  EXPECT_EQ(static_cast<DWORD>(-1), t.Id());
  t.Join();
}

}  // namespace
