#include "install/Installer.h"

#include "app/InstallerSettings.h"
#include "app/Log.h"
#include "install/ReportParser.h"

CInstaller::CInstaller(StatusCallback callback, std::wstring packageCommand, std::wstring installFolder,
                       bool desktop, bool quickLaunch, bool adminact)
    : m_InstallFolder(std::move(installFolder)),
      m_QuickLaunch(quickLaunch),
      m_Desktop(desktop),
      m_Adminact(adminact),
      callback_(std::move(callback)),
      packageCommand_(std::move(packageCommand)) {}

CInstaller::~CInstaller() { worker_.reset(); }

std::wstring CInstaller::BuildCommandLine() const {
  auto flag = [](bool b) { return b ? L"true" : L"false"; };
  std::wstring line = packageCommand_ + L" /S -console=show -version=1.0.0";
  line += std::wstring(L" -adminact=") + flag(m_Adminact);
  line += std::wstring(L" -authorizationact=") + flag(m_Authorizationact);
  line += std::wstring(L" -dsc=") + flag(m_Desktop);
  line += std::wstring(L" -ssc=") + flag(m_QuickLaunch);
  if (!m_InstallLanguage.empty()) line += L" -inslang=\"" + m_InstallLanguage + L"\"";
  if (!g_Settings.InstCmd.empty()) line += L" " + g_Settings.InstCmd;
  if (!m_InstallFolder.empty()) {
    line += L" -instdir=\"" + m_InstallFolder + L"\"";
    line += L" /D=" + m_InstallFolder;  // last and unquoted, as the package expects
  }
  return line;
}

void CInstaller::Start() {
  commandLine_ = BuildCommandLine();
  worker_.reset();  // waits for the previous run
  worker_ = std::make_unique<Utils::Thread>([this](void*) { return Run(); }, this, L"ABDEF");
  worker_->Resume();
}

int32_t CInstaller::Parse(const std::wstring& text) {
  return ParseReport(ReportKind::Setup, text, callback_, codePage_);
}

uint32_t CInstaller::Run() {
  callback_(IST_CODE_START, 0, L"");
  callback_(IST_CODE_PROGRESS, 0, L"");
  const auto verdict = Utils::RunReportingChild(
      child_, commandLine_, [this](std::string_view line) { return Parse(Utils::DecodeCodePage(codePage_, line)); },
      true);
  if (!verdict) {
    callback_(IST_CODE_FAIL, 2, L"");
  } else if (*verdict == kVerdictNone) {
    callback_(IST_CODE_SUCCESS, 1, L"");  // ended without a verdict
  }
  return 0;
}
