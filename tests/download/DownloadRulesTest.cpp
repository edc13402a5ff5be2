#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "download/Digest.h"
#include "download/TransferPlan.h"
#include "download/UrlEscape.h"

namespace {

// Transfers made before giving up, for a server that fails with these results in turn.
int SingleStreamTransfers(std::vector<int> results) {
  RetryBudget budget;
  for (int transfers = 1;; ++transfers) {
    budget.Charge(results[(transfers - 1) % results.size()]);
    if (!budget.Left()) return transfers;
  }
}
int PartAttempts(std::vector<int> results) {
  RetryBudget budget;
  int attempts = 1;
  for (; budget.Left(); ++attempts) budget.Charge(results[(attempts - 1) % results.size()]);
  return attempts;
}

TEST(RetryBudget, TransfersBeforeGivingUp) {
  EXPECT_EQ(6, SingleStreamTransfers({7}));
  EXPECT_EQ(12, SingleStreamTransfers({18}));
  EXPECT_EQ(8, SingleStreamTransfers({18, 7}));
  EXPECT_EQ(7, PartAttempts({28}));
  EXPECT_EQ(13, PartAttempts({18}));
}

TEST(SplitIntoParts, Ranges) {
  const struct {
    int64_t length;
    std::vector<std::pair<int64_t, int64_t>> ranges;
  } cases[] = {
      {256, {{0, 255}}},
      {20971519, {{0, 20971518}}},
      {20971520, {{0, 10485759}, {10485760, 20971519}}},
      {20971521, {{0, 10485759}, {10485760, 20971520}}},
      {5368709121, {{0, 2684354559}, {2684354560, 5368709120}}},  // 5 GiB and one byte
  };
  for (const auto& c : cases) {
    std::vector<std::pair<int64_t, int64_t>> got;
    for (const ByteRange& r : SplitIntoParts(c.length)) got.emplace_back(r.first, r.last);
    EXPECT_EQ(c.ranges, got) << c.length;
  }
}

TEST(UrlEscape, SystemDownloadAddresses) {
  const struct {
    const wchar_t* url;
    const wchar_t* escaped;
  } cases[] = {
      {L"http://h/a b/c.exe", L"http://h/a+b/c.exe"},
      {L"http://h/\u5B89\u88C5/x.exe", L"http://h/%E5%AE%89%E8%A3%85/x.exe"},
      {L"http://h/a%20b/x.exe?q=1&r=2", L"http://h/a%20b/x.exe?q=1&r=2"},
      {L"http://h/tab\there", L"http://h/tab%09here"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.escaped, EscapeDownloadUrl(c.url));
}

TEST(Digest, ExpectedDigestIsTheSegmentBeforeTheFileName) {
  const struct {
    const char* url;
    const char* digest;
  } cases[] = {
      {"http://h/software/598/0123456789abcdef0123456789abcdef/ZavixSetup.exe", "0123456789abcdef0123456789abcdef"},
      {"http://h/a//b.exe", ""},
      {"http://h/b.exe", "h"},
      {"b.exe", ""},
      {"/b.exe", ""},
      {"http://h/dir/", "dir"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.digest, GetUrlMd5(c.url)) << c.url;
}

TEST(Digest, FileChecks) {
  const auto path = std::filesystem::temp_directory_path() / "zavix-digest-test.bin";
  std::ofstream(path, std::ios::binary) << "abc";
  const std::wstring file = path.wstring();
  const std::string md5 = "900150983cd24fb0d6963f7d28e17f72";
  const std::string sha = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  EXPECT_EQ(md5, GetFileMd5(file));
  EXPECT_EQ(sha, GetFileSha256(file));
  EXPECT_EQ("", GetFileMd5(L""));
  EXPECT_EQ("", GetFileMd5(file + L".missing"));

  std::string upper = md5;
  for (char& c : upper) c = static_cast<char>(std::toupper(c));
  const struct {
    std::string expected;
    std::wstring path;
    DigestCheck check;
  } cases[] = {
      {md5, file, DigestCheck::Passed},
      {upper, file, DigestCheck::Failed},
      {"00000000000000000000000000000000", file, DigestCheck::Failed},
      {md5, file + L".missing", DigestCheck::Passed},  // unreadable: what it holds shows when it runs
      {sha, file, DigestCheck::Passed},
      {std::string(64, '0'), file, DigestCheck::Failed},
      {std::string(63, '0') + "g", file, DigestCheck::NoDigest},
      {"598", file, DigestCheck::NoDigest},
      {"", file, DigestCheck::NoDigest},
  };
  for (const auto& c : cases) EXPECT_EQ(c.check, CheckFileDigest(c.expected, c.path)) << c.expected;
  std::filesystem::remove(path);
}

}  // namespace
