#include "download/TransferPlan.h"

#include <algorithm>

std::vector<ByteRange> SplitIntoParts(int64_t length) {
  const int64_t parts = std::clamp<int64_t>(length / kSplitUnit, 1, 2);
  const int64_t size = length / parts;
  std::vector<ByteRange> ranges;
  for (int64_t i = 0, offset = 0; i < parts; ++i, offset += size) {
    const int64_t end = i + 1 == parts ? length - 1 : offset + size - 1;
    ranges.push_back({offset, end});
  }
  return ranges;
}
