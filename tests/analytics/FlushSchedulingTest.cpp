// Flush scheduling against the collector fixture: urgent flushes send, others only count, a failed
// last send moves the flush to a worker, and the background sender stops when told.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "analytics/sdk/FlushScheduling.h"
#include "analytics/sdk/Sdk.h"
#include "tests/support/Collector.h"

namespace {

const auto* const kCurl = ::testing::AddGlobalTestEnvironment(new testsupport::CurlEnvironment);

using analytics_core::PendingRecords;
using analytics_core::PropertiesNode;
using analytics_core::Sdk;

class FlushSchedulingTest : public ::testing::Test {
 protected:
  void Start(int status) {
    bin_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    staging_ = std::filesystem::temp_directory_path() / ("zavix-flush-" + bin_);
    std::filesystem::remove(staging_);
    ASSERT_TRUE(Sdk::Init(staging_.string(),
                          testsupport::CollectorBase() + "/collect/" + std::to_string(status) + "/" + bin_, "d", false));
    PendingRecords() = 0;
  }
  void TearDown() override {
    Sdk::Shutdown();
    std::filesystem::remove(staging_);
  }
  void Track(int n) {
    PropertiesNode p;
    p.SetNumber("n", n);
    Sdk::Track("e", p);
    ++PendingRecords();
  }
  size_t Batches() { return testsupport::Received(bin_).size(); }

  std::string bin_;
  std::filesystem::path staging_;
};

TEST_F(FlushSchedulingTest, UrgentSendsAndOthersOnlyCount) {
  Start(200);
  Track(1);
  analytics_core::FlushNow(false);
  EXPECT_EQ(2, PendingRecords().load());
  EXPECT_EQ(0u, Batches());
  analytics_core::FlushNow(true);
  EXPECT_EQ(0, PendingRecords().load());
  EXPECT_EQ(1u, Batches());
  EXPECT_TRUE(Sdk::Instance()->Consumer().Records().empty());
}

TEST_F(FlushSchedulingTest, AfterAFailedSendTheFlushRunsOnAWorker) {
  Start(500);
  Track(1);
  analytics_core::FlushNow(true);  // fails: the last send is now a failure
  EXPECT_EQ(1, PendingRecords().load());
  EXPECT_FALSE(analytics_core::LastSendOk());
  analytics_core::FlushSoon(true);  // returns before the worker has flushed
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(1u, Sdk::Instance()->Consumer().Records().size()) << "the failed batch stays queued";
  EXPECT_GE(Batches(), 2u);
}

TEST_F(FlushSchedulingTest, BackgroundSenderFlushesAndStops) {
  Start(200);
  Track(1);
  std::atomic<bool> stop{false};
  int waits = 0;
  std::thread sender([&] { analytics_core::RunBackgroundSender(stop, [&] { ++waits; }); });
  for (int i = 0; i < 100 && Batches() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(1u, Batches());
  const auto stopped = std::chrono::steady_clock::now();
  stop = true;
  sender.join();
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(1));
  EXPECT_EQ(1, waits);
  EXPECT_EQ(0, PendingRecords().load());
}

}  // namespace
