#include "download/CurlClient.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <vector>

#include "app/Files.h"
#include "app/Log.h"

namespace {

std::mutex g_reporterMutex;
DownloadFailureReporter g_reporter;

void ReportLengthFailure(long status) {
  wchar_t reason[200];
  std::swprintf(reason, 200, L"1.获取文件大小的状态码为=%ld；", status);
  std::lock_guard<std::mutex> lock(g_reporterMutex);
  if (g_reporter) g_reporter(reason);
}

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

// A large stdio buffer keeps the writes to the partial file few.
constexpr size_t kFileBuffer = 1 << 20;

}  // namespace

void SetDownloadFailureReporter(DownloadFailureReporter reporter) {
  std::lock_guard<std::mutex> lock(g_reporterMutex);
  g_reporter = std::move(reporter);
}

CurlClient::CurlClient(std::wstring url, std::wstring filePath, void* owner, ProgressHook hook)
    : url_(std::move(url)), filePath_(std::move(filePath)), owner_(owner), hook_(hook) {}

CurlClient::~CurlClient() {
  Utils::RemoveFile(GetPath(true));
  stop_ = true;
}

int CurlClient::SetProbeOptions(CURL* handle, const std::string& url, bool followRedirects) {
  int options = curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  if (followRedirects) options |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Discard);
  options |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
  return options;
}

int CurlClient::SetTransferOptions(CURL* handle, const std::string& url, curl_write_callback write, void* writeData,
                                   curl_xferinfo_callback progress, void* progressData) {
  int options = curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  options |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_TIMEOUT, 0L);
  options |= curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  options |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, write);
  options |= curl_easy_setopt(handle, CURLOPT_WRITEDATA, writeData);
  options |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  options |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, progress);
  options |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, progressData);
  options |= curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
  options |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
  return options;
}

CURL* CurlClient::Head(const std::string& url) {
  CURL* handle = curl_easy_init();
  CURLcode result = CURLE_OK;
  if (handle == nullptr) {
    ZLOG(L"error:%d:%s\r\n", 0, "no handle");
    return nullptr;
  }
  const int options = SetProbeOptions(handle, url, true);
  if (options != CURLE_OK) {
    result = static_cast<CURLcode>(options);
  } else {
    result = curl_easy_perform(handle);
    if (result != CURLE_OK) ZLOG(L"error:%d:%s\r\n", static_cast<int>(result), curl_easy_strerror(result));
  }
  ZLOG(L"error:%d:%s\r\n", static_cast<int>(result), curl_easy_strerror(result));
  return handle;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
  curl_off_t length = -1;
  const CURLcode query = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  ZLOG(L"error:%d:%s\r\n", static_cast<int>(query), curl_easy_strerror(query));
  long status = 0;
  if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status >= 200 && status <= 399) {
    return static_cast<double>(length);
  }
  ReportLengthFailure(status);
  return -1.0;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
  curl_off_t length = -1;
  int logged = 0;
  if (CURL* handle = curl_easy_init()) {
    int options = SetProbeOptions(handle, url, false);  // redirects are not followed here
    options |= curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
    if (options != CURLE_OK) {
      logged = options;
    } else {
      curl_easy_perform(handle);
      curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      long status = 0;
      const CURLcode query = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
      logged = query;
      if (query != CURLE_OK || status < 200 || status > 400) ReportLengthFailure(status);
    }
    curl_easy_cleanup(handle);
  }
  ZLOG(L"error:%d:%s\r\n", logged, curl_easy_strerror(static_cast<CURLcode>(logged)));
  return static_cast<double>(length);
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
  std::string result;
  if (CURL* handle = curl_easy_init()) {
    if (SetProbeOptions(handle, url, true) == CURLE_OK) {
      const CURLcode performed = curl_easy_perform(handle);
      char* effective = nullptr;
      if (performed != CURLE_OK) {
        ZLOG(L"error:%d:%s\r\n", static_cast<int>(performed), curl_easy_strerror(performed));
      } else if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective) {
        result = effective;
      }
    }
    curl_easy_cleanup(handle);
  }
  return result.empty() ? url : result;
}

size_t CurlClient::Write(char* data, size_t size, size_t count, void* self) {
  auto* client = static_cast<CurlClient*>(self);
  const size_t written = std::fwrite(data, 1, size * count, client->partial_);
  client->digest_->Update(data, written);
  client->digested_ += static_cast<int64_t>(written);
  return written;
}

void CurlClient::PrepareDigest(const std::wstring& partialPath, int64_t bytes) {
  const std::string expected = GetUrlMd5(finalUrl_);
  if (digest_ && digest_->Expected() == expected && digested_ == bytes) return;  // our own earlier transfer
  // a partial file the digest has not seen (or not all of): read what is there
  digest_ = std::make_unique<StreamDigest>(expected);
  digested_ = 0;
  if (bytes <= 0 || !digest_->Active()) {
    digested_ = std::max<int64_t>(bytes, 0);
    return;
  }
  digested_ = std::max<int64_t>(DigestFile(*digest_, partialPath, bytes), 0);
}

