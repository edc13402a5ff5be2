// Analytics throughput against references measured in the same run:
//   records built and queued per second  vs  the same JSON text built by plain string concatenation
//   encoding a full 30-record batch       vs  zlib's own compress2 of the same bytes
// Prints each ratio (ours / reference time); targets: building within 3x, encoding within 1.2x.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analytics/sdk/BatchEncoding.h"
#include "analytics/sdk/Sdk.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double BestSeconds(int rounds, F&& body) {
  double best = 1e9;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    body();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

analytics_core::PropertiesNode TaskProperties(int i) {
  analytics_core::PropertiesNode p;
  p.SetString("br_task_name", "download");
  p.SetString("br_task_aname", "ZavixSetup.exe");
  p.SetString("br_reason", "ok");
  p.SetNumber("br_elapsed", static_cast<int64_t>(i));
  p.SetString("brc_ab", "IN");
  return p;
}

// The same record text as the core writes, by concatenation alone.
std::string PlainRecord(int i, int64_t now) {
  return "{\"_track_id\":" + std::to_string(123450000 + i) +
         ",\"distinct_id\":\"0123456789ABCDEF\",\"event\":\"BrEventTask\",\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":"
         "\"code\",\"$lib_version\":\"0.9\"},\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.9\",\"br_elapsed\":" +
         std::to_string(i) +
         ",\"br_reason\":\"ok\",\"br_task_aname\":\"ZavixSetup.exe\",\"br_task_name\":\"download\",\"brc_ab\":\"IN\"},"
         "\"time\":" +
         std::to_string(now) + ",\"type\":\"track\"}";
}

}  // namespace

int main() {
  constexpr int kRecords = 20000;
  const auto staging = std::filesystem::temp_directory_path() / "zavix-bench-staging";
  analytics_core::Sdk::Init(staging.string(), "", "0123456789ABCDEF", false);
  analytics_core::RecordQueue& queue = analytics_core::Sdk::Instance()->Consumer();

  size_t sink = 0;
  const double ours = BestSeconds(5, [&] {
    for (int i = 0; i < kRecords; ++i) analytics_core::Sdk::Track("BrEventTask", TaskProperties(i));
  });
  const double plain = BestSeconds(5, [&] {
    std::vector<std::string> texts;
    for (int i = 0; i < kRecords; ++i) texts.push_back(PlainRecord(i, 1700000000000 + i));
    sink += texts.size();
  });

  std::string batch = "[";
  const std::vector<std::string> records = queue.Records();
  for (size_t i = 0; i < 30; ++i) batch += (i ? "," : "") + records[i];
  batch += "]";
  constexpr int kBatches = 2000;
  const double encode = BestSeconds(5, [&] {
    for (int i = 0; i < kBatches; ++i) sink += analytics_core::EncodeBatch(batch)->size();
  });
  const double zlib = BestSeconds(5, [&] {
    std::vector<Bytef> out(compressBound(batch.size()));
    for (int i = 0; i < kBatches; ++i) {
      uLongf size = out.size();
      compress2(out.data(), &size, reinterpret_cast<const Bytef*>(batch.data()), batch.size(), 9);
      sink += size;
    }
  });
  analytics_core::Sdk::Shutdown();
  std::filesystem::remove(staging);

  std::printf("records: ours %.0f/s, plain concatenation %.0f/s, ratio %.2f (target <= 3)\n", kRecords / ours,
              kRecords / plain, ours / plain);
  std::printf("30-record batch (%zu bytes): ours %.1f us, zlib compress2 alone %.1f us, ratio %.2f (target <= 1.2)\n",
              batch.size(), encode / kBatches * 1e6, zlib / kBatches * 1e6, encode / zlib);
  return sink == 0;
}
