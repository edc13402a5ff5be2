// Package digests: the expected one is carried in the download address (the path segment before the
// file name), the actual one is computed from the downloaded file. 32 characters there mean MD5;
// 64 hexadecimal characters mean SHA-256. Shared by the two libcurl downloaders.
#pragma once

#include <string>

// The path segment just before the file name ("" when the address has fewer than two "/").
std::string GetUrlMd5(const std::string& url);
// Lower-case hexadecimal digests of a file's bytes; "" when it cannot be read.
std::string GetFileMd5(const std::wstring& path);
std::string GetFileSha256(const std::wstring& path);

enum class DigestCheck {
  NoDigest,  // the address carries no digest to check against
  Passed,    // equal, or the file could not be read
  Failed,    // the file's digest differs (compared exactly, so letter case counts)
};
DigestCheck CheckFileDigest(const std::string& expected, const std::wstring& path);
