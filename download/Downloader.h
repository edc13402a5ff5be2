// CDownloader: what the install orchestration drives to fetch the setup package. Start returns at
// once; the run reports through the StatusCallback given at construction and ends with exactly one of
// DL_CODE_SUCCESS, DL_CODE_FAIL or DL_CODE_RETRY. Destroying a downloader stops a running transfer and
// waits for all of its threads.
#pragma once

class CDownloader {
 public:
  virtual ~CDownloader() = default;
  // Starts (or, after DL_CODE_RETRY, restarts) the download; may be called from inside the callback.
  virtual void Start() = 0;
};
