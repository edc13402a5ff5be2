// The record queue against the collector fixture over loopback, and the batch encoding decoded back.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "analytics/sdk/BatchEncoding.h"
#include "analytics/sdk/RecordQueue.h"
#include "tests/support/Collector.h"
#include "tests/support/PackageServer.h"

namespace {

const auto* const kCurl = ::testing::AddGlobalTestEnvironment(new testsupport::CurlEnvironment);

using analytics_core::RecordQueue;
using testsupport::CollectorBase;
using testsupport::Received;

std::string Record(int n) { return "{\"n\":" + std::to_string(n) + "}"; }

std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int i = first; i <= last; ++i) v.push_back(i);
  return v;
}

class RecordQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    bin_ = info->name();
    staging_ = std::filesystem::temp_directory_path() / ("zavix-staging-" + bin_);
    std::filesystem::remove(staging_);
  }
  void TearDown() override { std::filesystem::remove(staging_); }
  std::string Url(int status, const std::string& delay = "") const {
    return CollectorBase() + "/collect/" + std::to_string(status) + "/" + (delay.empty() ? "" : delay + "/") + bin_;
  }
  std::string Staging() const { return staging_.string(); }
  std::vector<int> Numbers(const RecordQueue& q) const {
    std::vector<int> ns;
    for (const std::string& r : q.Records()) ns.push_back(std::stoi(r.substr(5)));
    return ns;
  }

  std::string bin_;
  std::filesystem::path staging_;
};

TEST_F(RecordQueueTest, CapacityDropsTheOldest) {
  RecordQueue q(Url(200), Staging());
  for (int i = 1; i <= 1030; ++i) q.Enqueue(Record(i));
  EXPECT_EQ(Range(7, 1030), Numbers(q));
}

TEST_F(RecordQueueTest, BatchesOfThirty) {
  RecordQueue q(Url(200), Staging());
  for (int i = 1; i <= 45; ++i) q.Enqueue(Record(i));
  EXPECT_TRUE(q.FlushAll());
  EXPECT_TRUE(analytics_core::LastSendOk());
  EXPECT_EQ((std::vector<std::vector<int>>{Range(1, 30), Range(31, 45)}), Received(bin_));
  EXPECT_TRUE(q.Records().empty());
  const std::string json = testsupport::HttpGet(CollectorBase() + "/batches/" + bin_);
  EXPECT_NE(std::string::npos, json.find("\"agent\": \"BrellAnalytics CPP SDK 0.9\""));
}

TEST_F(RecordQueueTest, BatchTextReachesTheCollectorByteForByte) {
  RecordQueue q(Url(200), Staging());
  const std::vector<std::string> records = {R"({"a":"\u5b89 \"q\"\t","n":1})",
                                            "{\"event\":\"BrEventTask\",\"n\":2,\"x\":[\"\xE5\xAE\x89\"]}"};
  for (const std::string& r : records) q.Enqueue(r);
  EXPECT_TRUE(q.FlushAll());
  EXPECT_EQ("[" + records[0] + "," + records[1] + "]", testsupport::HttpGet(CollectorBase() + "/raw/" + bin_ + "/0"));
}

TEST_F(RecordQueueTest, FailedSendsKeepTheRecords) {
  // Refused, too slow, nobody listening, no address at all.
  for (const std::string& url : {Url(201), Url(500), Url(200, "5"), std::string("http://127.0.0.1:1/collect"),
                                 std::string()}) {
    std::filesystem::remove(staging_);  // the previous queue left its records there
    RecordQueue q(url, Staging());
    for (int i = 1; i <= 3; ++i) q.Enqueue(Record(i));
    EXPECT_FALSE(q.Flush()) << url;
    EXPECT_FALSE(analytics_core::LastSendOk());
    EXPECT_EQ(Range(1, 3), Numbers(q));
  }
}

