#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <regex>
#include <thread>

#include "analytics/sdk/Sdk.h"

namespace {

using analytics_core::PropertiesNode;
using analytics_core::Sdk;

class SdkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    staging_ = std::filesystem::temp_directory_path() / "zavix-sdk-staging";
    std::filesystem::remove(staging_);
    analytics_core::SetErrorSink([this](const std::string& m) { messages_ += m; });
    ASSERT_TRUE(Sdk::Init(staging_.string(), "http://127.0.0.1:1/collect", "device-1", false));
  }
  void TearDown() override {
    Sdk::Shutdown();
    analytics_core::SetErrorSink(nullptr);
    std::filesystem::remove(staging_);
  }
  // The records so far, with the random record number and the clock time masked.
  std::vector<std::string> Records() {
    std::vector<std::string> out;
    for (const std::string& r : Sdk::Instance()->Consumer().Records()) {
      out.push_back(std::regex_replace(std::regex_replace(r, std::regex("\"_track_id\":\\d+"), "\"_track_id\":N"),
                                       std::regex("\"time\":1\\d{12}"), "\"time\":T"));
    }
    return out;
  }

  std::filesystem::path staging_;
  std::string messages_;
};

TEST_F(SdkTest, TrackRecordLayoutAndPropertyOrder) {
  PropertiesNode p;
  p.SetString("br_app_id", "x");
  p.SetString("_x", "y");
  p.SetString("Zeta", "z");
  p.SetString("$app_version", "1.7.9");
  p.SetNumber("n", int32_t{9});
  Sdk::Track("$AppStart", p);
  EXPECT_EQ((std::vector<std::string>{
                "{\"_track_id\":N,\"distinct_id\":\"device-1\",\"event\":\"$AppStart\",\"lib\":{\"$lib\":\"cpp\","
                "\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"},\"properties\":{\"$app_version\":\"1.7.9\","
                "\"$lib\":\"cpp\",\"$lib_version\":\"0.9\",\"Zeta\":\"z\",\"_x\":\"y\",\"br_app_id\":\"x\",\"n\":9},"
                "\"time\":T,\"type\":\"track\"}"}),
            Records());
}

TEST_F(SdkTest, TimeProjectAndRefusals) {
  PropertiesNode timed;
  timed.SetDateTime("$time", 1700000000, 250);
  timed.SetString("$project", "zavix");
  Sdk::Track("_install", timed);
  const std::vector<std::string> records = Sdk::Instance()->Consumer().Records();
  ASSERT_EQ(1u, records.size());
  EXPECT_NE(std::string::npos, records[0].find("\"project\":\"zavix\",\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.9\"},\"time\":1700000000250,"));

  PropertiesNode badTime;
  badTime.SetString("$time", "yesterday");
  Sdk::Track("ok", badTime);
  PropertiesNode badProject;
  badProject.SetNumber("$project", int32_t{1});
  Sdk::Track("ok", badProject);
  Sdk::Track("9lives", PropertiesNode());
  Sdk::Track(std::string(101, 'e'), PropertiesNode());
  PropertiesNode badKey;
  badKey.SetBool("bad-key", true);
  Sdk::Track("ok", badKey);
  EXPECT_EQ(1u, Sdk::Instance()->Consumer().Records().size());
  EXPECT_EQ("The property '$time' should be DateTime type.The property '$project' should be String type."
            "The Event Name need to be a valid variable name.The Event Name is empty or too long, max length is 100"
            "The Property Key need to be a valid variable name.",
            messages_);
}

