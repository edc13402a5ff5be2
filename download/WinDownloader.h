// CWinDownloader: the fallback downloader (DownloadType 2) through the system's URL download, followed
// by a bind-status callback for progress. Three attempts, no resume, no digest. Windows only.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <memory>
#include <string>

#include "app/Thread.h"
#include "download/Downloader.h"
#include "install/StatusCodes.h"

class CWinDownloader : public CDownloader {
 public:
  class CBindCallback : public IBindStatusCallbackEx {
   public:
    CBindCallback() = default;
    virtual ~CBindCallback() { cancelled = true; }

    // IUnknown: the object belongs to its downloader, so there is no reference counting.
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 0; }
    STDMETHODIMP_(ULONG) Release() override { return 0; }
    // IBindStatusCallback
    STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnLowResource(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP OnProgress(ULONG progress, ULONG maximum, ULONG statusCode, LPCWSTR statusText) override;
    STDMETHODIMP OnStopBinding(HRESULT, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
    STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }
    // IBindStatusCallbackEx
    STDMETHODIMP GetBindInfoEx(DWORD*, BINDINFO*, DWORD*, DWORD*) override { return E_NOTIMPL; }

    StatusCallback callback;
    std::atomic<bool> cancelled{false};
  };

  CWinDownloader(StatusCallback callback, std::wstring url, std::wstring filePath);
  ~CWinDownloader() override;
  // Runs the download once per object; a second Start does nothing.
  void Start() override;

 private:
  static uint32_t Run(void* self);

  CBindCallback bindCallback_;
  StatusCallback callback_;
  std::wstring filePath_;
  std::wstring url_;
  std::unique_ptr<Utils::Thread> worker_;
  bool started_ = false;
};
