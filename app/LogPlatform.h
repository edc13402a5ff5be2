// The two operating-system facts the portable log needs, implemented once per platform
// (LogWin.cpp for Windows, LogPosix.cpp for the host build).
#pragma once

#include "app/Log.h"

namespace Utils::detail {
void DebugOutput(const wchar_t* line);
}
