// The package server fixture as tests reach it: addresses, the digests of its packages and what it
// saw of a given address. Portable (libcurl only).
#pragma once

#include <gtest/gtest.h>

#include <curl/curl.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace testsupport {

inline std::string PackageServerBase() {
  const char* port = std::getenv("ZAVIX_FIXTURE_PKGSERVER_PORT");
  EXPECT_NE(nullptr, port) << "the pkgserver fixture publishes its port";
  return std::string("http://127.0.0.1:") + (port ? port : "1");
}

inline std::string HttpGet(const std::string& url) {
  std::string body;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, +[](char* d, size_t s, size_t n, void* out) {
    static_cast<std::string*>(out)->append(d, s * n);
    return s * n;
  });
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return body;
}

struct PackageDigests {
  std::string md5, sha256;
};
// Of the generated package "<size>.bin" or a file the server serves.
inline PackageDigests Digests(const std::string& name) {
  const std::string text = HttpGet(PackageServerBase() + "/digest/" + name);
  const size_t blank = text.find(' ');
  return {text.substr(0, blank), blank == std::string::npos ? "" : text.substr(blank + 1)};
}

// "/pkg/<faults>/<digest>/<name>"
inline std::string PackagePath(const std::string& faults, const std::string& digest, const std::string& name) {
  return "/pkg/" + faults + "/" + digest + "/" + name;
}

struct ServerStats {
  int head = 0, get = 0;
  std::vector<std::string> ranges;  // the Range header of each GET ("" for none)
};
inline ServerStats Stats(const std::string& packagePath) {
  const std::string json = HttpGet(PackageServerBase() + "/stats" + packagePath);
  ServerStats s;
  std::smatch m;
  if (std::regex_search(json, m, std::regex("\"head\": (\\d+)"))) s.head = std::stoi(m[1]);
  if (std::regex_search(json, m, std::regex("\"get\": (\\d+)"))) s.get = std::stoi(m[1]);
  const std::regex item("\"(bytes=[^\"]*|)\"");
  const size_t at = json.find("\"ranges\"");
  if (at != std::string::npos) {
    const std::string list = json.substr(at + 9);
    for (auto it = std::sregex_iterator(list.begin(), list.end(), item); it != std::sregex_iterator(); ++it) {
      s.ranges.push_back((*it)[1]);
    }
  }
  return s;
}

// libcurl initialised once for a test program.
class CurlEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { curl_global_init(CURL_GLOBAL_ALL); }
  void TearDown() override { curl_global_cleanup(); }
};

}  // namespace testsupport
