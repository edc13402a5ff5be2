#include "download/MTCurlDownloader.h"

#include <ctime>
#include <thread>

#include "app/InstallerSettings.h"
#include "app/Log.h"
#include "download/CurlClient.h"
#include "download/Digest.h"
#include "download/TransferPlan.h"

CMTCurlDownloader::CMTCurlDownloader(StatusCallback callback, std::wstring url, std::wstring filePath)
    : callback_(std::move(callback)), filePath_(std::move(filePath)), url_(std::move(url)) {
  Utils::RemoveFile(filePath_);
  DeletePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
  stopping_ = true;  // running transfers abort at their next progress call
  worker_.reset();
  std::unique_lock<std::mutex> lock(threadsMutex_);
  threadsDone_.wait(lock, [this] { return liveThreads_ == 0; });
  lock.unlock();
  CleanUpNodes();
}

void CMTCurlDownloader::LaunchDetached(std::function<void()> body) {
  {
    std::lock_guard<std::mutex> lock(threadsMutex_);
    ++liveThreads_;
  }
  std::thread([this, body = std::move(body)] {
    body();
    std::lock_guard<std::mutex> lock(threadsMutex_);
    --liveThreads_;
    threadsDone_.notify_all();
  }).detach();
}

bool CMTCurlDownloader::Pause(int milliseconds) {
  for (int waited = 0; waited < milliseconds && !stopping_; waited += 50) Sleep(50);
  return !stopping_;
}

void CMTCurlDownloader::DeletePartFiles() {
  Utils::RemoveFile(PartPath(0));
  Utils::RemoveFile(PartPath(1));
}

void CMTCurlDownloader::Start() {
  worker_.reset();  // Start_Down ends right after launching its threads, so this wait is short
  worker_ = std::make_unique<Utils::Thread>(&CMTCurlDownloader::Start_Down, this, L"ABDEF");
  worker_->Resume();
}

uint32_t CMTCurlDownloader::Start_Down(void* self) {
  auto* d = static_cast<CMTCurlDownloader*>(self);
  d->callback_(DL_CODE_START, 1.0, L"");
  ZLOG(L"start download\r\n");
  const std::string url = CurlUrlText(d->url_);
  Utils::RemoveFile(d->filePath_);
  if (d->progress_ == 0) d->DeletePartFiles();
  if (d->finalUrl_.empty() || d->fileLength_ < kSmallestPackage) {
    if (!d->getRealDownloadUrl(url)) {
      d->callback_(DL_CODE_FAIL, 0.0, L"LibCurl");
      return 0;
    }
  }
  const std::vector<ByteRange> ranges = SplitIntoParts(d->fileLength_);
  for (size_t i = 0; i < ranges.size(); ++i) {
    auto node = std::make_unique<DownloadPartNode>();
    node->partPath = d->PartPath(static_cast<int>(i));
    const int64_t existing = std::max<int64_t>(Utils::FileSize(node->partPath), 0);
    if (i == 0) d->PrepareDigest(existing);
    node->downloaded = existing;
    node->next = ranges[i].first + existing;
    node->end = ranges[i].last;
    node->handle = curl_easy_init();
    node->url = d->finalUrl_;
    if (i == 0) node->digest = d->digest_.get();
    if (node->next > node->end) {
      node->state = 0;
    } else {
      node->state = -1;
      node->file = Utils::OpenFile(node->partPath, "ab+");
      if (!node->file) node->state = -2;
    }
    d->parts_.push_back(std::move(node));
  }
  for (auto& node : d->parts_) {
    if (node->state != -1) continue;
    ++d->runningParts_;
    DownloadPartNode* n = node.get();
    d->LaunchDetached([d, n] { d->downloadThreadFun(n); });
    d->Pause(100);
  }
  d->LaunchDetached([d] { d->waitForFinishThreadFun(); });
  return 0;
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& url) {
  finalUrl_.clear();
  expectedDigest_.clear();
  fileLength_ = 0;
  if (!g_Settings.CurlReady) return false;
  CURL* handle = curl_easy_init();
  if (handle == nullptr) return false;
  curl_slist* headers = curl_slist_append(nullptr, "Connection: keep-alive");
  int options = curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  options |= CurlClient::SetProbeOptions(handle, url, true);
  if (options == CURLE_OK && curl_easy_perform(handle) == CURLE_OK) {
    char* effective = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective && *effective) {
      finalUrl_ = effective;
      ZLOG(L"Download File real url %s\r\n", finalUrl_.c_str());
      expectedDigest_ = GetUrlMd5(finalUrl_);
    }
    curl_off_t length = -1;
    long status = 0;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status >= 200 && status <= 399) {
      fileLength_ = length;
      ZLOG(L"Download File Length %lld\r\n", static_cast<long long>(fileLength_));
    }
  }
  curl_easy_cleanup(handle);
  curl_slist_free_all(headers);
  return !finalUrl_.empty() && fileLength_ >= kSmallestPackage;
}

void CMTCurlDownloader::downloadThreadFun(DownloadPartNode* node) {
  int32_t result = downloadExe(node);
  RetryBudget budget;
  while (result != 0 && !stopping_ && budget.Left()) {
    budget.Charge(result);
    ZLOG(L"CurlDownLoader Code=%d\r\n", result);
    if (!Pause(400)) break;
    result = downloadExe(node);
  }
  node->file.reset();
  --runningParts_;
}

