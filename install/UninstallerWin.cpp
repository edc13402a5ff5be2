#include "install/Uninstaller.h"

#include "app/Log.h"
#include "install/Privileges.h"
#include "install/ReportParser.h"

CUninstaller::CUninstaller(StatusCallback callback, std::wstring uninstaller, std::wstring earlierFolder)
    : callback_(std::move(callback)), uninstaller_(std::move(uninstaller)), earlierFolder_(std::move(earlierFolder)) {}

CUninstaller::~CUninstaller() { worker_.reset(); }

std::wstring CUninstaller::BuildCommandLine() const {
  auto flag = [](bool b) { return b ? L"true" : L"false"; };
  // The path is quoted so that a temporary folder with blanks still starts exactly the copy; "_?=" is
  // last and unquoted, as uninstallers expect it.
  return L"\"" + uninstaller_ + L"\" /S -adminact=" + flag(Utils::IsConsoleUserAdmin()) +
         L" -authorizationact=" + flag(Utils::IsProcessInAdministrators()) + L" -console=show _?=" + earlierFolder_;
}

void CUninstaller::Start() {
  commandLine_ = BuildCommandLine();
  worker_ = std::make_unique<Utils::Thread>([this](void*) { return Run(); }, this, L"UnInstaller");
  worker_->Resume();
}

int32_t CUninstaller::Parse(const std::wstring& text) {
  return ParseReport(ReportKind::Uninstall, text, callback_, codePage_);
}

uint32_t CUninstaller::Run() {
  const DWORD attributes = GetFileAttributesW(uninstaller_.c_str());
  if (uninstaller_.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    callback_(UNIST_CODE_FAIL, 1, L"可执行卸载文件不存在");
    return 0;
  }
  callback_(UNIST_CODE_PROGRESS, 0, L"");
  const auto verdict = Utils::RunReportingChild(
      child_, commandLine_, [this](std::string_view line) { return Parse(Utils::DecodeCodePage(codePage_, line)); },
      false);
  if (!verdict) {
    callback_(UNIST_CODE_FAIL, 2, L"");
  } else if (*verdict == kVerdictNone) {
    callback_(UNIST_CODE_SUCCESS, 1, L"");  // ended without a verdict
  }
  return 0;
}

std::wstring RemovalFolder() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) return {};
  std::wstring folder = std::wstring(temp, n);
  if (folder.back() != L'\\') folder += L'\\';
  folder += L"~BrellTemp.92482B06FB471E17\\";
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return folder;
  if (!CreateDirectoryW(folder.c_str(), nullptr)) {
    ZLOG(L"cannot create %ls: %lu\r\n", folder.c_str(), GetLastError());
    return {};
  }
  return folder;
}