TEST_F(SdkTest, LoginAndProfiles) {
  Sdk::RegisterSuperProperties([] {
    PropertiesNode p;
    p.SetString("AB", "IN");
    return p;
  }());
  Sdk::Login("user-7");
  Sdk::Track("click", PropertiesNode());
  Sdk::ProfileSet("city", std::string("Hangzhou"));
  Sdk::ProfileAppend("tags", "beta");
  const std::vector<std::string> records = Records();
  ASSERT_EQ(4u, records.size());
  EXPECT_EQ("{\"_track_id\":N,\"distinct_id\":\"user-7\",\"event\":\"$SignUp\",\"lib\":{\"$lib\":\"cpp\","
            "\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"},\"original_id\":\"device-1\",\"properties\":{\"$lib\":"
            "\"cpp\",\"$lib_version\":\"0.9\",\"AB\":\"IN\"},\"time\":T,\"type\":\"track_signup\"}",
            records[0]);
  EXPECT_NE(std::string::npos, records[1].find("\"distinct_id\":\"user-7\""));
  EXPECT_NE(std::string::npos, records[1].find("\"$is_login_id\":true"));
  EXPECT_EQ("{\"_track_id\":N,\"distinct_id\":\"user-7\",\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\","
            "\"$lib_version\":\"0.9\"},\"properties\":{\"$is_login_id\":true,\"city\":\"Hangzhou\"},\"time\":T,"
            "\"type\":\"profile_set\"}",
            records[2]);
  EXPECT_NE(std::string::npos, records[3].find("\"properties\":{\"$is_login_id\":true,\"tags\":[\"beta\"]}"));
}

TEST_F(SdkTest, RecordsBuiltWhileTheIdentityChanges) {
  // One thread registers super properties and logs in while another tracks: every record must come out
  // whole, with one identity, and the queue (1024) holds them all.
  constexpr int kRecords = 1000;
  std::atomic<int> tracked{0};
  std::atomic<bool> loggedIn{false};
  std::thread tracker([&] {
    for (; tracked < kRecords; ++tracked) {
      while (tracked == kRecords / 2 && !loggedIn) std::this_thread::yield();  // the login lands mid-way
      Sdk::Track("tick", PropertiesNode());
    }
  });
  for (int i = 0; tracked < kRecords; ++i) {
    PropertiesNode p;
    p.SetString("k" + std::to_string(i % 8), std::string(100 + i % 500, 'v'));  // replaced values: freed buffers
    Sdk::RegisterSuperProperties(p);
    if (!loggedIn && tracked >= kRecords / 2) {
      Sdk::Login("user-8");
      loggedIn = true;
    }
  }
  tracker.join();
  const std::vector<std::string> records = Sdk::Instance()->Consumer().Records();
  ASSERT_EQ(kRecords + 1u, records.size());
  auto whole = [](const std::string& r) {
    const auto ends = [&r](const std::string& tail) { return r.size() > tail.size() && r.ends_with(tail); };
    return r.starts_with(R"({"_track_id":)") &&
           (r.find(R"(,"distinct_id":"device-1",)") != std::string::npos ||
            r.find(R"(,"distinct_id":"user-8",)") != std::string::npos) &&
           (ends(R"(,"type":"track"})") || ends(R"(,"type":"track_signup"})"));
  };
  for (const std::string& r : records) {
    ASSERT_TRUE(whole(r)) << r;
    const bool asUser = r.find("\"distinct_id\":\"user-8\"") != std::string::npos;
    EXPECT_EQ(asUser && r.find("$SignUp") == std::string::npos, r.find("$is_login_id") != std::string::npos) << r;
  }
}

TEST_F(SdkTest, InitRulesAndRecordNumbers) {
  EXPECT_TRUE(Sdk::Init("other", "http://elsewhere", "device-2", true)) << "an existing instance stays";
  Sdk::Track("e", PropertiesNode());
  EXPECT_NE(std::string::npos, Records()[0].find("\"distinct_id\":\"device-1\""));
  Sdk::Shutdown();
  EXPECT_FALSE(Sdk::Init(staging_.string(), "", "", false));
  EXPECT_EQ(nullptr, Sdk::Instance());
  EXPECT_EQ("The Distinct ID is empty.\n", messages_);
  Sdk::Track("e", PropertiesNode());  // no instance: nothing happens
  ASSERT_TRUE(Sdk::Init(staging_.string(), "", "device-3", false));
  EXPECT_FALSE(Sdk::Instance()->Consumer().FlushAll()) << "no collector address: the send fails";
  EXPECT_EQ(1u, Sdk::Instance()->Consumer().Records().size()) << "the closed queue's record came back from staging";
  for (int i = 0; i < 200; ++i) {
    const int64_t id = Sdk::NewTrackId(1700000001234);
    EXPECT_GE(id, 0);
    EXPECT_LE(id, 989989999);
    EXPECT_EQ(1234, id % 10000);
  }
}

}  // namespace