int32_t CMTCurlDownloader::downloadExe(DownloadPartNode* node) {
  char range[64];
  std::snprintf(range, sizeof(range), "%lld-%lld", static_cast<long long>(node->next),
                static_cast<long long>(node->end));
  CURL* h = node->handle;
  if (h == nullptr) return CURLE_FAILED_INIT;
  int options = curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  options |= CurlClient::SetTransferOptions(h, node->url, &CMTCurlDownloader::WritePart, node,
                                           &CMTCurlDownloader::Progress, this);
  options |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  options |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 5L);
  options |= curl_easy_setopt(h, CURLOPT_RANGE, range);
  if (options != CURLE_OK) return options;
  const CURLcode result = curl_easy_perform(h);
  if (result != CURLE_OK) {
    ZLOG(L"error:%d:%s\r\n", static_cast<int>(result), curl_easy_strerror(result));
  } else {
    ZLOG(L"curl_easy_cleanup\r\n");
  }
  curl_easy_reset(h);
  // a write error at close means bytes were lost: the part is not complete
  if (result == CURLE_OK && node->file && std::fclose(node->file.release()) != 0) {
    node->state = CURLE_WRITE_ERROR;
    return CURLE_WRITE_ERROR;
  }
  node->state = result;
  return result;
}

void CMTCurlDownloader::PrepareDigest(int64_t existing) {
  digest_ = std::make_unique<StreamDigest>(expectedDigest_);
  if (!digest_->Active() || existing <= 0) return;
  DigestFile(*digest_, PartPath(0), existing);
}

size_t CMTCurlDownloader::WritePart(char* data, size_t size, size_t count, void* user) {
  auto* node = static_cast<DownloadPartNode*>(user);
  const int64_t n = static_cast<int64_t>(size * count);
  if (!node->file || node->next > node->end) return 0;
  const int64_t wanted = std::min(n, node->end - node->next + 1);
  const size_t written = std::fwrite(data, 1, static_cast<size_t>(wanted), node->file.get());
  if (node->digest) node->digest->Update(data, written);
  node->next += static_cast<int64_t>(written);
  node->downloaded += static_cast<int64_t>(written);
  return written;
}

int CMTCurlDownloader::Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* d = static_cast<CMTCurlDownloader*>(self);
  if (d->stopping_) return 1;
  std::lock_guard<std::mutex> lock(d->lock_);
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  if (now - d->lastProgressTime_ < 1) return 0;
  d->lastProgressTime_ = now;
  double percent = 0;
  if (d->fileLength_ >= kSmallestPackage) {
    for (const auto& node : d->parts_) {
      if (node->downloaded > 0) percent += static_cast<double>(node->downloaded) * 100.0 / d->fileLength_;
    }
  }
  if (percent > 100 || percent - d->progress_ < 1.0) return 0;
  d->progress_ = percent;
  d->callback_(DL_CODE_PROGRESS, percent / 100, L"");
  return 0;
}

void CMTCurlDownloader::CleanUpNodes() {
  for (auto& node : parts_) {
    if (node->handle) curl_easy_cleanup(node->handle);
    node->file.reset();
  }
  parts_.clear();
}

bool CMTCurlDownloader::Join() {
  Utils::FilePtr first = Utils::OpenFile(PartPath(0), "ab+");
  if (!first) return false;
  bool ok = true;
  std::vector<char> buffer(1 << 20);
  for (size_t i = 1; i < parts_.size() && ok; ++i) {
    Utils::FilePtr part = Utils::OpenFile(parts_[i]->partPath, "rb");
    if (!part) return false;
    size_t n;
    while (ok && (n = std::fread(buffer.data(), 1, buffer.size(), part.get())) > 0) {
      ok = std::fwrite(buffer.data(), 1, n, first.get()) == n;
      digest_->Update(buffer.data(), n);
    }
    ok = ok && !std::ferror(part.get());
    ZLOG(L"partPath::%ls\r\n", parts_[i]->partPath.c_str());
  }
  ok = std::fclose(first.release()) == 0 && ok;
  ok = ok && Utils::MoveFileOver(PartPath(0), filePath_);
  DeletePartFiles();
  return ok;
}

void CMTCurlDownloader::waitForFinishThreadFun() {
  while (runningParts_ > 0) Sleep(200);
  if (stopping_) return;  // the downloader is going away: no more events
  int32_t failure = 0;
  for (const auto& node : parts_) {
    if (node->state != 0) {
      failure = node->state;
      break;
    }
  }
  auto giveUpOrRetry = [this](int32_t value) {
    if (!retried_) {
      retried_ = true;
      callback_(DL_CODE_RETRY, value, L"LibCurl");
    } else {
      progress_ = 0;
      callback_(DL_CODE_FAIL, value, L"LibCurl");
    }
  };
  if (failure != 0) {
    CleanUpNodes();
    if (progress_ == 0) DeletePartFiles();
    giveUpOrRetry(failure);
    return;
  }
  progress_ = 0;
  if (!Join()) {
    // a package that could not be put together is not reported as downloaded
    ZLOG(L"joining the parts into %ls failed\r\n", filePath_.c_str());
    CleanUpNodes();
    giveUpOrRetry(CURLE_WRITE_ERROR);
    return;
  }
  switch (CompareDigest(expectedDigest_, digest_->Hex())) {
    case DigestCheck::NoDigest:
      callback_(DL_CODE_NOTICE, 0.0, L"mtcurl获取url-md5失败");
      break;
    case DigestCheck::Passed:
      break;
    case DigestCheck::Failed:
      callback_(DL_CODE_NOTICE, 0.0, L"mtcurl文件md5校验失败");
      Utils::RemoveFile(filePath_);
      CleanUpNodes();
      if (retried_) {
        ZLOG(L"finish recv, md5 chaek failed and retry failed.\r\n");
      } else {
        ZLOG(L"finish recv, md5 chaek failed retry once.\r\n");
      }
      giveUpOrRetry(0);
      return;
  }
  ZLOG(L"finish recv\r\n");
  CleanUpNodes();
  callback_(DL_CODE_SUCCESS, 0.0, L"LibCurl");
}
