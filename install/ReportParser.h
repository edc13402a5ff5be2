// The line report that the setup package and the earlier version's uninstaller write on their
// standard output: assembling lines from raw output and turning each into status events. Portable;
// the runners (CInstaller, CUninstaller) feed it and decode bytes with the Windows code pages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "install/StatusCodes.h"

// Which key table applies: the setup package's or the uninstaller's.
enum class ReportKind { Setup, Uninstall };

// Verdicts of a chunk of report text.
constexpr int32_t kVerdictNone = 0;
constexpr int32_t kVerdictSuccess = 1;
constexpr int32_t kVerdictFailure = 1000;

// Handles every line of a chunk of decoded text (split at "\n"; a "\r" stays in the line) and sends
// its events. "Encode=" changes codePage. Returns the last verdict set in the chunk.
int32_t ParseReport(ReportKind kind, std::wstring_view text, const StatusCallback& send, int32_t& codePage);

// Splits raw output into whole lines, so that a line written in pieces is still read as one line and a
// multi-byte character is never cut. A line longer than kMaxLine bytes is dropped (and logged).
class ReportLineAssembler {
 public:
  static constexpr size_t kMaxLine = 64 * 1024;
  using LineHandler = std::function<void(std::string_view line)>;  // without its "\n"

  void Feed(std::string_view bytes, const LineHandler& onLine);
  // The end of the output: a last line without "\n" is a line too.
  void Finish(const LineHandler& onLine);

 private:
  std::string pending_;
  bool overlong_ = false;
};