int32_t CurlClient::Start() {
  ZLOG(L"start download\r\n");
  const std::string url = CurlUrlText(url_);
  const std::wstring partialPath = GetPath(true);
  const auto lengthKnown = [&] { return !finalUrl_.empty() && fileLength_ >= kSmallestPackage; };

  if (!lengthKnown()) {
    CURL* head = Head(url);
    finalUrl_.clear();
    char* effective = nullptr;
    if (head && curl_easy_getinfo(head, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective) {
      finalUrl_ = effective;
    }
    fileLength_ = head ? GetDownloadFileLength(head) : -1.0;
    if (head) curl_easy_cleanup(head);
  }
  int32_t result = CURLE_OK;
  Utils::FilePtr partial;
  curl_slist* headers = nullptr;
  if (!lengthKnown()) {
    finalUrl_ = GetRealUrl_Str(url);
    if (!finalUrl_.empty()) fileLength_ = GetDownloadFileLength_Str(finalUrl_);
    if (fileLength_ < kSmallestPackage) result = kLengthUnknownOrTooSmall;
  }
  if (result == CURLE_OK && (handle_ = curl_easy_init()) == nullptr) result = kNoHandle;
  if (result == CURLE_OK) PrepareDigest(partialPath, Utils::FileSize(partialPath));
  if (result == CURLE_OK && !(partial = Utils::OpenFile(partialPath, "ab+"))) result = kPartialFileNotOpened;
  if (result == CURLE_OK) {
    partial_ = partial.get();
    std::setvbuf(partial.get(), nullptr, _IOFBF, kFileBuffer);
    headers = curl_slist_append(headers, "Connection: keep-alive");
    headers = curl_slist_append(headers, "Accept-Encoding: gzip, deflate");
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(handle_, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(handle_, CURLOPT_TCP_KEEPIDLE, 10L);
    curl_easy_setopt(handle_, CURLOPT_TCP_KEEPINTVL, 10L);
    int options = SetTransferOptions(handle_, finalUrl_, &CurlClient::Write, this, &CurlClient::ProgressCallback, this);
    resumeOffset_ = Utils::FileSize(partialPath);
    if (resumeOffset_ > 0) {
      options |= curl_easy_setopt(handle_, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(resumeOffset_));
    }
    result = options != CURLE_OK ? options : curl_easy_perform(handle_);
  }
  ZLOG(L"error:%d:%s\r\n", result, result > 0 ? curl_easy_strerror(static_cast<CURLcode>(result)) : "");
  if (handle_ != nullptr) {
    curl_easy_cleanup(handle_);
    handle_ = nullptr;
  }
  curl_slist_free_all(headers);
  partial_ = nullptr;
  // a write error at close means bytes were lost: the transfer is not complete
  if (partial && std::fclose(partial.release()) != 0 && result == CURLE_OK) result = CURLE_WRITE_ERROR;
  if (result == CURLE_OK) {
    Utils::RemoveFile(filePath_);
    if (!Utils::MoveFileOver(partialPath, filePath_)) {
      ZLOG(L"cannot move the partial file onto %ls\r\n", filePath_.c_str());
      result = CURLE_WRITE_ERROR;
    }
  }
  ZLOG(L"end download\r\n");
  return result;
}

int CurlClient::ProgressCallback(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
  auto* client = static_cast<CurlClient*>(self);
  if (client->stop_) return 1;
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  if (now - client->lastProgressTime_ < 1) return 0;
  client->lastProgressTime_ = now;
  curl_off_t bytesPerSecond = 0;
  if (curl_easy_getinfo(client->handle_, CURLINFO_SPEED_DOWNLOAD_T, &bytesPerSecond) != CURLE_OK) bytesPerSecond = 0;
  const double speed = static_cast<double>(bytesPerSecond);
  double percent;
  if (client->fileLength_ > kSmallestPackage) {
    percent = static_cast<double>(client->resumeOffset_ + dlnow) / client->fileLength_ * 100.0;
  } else {
    if (dlnow <= 0 || dltotal <= 0) return 0;
    percent = static_cast<double>(dlnow) * 100.0 / static_cast<double>(dltotal);
  }
  if (percent == 0.0) return 0;
  client->hook_(client->owner_, speed, 0.0, percent);
  if (dltotal != 0) {
    ZLOG(L" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(dlnow / 1048576), static_cast<int>(dltotal / 1048576),
         static_cast<double>(static_cast<float>(percent)), static_cast<double>(static_cast<float>(speed / 1024)));
  }
  return 0;
}
