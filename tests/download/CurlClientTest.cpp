// CurlClient against the package server over loopback.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "app/Files.h"
#include "app/TextConvert.h"
#include "download/CurlClient.h"
#include "download/Digest.h"
#include "tests/support/PackageServer.h"

namespace {

const auto* const kCurl = ::testing::AddGlobalTestEnvironment(new testsupport::CurlEnvironment);

struct Recorder {
  std::mutex mutex;
  std::vector<double> percents;
  static void Hook(void* owner, double, double, double percent) {
    auto* r = static_cast<Recorder*>(owner);
    std::lock_guard<std::mutex> lock(r->mutex);
    r->percents.push_back(percent);
  }
};

class CurlClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() / (std::string("zavix-curlclient-") + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::wstring Target() const { return (dir_ / "package.exe").wstring(); }
  std::wstring Url(const std::string& path) const { return Utils::FromUtf8(testsupport::PackageServerBase() + path); }

  std::filesystem::path dir_;
  Recorder recorder_;
};

TEST_F(CurlClientTest, SmallestAcceptedPackageDownloadsWhole) {
  const auto digests = testsupport::Digests("1048576.bin");
  CurlClient client(Url(testsupport::PackagePath("-", digests.md5, "1048576.bin")), Target(), &recorder_,
                    &Recorder::Hook);
  EXPECT_EQ(0, client.Start());
  EXPECT_EQ(digests.md5, GetFileMd5(Target()));
  EXPECT_FALSE(std::filesystem::exists(client.GetPath(true)));
}

TEST_F(CurlClientTest, PackageBelowOneMebibyteIsRefusedWithoutTransfer) {
  const std::string path = testsupport::PackagePath("id=small", "x", "1048575.bin");
  CurlClient client(Url(path), Target(), &recorder_, &Recorder::Hook);
  EXPECT_EQ(CurlClient::kLengthUnknownOrTooSmall, client.Start());
  EXPECT_FALSE(std::filesystem::exists(client.GetPath(true)));
  EXPECT_EQ(0, testsupport::Stats(path).get);
}

TEST_F(CurlClientTest, RefusedLengthProbesAreReportedTwice) {
  std::vector<std::wstring> reports;
  SetDownloadFailureReporter([&](const std::wstring& reason) { reports.push_back(reason); });
  CurlClient client(Url(testsupport::PackagePath("head=405", "x", "4194304.bin")), Target(), &recorder_,
                    &Recorder::Hook);
  EXPECT_EQ(CurlClient::kLengthUnknownOrTooSmall, client.Start());
  SetDownloadFailureReporter(nullptr);
  EXPECT_EQ((std::vector<std::wstring>{L"1.获取文件大小的状态码为=405；", L"1.获取文件大小的状态码为=405；"}), reports);
}

TEST_F(CurlClientTest, DroppedTransferResumesWithoutProbing) {
  const auto digests = testsupport::Digests("10485760.bin");
  const std::string path = testsupport::PackagePath("drop=3145728", digests.md5, "10485760.bin");
  CurlClient client(Url(path), Target(), &recorder_, &Recorder::Hook);
  EXPECT_EQ(CURLE_PARTIAL_FILE, client.Start());
  EXPECT_EQ(3145728, Utils::FileSize(client.GetPath(true)));
  recorder_.percents.clear();
  EXPECT_EQ(0, client.Start());
  EXPECT_EQ(digests.md5, GetFileMd5(Target()));
  EXPECT_EQ(digests.md5, client.PackageDigest()) << "the digest follows the bytes across the resume";
  const testsupport::ServerStats stats = testsupport::Stats(path);
  EXPECT_EQ(1, stats.head) << "the second transfer makes no probe";
  EXPECT_EQ((std::vector<std::string>{"", "bytes=3145728-"}), stats.ranges);
  for (double p : recorder_.percents) EXPECT_GE(p, 30.0);
}

TEST_F(CurlClientTest, DigestCoversAPartialFileLeftBeforeThisClient) {
  const auto digests = testsupport::Digests("4194304.bin");
  const std::string path = testsupport::PackagePath("-", digests.sha256, "4194304.bin");
  {
    std::ofstream part(dir_ / "package.exe.part", std::ios::binary);
    part << testsupport::HttpGet(testsupport::PackageServerBase() + path).substr(0, 1000000);
  }
  CurlClient client(Url(path), Target(), &recorder_, &Recorder::Hook);
  EXPECT_EQ(0, client.Start());
  EXPECT_EQ(digests.sha256, client.PackageDigest());
  EXPECT_EQ(digests.sha256, GetFileSha256(Target()));
}

TEST_F(CurlClientTest, RedirectedAddressIsTheFinalUrl) {
  const auto digests = testsupport::Digests("2097152.bin");
  CurlClient client(Url(testsupport::PackagePath("redirect", digests.md5, "2097152.bin")), Target(), &recorder_,
                    &Recorder::Hook);
  EXPECT_EQ(0, client.Start());
  EXPECT_EQ(testsupport::PackageServerBase() + testsupport::PackagePath("-", digests.md5, "2097152.bin"),
            client.FinalUrl());
  EXPECT_EQ(digests.md5, GetFileMd5(Target()));
}

TEST_F(CurlClientTest, StopEndsTheTransferWith42AndKeepsThePartialFile) {
  CurlClient client(Url(testsupport::PackagePath("stall=2097152", "x", "8388608.bin")), Target(), &recorder_,
                    &Recorder::Hook);
  std::atomic<int32_t> result{-1};
  std::thread transfer([&] { result = client.Start(); });
  // the server goes silent after a quarter of the package
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::lock_guard<std::mutex> lock(recorder_.mutex);
    if (!recorder_.percents.empty() && recorder_.percents.back() >= 25.0) break;
  }
  const auto stopped = std::chrono::steady_clock::now();
  client.Stop();
  transfer.join();
  EXPECT_EQ(CURLE_ABORTED_BY_CALLBACK, result.load());
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(3));
  EXPECT_EQ(2097152, Utils::FileSize(client.GetPath(true)));
}

TEST_F(CurlClientTest, ExistingTargetIsReplaced) {
  const auto digests = testsupport::Digests("1048576.bin");
  std::ofstream(dir_ / "package.exe") << "an older package";
  CurlClient client(Url(testsupport::PackagePath("-", digests.md5, "1048576.bin")), Target(), &recorder_,
                    &Recorder::Hook);
  EXPECT_EQ(0, client.Start());
  EXPECT_EQ(digests.md5, GetFileMd5(Target()));
}

}  // namespace
