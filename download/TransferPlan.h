// The arithmetic of the libcurl downloaders: how many failed transfers a download may spend, and how
// a package is split into byte ranges for parallel parts.
#pragma once

#include <cstdint>
#include <vector>

// 12 points; a transfer that ended with libcurl's "partial file" (18) costs 1, any other failure 2.
// The single-stream downloader charges a failure and gives up when nothing is left; a part of the
// multi-part downloader tries again as long as something was left before the charge.
class RetryBudget {
 public:
  void Charge(int result) { points_ -= result == 18 ? 1 : 2; }
  bool Left() const { return points_ > 0; }

 private:
  int points_ = 12;
};

struct ByteRange {
  int64_t first;
  int64_t last;  // inclusive
};

constexpr int64_t kSplitUnit = 10485760;  // 10 MiB
constexpr int64_t kSmallestPackage = 256;

// At most two parts, one per 10 MiB; the last part takes the remainder.
std::vector<ByteRange> SplitIntoParts(int64_t length);
