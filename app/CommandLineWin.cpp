#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "app/CommandLine.h"

namespace Utils {

SwitchMap CommandLineSwitches() {
  int count = 0;
  std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  std::vector<std::wstring> arguments;
  if (argv) arguments.assign(argv.get(), argv.get() + count);
  return ParseSwitches(arguments);
}

}  // namespace Utils
