// The three downloaders against the package server, under Windows: event sequences, retry budgets,
// digests, resumed parts, and destruction while a transfer runs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app/Files.h"
#include "app/InstallerSettings.h"
#include "app/TextConvert.h"
#include "download/CurlDownloader.h"
#include "download/Digest.h"
#include "download/MTCurlDownloader.h"
#include "download/WinDownloader.h"
#include "tests/support/PackageServer.h"
#include "tests/support/StatusEvents.h"
#include "tests/support/WinTestSupport.h"

namespace {

const auto* const kCurl = ::testing::AddGlobalTestEnvironment(new testsupport::CurlEnvironment);

using testsupport::Event;
const Event kStart{DL_CODE_START, 1.0, L""};
const Event kSuccess{DL_CODE_SUCCESS, 0.0, L"LibCurl"};

// The events without progress, which comes at the pace of the clock.
std::vector<Event> WithoutProgress(const std::vector<Event>& events) {
  std::vector<Event> kept;
  for (const Event& e : events) {
    if (e.code != DL_CODE_PROGRESS) kept.push_back(e);
  }
  return kept;
}

std::wstring Url(const std::string& path) { return Utils::FromUtf8(testsupport::PackageServerBase() + path); }

constexpr std::initializer_list<int32_t> kEnds = {DL_CODE_SUCCESS, DL_CODE_FAIL, DL_CODE_RETRY};

// One run of a fresh downloader of type D.
template <typename D>
std::vector<Event> RunOnce(const std::string& path, const std::wstring& target) {
  testsupport::EventCollector events;
  D downloader(events.Callback(), Url(path), target);
  downloader.Start();
  events.WaitFor(kEnds);
  return events.All();
}

class DownloaderTest : public ::testing::Test {
 protected:
  std::wstring Target() const { return (dir_.path() / L"__Package_Zavix.exe").wstring(); }
  testsupport::ScratchDir dir_{L"download"};
};

TEST_F(DownloaderTest, SingleStreamDigests) {
  const auto d = testsupport::Digests("2097152.bin");
  std::string upper = d.md5;
  for (char& c : upper) c = static_cast<char>(std::toupper(c));
  const Event md5Notice{DL_CODE_NOTICE, 0, L"curl文件md5校验失败"};
  const struct {
    const char* name;
    std::string faults, digest;
    std::vector<Event> events;
  } cases[] = {
      {"matching MD5", "-", d.md5, {kStart, kSuccess}},
      {"matching SHA-256", "-", d.sha256, {kStart, kSuccess}},
      {"upper-case MD5", "-", upper, {kStart, md5Notice, {DL_CODE_RETRY, 0, L"LibCurl"}}},
      {"corrupted package", "corrupt", d.md5, {kStart, md5Notice, {DL_CODE_RETRY, 0, L"LibCurl"}}},
      {"corrupted package, SHA-256", "corrupt", d.sha256, {kStart, md5Notice, {DL_CODE_RETRY, 0, L"LibCurl"}}},
      {"no digest", "-", "598", {kStart, {DL_CODE_NOTICE, 0, L"curl获取url-md5失败"}, kSuccess}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.events,
              WithoutProgress(RunOnce<CCurlDownloader>(testsupport::PackagePath(c.faults, c.digest, "2097152.bin"),
                                                       Target())));
    Utils::RemoveFile(Target());
  }
}

TEST_F(DownloaderTest, SingleStreamSecondDigestFailureGivesUp) {
  const auto d = testsupport::Digests("2097152.bin");
  testsupport::EventCollector events;
  CCurlDownloader downloader(events.Callback(), Url(testsupport::PackagePath("corrupt", d.md5, "2097152.bin")),
                             Target());
  downloader.Start();
  events.WaitFor({DL_CODE_RETRY});
  downloader.Start();
  events.WaitFor({DL_CODE_FAIL});
  const Event notice{DL_CODE_NOTICE, 0, L"curl文件md5校验失败"};
  EXPECT_EQ((std::vector<Event>{kStart, notice, {DL_CODE_RETRY, 0, L"LibCurl"}, kStart, notice,
                                {DL_CODE_FAIL, 0, L"LibCurl"}}),
            WithoutProgress(events.All()));
}

TEST_F(DownloaderTest, SingleStreamRetryBudgets) {
  const struct {
    const char* cycle;
    int transfers;
    double result;
  } cases[] = {{"dead", 6, 7}, {"cut", 12, 18}, {"cut.dead", 8, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cycle);
    const std::string path = testsupport::PackagePath(std::string("cycle=") + c.cycle, "x", "4194304.bin");
    EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_FAIL, c.result, L"LibCurl"}}),
              WithoutProgress(RunOnce<CCurlDownloader>(path, Target())));
    EXPECT_EQ(c.transfers, testsupport::Stats(path).get);
  }
}

