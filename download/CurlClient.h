// CurlClient: the transfer engine of the single-stream downloader. Probes the package address for its
// final URL and length, downloads into "<file>.part", resumes that file on the next call and moves it
// onto the target when complete. Owned by CCurlDownloader; runs on its worker.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <cstdint>
#include <functional>
#include <string>

#include "download/Digest.h"

// Where the length probes report a bad status (an analytics task event once the tracker exists).
using DownloadFailureReporter = std::function<void(const std::wstring& reason)>;
void SetDownloadFailureReporter(DownloadFailureReporter reporter);

// The 8-bit form of a package address that libcurl receives: UTF-8, but a "file:///" address in the
// system's ANSI code page (that is how libcurl opens local files on Windows).
std::string CurlUrlText(const std::wstring& url);

class CurlClient {
 public:
  using ProgressHook = void (*)(void* owner, double speed, double reserved, double percent);

  // Results of Start besides 0 and libcurl's codes.
  static constexpr int32_t kPartialFileNotOpened = -996;
  static constexpr int32_t kNoHandle = -997;
  static constexpr int32_t kLengthUnknownOrTooSmall = -998;
  static constexpr int64_t kSmallestPackage = 1048576;  // 1 MiB

  CurlClient(std::wstring url, std::wstring filePath, void* owner, ProgressHook hook);
  // Deletes the partial file and stops a running transfer at its next progress call.
  ~CurlClient();
  CurlClient(const CurlClient&) = delete;
  CurlClient& operator=(const CurlClient&) = delete;

  std::wstring GetPath(bool partial) const { return partial ? filePath_ + L".part" : filePath_; }
  // One transfer, blocking: 0 when the package is complete at the target path, else a libcurl result
  // or one of the negative results above. The partial file survives failures and is resumed.
  int32_t Start();
  // Makes a running transfer end with 42 at its next progress call.
  void Stop() { stop_ = true; }
  // The address after redirects, once probed.
  const std::string& FinalUrl() const { return finalUrl_; }
  // After a successful Start: the package's digest of the kind its address asks for, computed while
  // the bytes arrived (so checking it costs no second read of the package); "" when none is asked.
  std::string PackageDigest() const { return digest_ ? digest_->Hex() : std::string(); }

  // Large reads matter where the socket path is slow (Wine spends its time per receive call).
  static constexpr long kReceiveBuffer = 512 * 1024;
  // The options every bodiless probe shares: address, redirects as asked, no body, a 60 s connection
  // limit. Returns the options' results combined (0 when all were set).
  static int SetProbeOptions(CURL* handle, const std::string& url, bool followRedirects);
  // The options every body transfer shares: address, redirects followed, no overall time limit, the
  // receive buffer, the write and progress callbacks, HTTP errors as failures, a 60 s connection limit.
  static int SetTransferOptions(CURL* handle, const std::string& url, curl_write_callback write, void* writeData,
                                curl_xferinfo_callback progress, void* progressData);

  static CURL* Head(const std::string& url);
  static double GetDownloadFileLength(CURL* handle);
  static double GetDownloadFileLength_Str(const std::string& url);
  static std::string GetRealUrl_Str(const std::string& url);

 private:
  static int ProgressCallback(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t);
  static size_t Write(char* data, size_t size, size_t count, void* self);
  // Brings the running digest to the first `bytes` bytes of the partial file.
  void PrepareDigest(const std::wstring& partialPath, int64_t bytes);

  std::wstring url_;
  std::wstring filePath_;
  void* owner_;
  CURL* handle_ = nullptr;
  ProgressHook hook_;
  double fileLength_ = -1.0;
  int64_t resumeOffset_ = -1;
  int64_t lastProgressTime_ = 0;
  std::atomic<bool> stop_{false};
  std::string finalUrl_;
  std::FILE* partial_ = nullptr;  // open during a transfer
  std::unique_ptr<StreamDigest> digest_;
  int64_t digested_ = 0;  // bytes of the partial file the digest has seen
};
