// Status events: the callback through which downloaders and runners report to the install
// orchestration, and the one table of codes they share. Value and text mean what the code says;
// the text is never null and is valid only during the call.
#pragma once

#include <cstdint>
#include <functional>

using StatusCallback = std::function<void(int32_t code, double value, const wchar_t* text)>;

enum StatusCode : int32_t {
  // downloaders
  DL_CODE_START = 1001,     // value 1
  DL_CODE_PROGRESS = 1002,  // value: fraction downloaded
  DL_CODE_SUCCESS = 1003,   // text: downloader's name
  DL_CODE_FAIL = 1004,      // value: reason; text: downloader's name
  DL_CODE_RETRY = 1005,     // value: reason; text: downloader's name
  DL_CODE_NOTICE = 1006,    // value: reason; text: notice

  // setup runner
  IST_CODE_START = 2001,
  IST_CODE_PROGRESS = 2002,  // value: fraction installed
  IST_CODE_SUCCESS = 2003,   // value: 0 verdict reported, 1 package ended without one
  IST_CODE_FAIL = 2004,      // value: 0 reported failure, 2 failed to start, 1000 reported error; text: message

  // setup runner: what the package reported
  IST_CODE_INSTPATH = 3000,
  IST_CODE_EXEPATH = 3001,
  IST_CODE_UNINSTEXE = 3002,
  IST_CODE_UNINSTEP = 3003,
  IST_CODE_STARTURL = 3004,
  IST_CODE_STARTUPSTYLE = 3005,  // value: 0, 1 or 2 (3006 is not used)
  IST_CODE_TOPSHOW = 3007,       // value: milliseconds
  IST_CODE_FINISHCLOSE = 3008,   // value: milliseconds
  IST_CODE_MESSAGE = 3009,       // text: message for the user

  // uninstall runner
  UNIST_CODE_PROGRESS = 5002,
  UNIST_CODE_SUCCESS = 5003,  // value: 0 or 1
  UNIST_CODE_FAIL = 5004,     // value: 1 uninstaller copy missing, 2 failed to start; text: message
  UNIST_CODE_ERROR = 5005,    // text: message
};