TEST_F(DownloaderTest, SingleStreamRestartFromInsideTheCallbackAndEmptyPath) {
  const auto d = testsupport::Digests("2097152.bin");
  testsupport::EventCollector events;
  auto record = events.Callback();
  std::unique_ptr<CCurlDownloader> downloader;
  downloader = std::make_unique<CCurlDownloader>(
      [&](int32_t code, double value, const wchar_t* text) {
        record(code, value, text);
        if (code == DL_CODE_RETRY) downloader->Start();  // as the orchestration answers
      },
      Url(testsupport::PackagePath("id=restart", std::string(32, '0'), "2097152.bin")), Target());
  downloader->Start();
  events.WaitFor({DL_CODE_FAIL});
  downloader.reset();
  EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_NOTICE, 0, L"curl文件md5校验失败"}, {DL_CODE_RETRY, 0, L"LibCurl"},
                                kStart, {DL_CODE_NOTICE, 0, L"curl文件md5校验失败"}, {DL_CODE_FAIL, 0, L"LibCurl"}}),
            WithoutProgress(events.All()));

  EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_FAIL, 1.0, L""}}),
            RunOnce<CCurlDownloader>(testsupport::PackagePath("-", d.md5, "2097152.bin"), L""));
}

TEST_F(DownloaderTest, DestroyingADownloaderStopsItsTransferPromptly) {
  testsupport::EventCollector events;
  auto downloader = std::make_unique<CCurlDownloader>(
      events.Callback(), Url(testsupport::PackagePath("stall=1048576,id=destroy", "x", "4194304.bin")), Target());
  downloader->Start();
  Sleep(1500);
  const auto started = std::chrono::steady_clock::now();
  downloader.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
  const std::vector<Event> all = WithoutProgress(events.All());
  ASSERT_EQ(2u, all.size());
  EXPECT_EQ((Event{DL_CODE_FAIL, 42, L"LibCurl"}), all[1]);

  auto parts = std::make_unique<CMTCurlDownloader>(
      events.Callback(), Url(testsupport::PackagePath("stall=1048576,id=destroy-mt", "x", "4194304.bin")), Target());
  parts->Start();
  Sleep(1500);
  const auto partsStarted = std::chrono::steady_clock::now();
  parts.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - partsStarted, std::chrono::seconds(3));
}

TEST_F(DownloaderTest, MultiPartRanges) {
  const struct {
    int64_t length;
    std::vector<std::string> ranges;
  } cases[] = {
      {256, {"bytes=0-255"}},
      {20971519, {"bytes=0-20971518"}},
      {20971520, {"bytes=0-10485759", "bytes=10485760-20971519"}},
      {20971521, {"bytes=0-10485759", "bytes=10485760-20971520"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const std::string name = std::to_string(c.length) + ".bin";
    const auto d = testsupport::Digests(name);
    const std::string path = testsupport::PackagePath("-", d.md5, name);
    EXPECT_EQ((std::vector<Event>{kStart, kSuccess}), WithoutProgress(RunOnce<CMTCurlDownloader>(path, Target())));
    std::vector<std::string> ranges = testsupport::Stats(path).ranges;
    std::sort(ranges.begin(), ranges.end());
    EXPECT_EQ(c.ranges, ranges);
    EXPECT_EQ(d.md5, GetFileMd5(Target()));
    EXPECT_FALSE(std::filesystem::exists(Target() + L"_0"));
    EXPECT_FALSE(std::filesystem::exists(Target() + L"_1"));
  }
  EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_FAIL, 0, L"LibCurl"}}),
            RunOnce<CMTCurlDownloader>(testsupport::PackagePath("-", "x", "255.bin"), Target()));
}

