#include <gtest/gtest.h>

#include <curl/curl.h>

#include <cstdlib>
#include <string>

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

TEST(Harness, FixtureServerAnswersOverLoopback) {
  const char* port = std::getenv("ZAVIX_FIXTURE_HTTPFILES_PORT");
  ASSERT_NE(nullptr, port) << "the httpfiles fixture publishes its port";
  ASSERT_EQ(CURLE_OK, curl_global_init(CURL_GLOBAL_ALL));
  CURL* curl = curl_easy_init();
  std::string body;
  const std::string url = std::string("http://127.0.0.1:") + port + "/hello.txt";
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  EXPECT_EQ(CURLE_OK, curl_easy_perform(curl));
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  curl_global_cleanup();
  EXPECT_EQ(200, status);
  EXPECT_EQ("Zavix loopback fixture\n", body);
}

}  // namespace
