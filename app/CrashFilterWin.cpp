#include "app/CrashFilter.h"

#include "app/Log.h"

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
  ZLOG(L"unhandled exception 0x%08lX\r\n",
       info && info->ExceptionRecord ? static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode) : 0ul);
  // The crash report to the analytics tracker is made here once the tracker exists.
  return EXCEPTION_CONTINUE_SEARCH;
}