TEST_F(RecordQueueTest, FailedBatchPutsBackWhatStillFits) {
  RecordQueue q(Url(500, "1"), Staging());
  for (int i = 1; i <= 1024; ++i) q.Enqueue(Record(i));
  std::thread flush([&] { EXPECT_FALSE(q.Flush()); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the batch of 1..30 is out, the post is slow
  for (int i = 2001; i <= 2025; ++i) q.Enqueue(Record(i));     // 994 + 25: five places are free
  flush.join();
  std::vector<int> expected = Range(26, 30);
  const std::vector<int> rest = Range(31, 1024), added = Range(2001, 2025);
  expected.insert(expected.end(), rest.begin(), rest.end());
  expected.insert(expected.end(), added.begin(), added.end());
  EXPECT_EQ(expected, Numbers(q));
}

TEST_F(RecordQueueTest, StagingFileLoadsWholeRecordsAndIsEmptied) {
  std::ofstream(staging_) << Record(1) << "\n\nplain text\n" << Record(2) << "\n";
  RecordQueue q(Url(200), Staging());
  q.Enqueue(Record(3));
  EXPECT_TRUE(q.FlushAll());
  EXPECT_EQ((std::vector<std::vector<int>>{{1, 2, 3}}), Received(bin_));
  EXPECT_EQ(0u, std::filesystem::file_size(staging_));
}

TEST_F(RecordQueueTest, FullQueueEmptiesTheStagingFileUnread) {
  std::ofstream(staging_) << Record(5000) << "\n";
  RecordQueue q(Url(500), Staging());
  for (int i = 1; i <= 1024; ++i) q.Enqueue(Record(i));
  EXPECT_FALSE(q.Flush());
  EXPECT_EQ(0u, std::filesystem::file_size(staging_));
  EXPECT_EQ(Range(1, 1024), Numbers(q));
}

TEST_F(RecordQueueTest, CloseKeepsTheQueueForTheNextRun) {
  {
    RecordQueue q(Url(500), Staging());
    for (int i = 1; i <= 3; ++i) q.Enqueue(Record(i));
    q.Close();
  }
  RecordQueue next(Url(200), Staging());
  next.Enqueue(Record(4));
  EXPECT_TRUE(next.FlushAll());
  EXPECT_EQ((std::vector<std::vector<int>>{{1, 2, 3, 4}}), Received(bin_));
}

std::string UrlDecode(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%') {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string Base64Decode(const std::string& s) {
  static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned bits = 0, value = 0;
  for (char c : s) {
    if (c == '=') break;
    value = (value << 6) | static_cast<unsigned>(alphabet.find(c));
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((value >> bits) & 0xFF);
    }
  }
  return out;
}

std::string Gunzip(const std::string& bytes) {
  z_stream stream{};
  inflateInit2(&stream, 31);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out(1 << 20, '\0');
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(Z_STREAM_END, inflate(&stream, Z_FINISH));
  out.resize(stream.total_out);
  inflateEnd(&stream);
  return out;
}

TEST(BatchEncoding, DecodesBackToTheBatchText) {
  EXPECT_EQ("", analytics_core::Base64(""));
  EXPECT_EQ("Zg==", analytics_core::Base64("f"));
  EXPECT_EQ("Zm8=", analytics_core::Base64("fo"));
  EXPECT_EQ("Zm9v", analytics_core::Base64("foo"));
  EXPECT_EQ("a-._~%2B%2F%3D%20%E5", analytics_core::UrlEncode("a-._~+/= \xE5"));
  std::string batch = "[";
  for (int i = 0; i < 30; ++i) batch += (i ? "," : "") + Record(i) + "\xE5\xAE\x89";
  batch += "]";
  const std::optional<std::string> body = analytics_core::EncodeBatch(batch);
  ASSERT_TRUE(body);
  ASSERT_EQ(0u, body->rfind("data_list=", 0));
  ASSERT_TRUE(body->ends_with("&gzip=1"));
  const std::string field = body->substr(10, body->size() - 10 - 7);
  EXPECT_EQ(std::string::npos, field.find_first_of("+/="));
  EXPECT_EQ(batch, Gunzip(Base64Decode(UrlDecode(field))));
}

}  // namespace
