#include "app/TextConvert.h"
#include "download/CurlClient.h"

std::string CurlUrlText(const std::wstring& url) { return Utils::ToUtf8(url); }
