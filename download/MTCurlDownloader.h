// CMTCurlDownloader: the multi-part libcurl downloader (DownloadType 3). Probes the package once, splits
// it into at most two byte ranges that download in parallel into part files, resumes part files within
// a run, joins them and checks the digest. Windows only.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/Files.h"
#include "download/Digest.h"
#include "app/Thread.h"
#include "download/Downloader.h"
#include "install/StatusCodes.h"

struct DownloadPartNode {
  Utils::FilePtr file;
  int64_t next = 0;  // absolute offset of the next byte to write
  int64_t end = 0;   // absolute offset of the range's last byte
  CURL* handle = nullptr;
  std::string url;
  std::wstring partPath;
  int32_t state = -1;  // 0 complete, -1 to download, -2 part file not opened, else the last libcurl result
  std::atomic<int64_t> downloaded{0};  // read by the other part's progress report
  StreamDigest* digest = nullptr;        // part 0 only: the package digest, fed as bytes are written
};

class CMTCurlDownloader : public CDownloader {
 public:
  CMTCurlDownloader(StatusCallback callback, std::wstring url, std::wstring filePath);
  ~CMTCurlDownloader() override;
  void Start() override;

  bool getRealDownloadUrl(const std::string& url);

 private:
  static uint32_t Start_Down(void* self);
  void downloadThreadFun(DownloadPartNode* node);
  int32_t downloadExe(DownloadPartNode* node);
  void waitForFinishThreadFun();
  static size_t WritePart(char* data, size_t size, size_t count, void* node);
  static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
  std::wstring PartPath(int index) const { return filePath_ + L"_" + std::to_wstring(index); }
  void DeletePartFiles();
  void CleanUpNodes();
  // Joins the parts into the target; the package digest takes in part 1 as it is copied.
  bool Join();
  // The digest follows part 0 as it is written (it is sequential); this brings it to the bytes that
  // part 0's file already holds.
  void PrepareDigest(int64_t existing);
  // The part and finishing threads are detached; this count lets destruction wait for all of them.
  void LaunchDetached(std::function<void()> body);
  bool Pause(int milliseconds);

  std::vector<std::unique_ptr<DownloadPartNode>> parts_;
  StatusCallback callback_;
  std::wstring filePath_;
  std::wstring url_;
  std::string finalUrl_;
  int64_t fileLength_ = -1;
  std::string expectedDigest_;
  std::unique_ptr<StreamDigest> digest_;
  double progress_ = 0;
  std::atomic<int32_t> runningParts_{0};
  std::mutex lock_;
  int64_t lastProgressTime_ = 0;
  bool retried_ = false;
  std::unique_ptr<Utils::Thread> worker_;

  std::atomic<bool> stopping_{false};
  std::mutex threadsMutex_;
  std::condition_variable threadsDone_;
  int liveThreads_ = 0;
};
