// CCurlDownloader: the single-stream libcurl downloader (DownloadType 1, the default). Transfers with
// CurlClient on its worker, retries within a budget while resuming the partial file, then checks the
// package against the digest in its address. Windows only.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/Thread.h"
#include "download/CurlClient.h"
#include "download/Downloader.h"
#include "install/StatusCodes.h"

class CCurlDownloader : public CDownloader {
 public:
  CCurlDownloader(StatusCallback callback, std::wstring url, std::wstring filePath);
  ~CCurlDownloader() override;
  void Start() override;

 private:
  static uint32_t dlThreadFun(void* self);
  static void ProgressHook(void* owner, double speed, double reserved, double percent);
  // Pauses between attempts; false when the downloader is being destroyed.
  bool Pause(int milliseconds);

  StatusCallback callback_;
  std::wstring filePath_;
  std::wstring url_;
  CurlClient client_;
  std::unique_ptr<Utils::Thread> worker_;
  // A worker that restarted the download from inside its own callback cannot wait for itself; it is
  // kept here and joined later.
  std::vector<std::unique_ptr<Utils::Thread>> finishedWorkers_;
  bool retried_ = false;
  std::atomic<bool> stopping_{false};
};
