#include "install/ReportParser.h"

#include "app/InstallerSettings.h"
#include "app/Log.h"

namespace {

constexpr size_t kLongValue = 771;

std::wstring_view Trim(std::wstring_view s) {
  const wchar_t* blanks = L" \t\r\n";
  const size_t first = s.find_first_not_of(blanks);
  if (first == std::wstring_view::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool StartsWith(std::wstring_view line, std::wstring_view key) { return line.substr(0, key.size()) == key; }

int32_t ParseSetupLine(std::wstring_view line, const StatusCallback& send, int32_t& codePage) {
  auto key = [&](std::wstring_view k, std::wstring& value) {
    if (!StartsWith(line, k)) return false;
    value.assign(line.substr(k.size()));
    if (value.size() > kLongValue) {
      // passed on whole: a shortened path would still look like a valid, different path
      ZLOG(L"report value of %zu characters after %ls\r\n", value.size(), std::wstring(k).c_str());
    }
    return true;
  };
  std::wstring v;
  if (key(L"Progress=", v)) {
    send(IST_CODE_PROGRESS, Utils::ReadDoubleText(v), L"");
  } else if (key(L"InstPath=", v)) {
    send(IST_CODE_INSTPATH, 0, v.c_str());
  } else if (key(L"State=", v)) {
    const std::wstring_view state = Trim(v);
    if (state == L"Success") {
      send(IST_CODE_SUCCESS, 0, L"");
      return kVerdictSuccess;
    }
    if (state == L"Fail") {
      send(IST_CODE_FAIL, 0, L"安装包安装失败");
      return kVerdictFailure;
    }
  } else if (key(L"ExePath=", v)) {
    ZLOG(L"ExePath: %ls", v.c_str());
    send(IST_CODE_EXEPATH, 0, v.c_str());
  } else if (key(L"StartExe=", v)) {
    send(IST_CODE_EXEPATH, 0, v.c_str());
  } else if (key(L"UninstExePath=", v) || key(L"UninstExe=", v)) {
    send(IST_CODE_UNINSTEXE, 0, v.c_str());
  } else if (key(L"UninstEp=", v)) {
    send(IST_CODE_UNINSTEP, 0, v.c_str());
  } else if (key(L"Error=", v)) {
    send(IST_CODE_FAIL, kVerdictFailure, v.c_str());
    return kVerdictFailure;
  } else if (key(L"TopShowDetention=", v)) {
    send(IST_CODE_TOPSHOW, Utils::ReadIntText(v), L"");
  } else if (key(L"FinsihCloseDetention=", v)) {
    send(IST_CODE_FINISHCLOSE, Utils::ReadIntText(v), L"");
  } else if (key(L"StartUrl=", v)) {
    send(IST_CODE_STARTURL, 0, v.c_str());
  } else if (key(L"StartupStyle=", v)) {
    const std::wstring_view style = Trim(v);
    send(IST_CODE_STARTUPSTYLE, style == L"AutoStartup" ? 1 : style == L"UserStartup" ? 2 : 0, L"");
  } else if (key(L"Encode=", v)) {
    const std::wstring_view page = Trim(v);
    codePage = page == L"UTF8" ? 65001 : page == L"ACP" ? 0 : Utils::ReadIntText(std::wstring(page));
  } else if (key(L"Message=", v)) {
    send(IST_CODE_MESSAGE, 0, v.c_str());
  }
  return kVerdictNone;
}

int32_t ParseUninstallLine(std::wstring_view line, const StatusCallback& send, int32_t& codePage) {
  if (StartsWith(line, L"Progress=")) {
    send(UNIST_CODE_PROGRESS, Utils::ReadDoubleText(std::wstring(line.substr(9))), L"");
  } else if (StartsWith(line, L"Error=")) {
    send(UNIST_CODE_ERROR, 0, std::wstring(line.substr(6)).c_str());
    return kVerdictFailure;
  } else if (StartsWith(line, L"State=")) {
    const std::wstring_view state = Trim(line.substr(6));
    if (state == L"Success") {
      send(UNIST_CODE_SUCCESS, 0, L"");
      return kVerdictSuccess;
    }
    if (state == L"Fail") {
      send(UNIST_CODE_ERROR, 0, L"安装包卸载失败");
      return kVerdictFailure;
    }
  } else if (StartsWith(line, L"Encode=")) {
    codePage = Trim(line.substr(7)) == L"UTF8" ? 65001 : 0;
  }
  return kVerdictNone;
}

}  // namespace

int32_t ParseReport(ReportKind kind, std::wstring_view text, const StatusCallback& send, int32_t& codePage) {
  int32_t verdict = kVerdictNone;
  while (true) {
    const size_t end = text.find(L'\n');
    const std::wstring_view line = text.substr(0, end);
    const int32_t v = kind == ReportKind::Setup ? ParseSetupLine(line, send, codePage)
                                                : ParseUninstallLine(line, send, codePage);
    if (v != kVerdictNone) verdict = v;
    if (end == std::wstring_view::npos) break;
    text.remove_prefix(end + 1);
    if (text.empty()) break;
  }
  return verdict;
}

void ReportLineAssembler::Feed(std::string_view bytes, const LineHandler& onLine) {
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (!overlong_) {
      if (pending_.size() + piece.size() > kMaxLine) {
        ZLOG(L"report line longer than %zu bytes dropped\r\n", kMaxLine);
        overlong_ = true;
        pending_.clear();
      } else {
        pending_.append(piece);
      }
    }
    if (end == std::string_view::npos) return;
    if (!overlong_) onLine(pending_);
    pending_.clear();
    overlong_ = false;
    bytes.remove_prefix(end + 1);
  }
}

void ReportLineAssembler::Finish(const LineHandler& onLine) {
  if (!pending_.empty() && !overlong_) onLine(pending_);
  pending_.clear();
  overlong_ = false;
}
