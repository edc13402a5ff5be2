#include "download/WinDownloader.h"

#include "app/Log.h"
#include "download/UrlEscape.h"

STDMETHODIMP CWinDownloader::CBindCallback::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IBindStatusCallback || riid == IID_IBindStatusCallbackEx) {
    *object = static_cast<IBindStatusCallbackEx*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CWinDownloader::CBindCallback::OnProgress(ULONG progress, ULONG maximum, ULONG, LPCWSTR) {
  if (cancelled) return E_ABORT;
  if (maximum != 0 && callback) callback(DL_CODE_PROGRESS, static_cast<double>(progress) / maximum, L"");
  return S_OK;
}

STDMETHODIMP CWinDownloader::CBindCallback::GetBindInfo(DWORD*, BINDINFO* info) {
  if (info != nullptr) info->dwCodePage = CP_UTF8;
  return E_NOTIMPL;
}

CWinDownloader::CWinDownloader(StatusCallback callback, std::wstring url, std::wstring filePath)
    : callback_(std::move(callback)), filePath_(std::move(filePath)), url_(std::move(url)) {
  worker_ = std::make_unique<Utils::Thread>(&CWinDownloader::Run, this, L"ABDEF");
}

CWinDownloader::~CWinDownloader() {
  bindCallback_.cancelled = true;
  // a worker that was never started still waits suspended: let it run to its end, which it finds at once
  if (!started_) worker_->Resume();
  worker_.reset();
}

void CWinDownloader::Start() {
  if (started_) return;
  started_ = true;
  bindCallback_.callback = callback_;
  worker_->Resume();
}

uint32_t CWinDownloader::Run(void* self) {
  auto* d = static_cast<CWinDownloader*>(self);
  if (d->bindCallback_.cancelled) return 0;
  CoInitialize(nullptr);
  d->callback_(DL_CODE_START, 1.0, L"");
  if (d->filePath_.empty()) {
    d->callback_(DL_CODE_FAIL, 1.0, L"");
    CoUninitialize();
    return 0;
  }
  const std::wstring address = d->url_.rfind(L"file:///", 0) == 0 ? d->url_ : EscapeDownloadUrl(d->url_);
  for (int attempt = 1;; ++attempt) {
    const HRESULT hr = URLDownloadToFileW(nullptr, address.c_str(), d->filePath_.c_str(), 0, &d->bindCallback_);
    if (hr == S_OK) {
      d->callback_(DL_CODE_SUCCESS, 0.0, L"URLDownloadToFile");
      break;
    }
    ZLOG(L"URLDownloadToFile: 0x%08lX\r\n", static_cast<unsigned long>(hr));
    for (int waited = 0; waited < 1000 && !d->bindCallback_.cancelled; waited += 50) Sleep(50);
    if (attempt == 3 || d->bindCallback_.cancelled) {
      d->callback_(DL_CODE_FAIL, static_cast<double>(static_cast<int32_t>(hr)), L"URLDownloadToFile");
      break;
    }
  }
  CoUninitialize();
  return 0;
}
