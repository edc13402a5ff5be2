// Address escaping for the system's URL download: UTF-8 bytes outside the printable ASCII range become
// "%XX", a blank becomes "+", everything printable (existing escapes included) stays.
#pragma once

#include <string>

std::wstring EscapeDownloadUrl(const std::wstring& url);
