// Times one download of a package and reports the process's peak working set:
//   download_bench plain|single|multi URL TARGET
// "plain" is the reference: a minimal libcurl easy transfer into a file, the best this setup allows.
// Prints "seconds=<s> peak_mib=<MiB>"; exit code 0 when the download succeeded.
#include <windows.h>
#include <psapi.h>

#include <curl/curl.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "app/TextConvert.h"
#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"

namespace {

bool Plain(const std::string& url, const std::wstring& target) {
  FILE* file = _wfopen(target.c_str(), L"wb");
  if (!file) return false;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 512L * 1024);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  fclose(file);
  return result == CURLE_OK;
}

template <typename D>
bool Ours(const std::wstring& url, const std::wstring& target) {
  std::mutex mutex;
  std::condition_variable done;
  int outcome = 0;
  D downloader(
      [&](int32_t code, double, const wchar_t*) {
        if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL || code == DL_CODE_RETRY) {
          std::lock_guard<std::mutex> lock(mutex);
          outcome = code;
          done.notify_all();
        }
      },
      url, target);
  downloader.Start();
  std::unique_lock<std::mutex> lock(mutex);
  done.wait(lock, [&] { return outcome != 0; });
  return outcome == DL_CODE_SUCCESS;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: download_bench plain|single|multi URL TARGET\n");
    return 2;
  }
  const std::wstring mode = argv[1], url = argv[2], target = argv[3];
  curl_global_init(CURL_GLOBAL_ALL);
  const auto started = std::chrono::steady_clock::now();
  bool ok = false;
  if (mode == L"plain") ok = Plain(Utils::ToUtf8(url), target);
  if (mode == L"single") ok = Ours<CCurlDownloader>(url, target);
  if (mode == L"multi") ok = Ours<CMTCurlDownloader>(url, target);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  std::printf("seconds=%.3f peak_mib=%.1f\n", seconds, counters.PeakWorkingSetSize / 1048576.0);
  curl_global_cleanup();
  return ok ? 0 : 1;
}