TEST_F(DownloaderTest, MultiPartSecondPartStallsThenResumesAlone) {
  const auto d = testsupport::Digests("20971520.bin");
  // every attempt of part 1 in the first run stalls halfway: it gives up after seven
  const std::string path = testsupport::PackagePath("stall=15728640,times=7", d.md5, "20971520.bin");
  testsupport::EventCollector events;
  CMTCurlDownloader downloader(events.Callback(), Url(path), Target());
  downloader.Start();
  events.WaitFor({DL_CODE_RETRY, DL_CODE_FAIL, DL_CODE_SUCCESS});
  EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_RETRY, 28, L"LibCurl"}}), WithoutProgress(events.All()));
  EXPECT_EQ(10485760, Utils::FileSize(Target() + L"_0"));
  EXPECT_EQ(5242880, Utils::FileSize(Target() + L"_1"));
  downloader.Start();
  events.WaitFor({DL_CODE_SUCCESS, DL_CODE_FAIL});
  EXPECT_EQ(kSuccess, events.All().back());
  EXPECT_EQ(d.md5, GetFileMd5(Target()));
  const std::vector<std::string> ranges = testsupport::Stats(path).ranges;
  ASSERT_EQ(9u, ranges.size());
  EXPECT_EQ("bytes=15728640-20971519", ranges.back()) << "the restart asks only for what part 1 lacks";
}

TEST_F(DownloaderTest, MultiPartFailureBeforeAnyProgressDeletesThePartFiles) {
  const std::string path = testsupport::PackagePath("get=500", "x", "20971520.bin");
  EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_RETRY, 22, L"LibCurl"}}),
            WithoutProgress(RunOnce<CMTCurlDownloader>(path, Target())));
  EXPECT_FALSE(std::filesystem::exists(Target() + L"_0"));
  EXPECT_FALSE(std::filesystem::exists(Target() + L"_1"));
  EXPECT_EQ(14, testsupport::Stats(path).get) << "seven attempts per part";
}

TEST_F(DownloaderTest, MultiPartDigestMismatchAndNoLibcurl) {
  const auto d = testsupport::Digests("2097152.bin");
  EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"}, {DL_CODE_RETRY, 0, L"LibCurl"}}),
            WithoutProgress(RunOnce<CMTCurlDownloader>(testsupport::PackagePath("corrupt", d.md5, "2097152.bin"),
                                                       Target())));
  EXPECT_FALSE(std::filesystem::exists(Target()));

  g_Settings.CurlReady = false;
  const std::string path = testsupport::PackagePath("id=nocurl", d.md5, "2097152.bin");
  EXPECT_EQ((std::vector<Event>{kStart, {DL_CODE_FAIL, 0, L"LibCurl"}}), RunOnce<CMTCurlDownloader>(path, Target()));
  g_Settings.CurlReady = true;
  EXPECT_EQ(0, testsupport::Stats(path).head);
}

TEST_F(DownloaderTest, SystemDownload) {
  const auto d = testsupport::Digests("1048576.bin");
  const std::vector<Event> ok = RunOnce<CWinDownloader>(testsupport::PackagePath("-", d.md5, "1048576.bin"), Target());
  EXPECT_EQ((Event{DL_CODE_SUCCESS, 0, L"URLDownloadToFile"}), ok.back());
  EXPECT_EQ(d.md5, GetFileMd5(Target()));

  testsupport::EventCollector events;
  const auto started = std::chrono::steady_clock::now();
  {
    CWinDownloader downloader(events.Callback(), L"http://127.0.0.1:1/software/598/x/ZavixSetup.exe", Target());
    downloader.Start();
    events.WaitFor({DL_CODE_FAIL, DL_CODE_SUCCESS});
  }
  const std::vector<Event> failed = events.All();
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << "three attempts a second apart";
  ASSERT_EQ(2u, failed.size());
  EXPECT_EQ(DL_CODE_FAIL, failed[1].code);
  EXPECT_LT(failed[1].value, 0);
  EXPECT_EQ(L"URLDownloadToFile", failed[1].text);

  CWinDownloader neverStarted(events.Callback(), L"http://127.0.0.1:1/x", Target());
}

}  // namespace
