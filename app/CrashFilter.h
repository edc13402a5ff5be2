// The process's last word on an exception nobody caught: it reports the crash to analytics (when a
// tracker exists) and lets the system's default handling end the process. Windows only.
#pragma once

#include <windows.h>

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info);
