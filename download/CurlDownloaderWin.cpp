#include "download/CurlDownloader.h"

#include "app/Files.h"
#include "app/Log.h"
#include "download/Digest.h"
#include "download/TransferPlan.h"

CCurlDownloader::CCurlDownloader(StatusCallback callback, std::wstring url, std::wstring filePath)
    : callback_(std::move(callback)),
      filePath_(std::move(filePath)),
      url_(std::move(url)),
      client_(url_, filePath_, this, &CCurlDownloader::ProgressHook) {
  Utils::RemoveFile(client_.GetPath(true));  // a partial file of an earlier process is never resumed
}

CCurlDownloader::~CCurlDownloader() {
  stopping_ = true;
  client_.Stop();
  worker_.reset();
  finishedWorkers_.clear();
}

void CCurlDownloader::Start() {
  if (worker_ && worker_->Id() == GetCurrentThreadId()) {
    finishedWorkers_.push_back(std::move(worker_));
  } else {
    worker_.reset();
    finishedWorkers_.clear();
  }
  worker_ = std::make_unique<Utils::Thread>(&CCurlDownloader::dlThreadFun, this, L"ABDEF");
  worker_->Resume();
}

bool CCurlDownloader::Pause(int milliseconds) {
  for (int waited = 0; waited < milliseconds && !stopping_; waited += 50) Sleep(50);
  return !stopping_;
}

uint32_t CCurlDownloader::dlThreadFun(void* self) {
  auto* d = static_cast<CCurlDownloader*>(self);
  d->callback_(DL_CODE_START, 1.0, L"");
  if (d->filePath_.empty()) {
    d->callback_(DL_CODE_FAIL, 1.0, L"");
    return 0;
  }
  int32_t result = d->client_.Start();
  RetryBudget budget;
  while (result != 0) {
    budget.Charge(result);
    if (!budget.Left() || d->stopping_) {
      d->callback_(DL_CODE_FAIL, result, L"LibCurl");
      return 0;
    }
    ZLOG(L"CurlDownLoader Code=%d\r\n", result);
    if (!d->Pause(500)) {
      d->callback_(DL_CODE_FAIL, result, L"LibCurl");
      return 0;
    }
    result = d->client_.Start();
  }
  switch (CompareDigest(GetUrlMd5(d->client_.FinalUrl()), d->client_.PackageDigest())) {
    case DigestCheck::NoDigest:
      d->callback_(DL_CODE_NOTICE, 0.0, L"curl获取url-md5失败");
      break;
    case DigestCheck::Passed:
      break;
    case DigestCheck::Failed:
      d->callback_(DL_CODE_NOTICE, 0.0, L"curl文件md5校验失败");
      if (!d->retried_) {
        d->retried_ = true;
        d->callback_(DL_CODE_RETRY, 0.0, L"LibCurl");
      } else {
        d->callback_(DL_CODE_FAIL, 0.0, L"LibCurl");
      }
      return 0;
  }
  d->callback_(DL_CODE_SUCCESS, 0.0, L"LibCurl");
  return 0;
}

void CCurlDownloader::ProgressHook(void* owner, double speed, double, double percent) {
  if (speed > 0 && percent <= 100) static_cast<CCurlDownloader*>(owner)->callback_(DL_CODE_PROGRESS, percent / 100, L"");
}
