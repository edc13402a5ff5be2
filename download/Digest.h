// Package digests: the expected one is carried in the download address (the path segment before the
// file name), the actual one is computed from the downloaded file. 32 characters there mean MD5;
// 64 hexadecimal characters mean SHA-256. Shared by the two libcurl downloaders.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The path segment just before the file name ("" when the address has fewer than two "/").
std::string GetUrlMd5(const std::string& url);
// Lower-case hexadecimal digests of a file's bytes; "" when it cannot be read.
std::string GetFileMd5(const std::wstring& path);
std::string GetFileSha256(const std::wstring& path);

// A digest computed as the bytes go by, of the kind the expected digest asks for (MD5 for 32
// characters, SHA-256 for 64 hexadecimal ones, none otherwise).
class StreamDigest {
 public:
  explicit StreamDigest(const std::string& expected = "");
  ~StreamDigest();
  StreamDigest(const StreamDigest&) = delete;
  StreamDigest& operator=(const StreamDigest&) = delete;

  const std::string& Expected() const { return expected_; }
  bool Active() const { return kind_ != Kind::None; }
  void Update(const void* data, size_t size);
  // Lower-case hexadecimal digest of everything so far; "" when not active.
  std::string Hex() const;

 private:
  enum class Kind { None, Md5, Sha256 };
  std::string expected_;
  Kind kind_ = Kind::None;
  struct State;
  std::unique_ptr<State> state_;
};

// Feeds the first `bytes` bytes of a file (all of it for -1) to the digest; returns how many it read,
// or -1 when the file could not be opened or read.
int64_t DigestFile(StreamDigest& digest, const std::wstring& path, int64_t bytes = -1);

// The file's digest of the kind `expected` asks for; "" when it carries none or the file is unreadable.
std::string GetFileDigest(const std::string& expected, const std::wstring& path);

enum class DigestCheck {
  NoDigest,  // the address carries no digest to check against
  Passed,    // equal, or the file could not be read
  Failed,    // the file's digest differs (compared exactly, so letter case counts)
};
// Compares what the address expects with a digest already computed ("" for an unreadable file).
DigestCheck CompareDigest(const std::string& expected, const std::string& actual);
DigestCheck CheckFileDigest(const std::string& expected, const std::wstring& path);
