#include "analytics/sdk/RecordQueue.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "analytics/sdk/BatchEncoding.h"
#include "analytics/sdk/PropertiesNode.h"
#include "app/Files.h"
#include "app/Log.h"
#include "app/TextConvert.h"

namespace analytics_core {
namespace {

std::mutex g_lastSendMutex;
bool g_lastSendOk = false;

constexpr char kUserAgent[] = "BrellAnalytics CPP SDK 0.9";

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

size_t CollectHeader(char* data, size_t size, size_t count, void* out) {
  const std::string line = Trim(std::string(data, size * count));
  if (!line.empty()) {
    auto& headers = *static_cast<std::map<std::string, std::string>*>(out);
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      headers[line] = "present";
    } else {
      headers[Trim(line.substr(0, colon))] = Trim(line.substr(colon + 1));
    }
  }
  return size * count;
}

}  // namespace

bool LastSendOk() {
  std::lock_guard<std::mutex> lock(g_lastSendMutex);
  return g_lastSendOk;
}

PostResponse Post(const std::string& url, const std::string& contentType, const std::string& body,
                  const std::map<std::string, std::string>& extraHeaders) {
  CURL* curl = curl_easy_init();
  if (curl == nullptr) throw std::runtime_error("Couldn't initialize curl handle");
  PostResponse response{-1, {}, {}};
  curl_slist* headers = nullptr;
  if (!contentType.empty()) headers = curl_slist_append(headers, ("Content-Type: " + contentType).c_str());
  for (const auto& [name, value] : extraHeaders) headers = curl_slist_append(headers, (name + ": " + value).c_str());
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 3L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CollectHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response.headers);
  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK) {
    response.body = curl_easy_strerror(result);
  } else {
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return response;
}

RecordQueue::RecordQueue(std::string serverUrl, std::string stagingPath)
    : stagingPath_(std::move(stagingPath)), serverUrl_(std::move(serverUrl)) {}

RecordQueue::~RecordQueue() { Close(); }

void RecordQueue::Enqueue(const std::string& record) {
  if (verbose) std::cout << "add record:" << record << std::endl;
  std::lock_guard<std::recursive_mutex> lock(queueLock_);
  records_.push_back(record);
  if (records_.size() > kCapacity) {
    records_.pop_front();
    if (verbose) std::cout << "record is full, delete record" << std::endl;
  }
}

void RecordQueue::LoadStaging() {
  if (!loadPending_) return;
  const std::wstring path = Utils::FromUtf8(stagingPath_);
  const size_t free = kCapacity - std::min(kCapacity, records_.size());
  if (free > 0) {
    std::deque<std::string> kept;
    if (Utils::FilePtr file = Utils::OpenFile(path, "rb")) {
      std::string line;
      auto take = [&] {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '{' && line.back() == '}') {
          kept.push_back(line);
          if (kept.size() > free) kept.pop_front();
        }
        line.clear();
      };
      for (int c; (c = std::fgetc(file.get())) != EOF;) {
        if (c == '\n') {
          take();
        } else {
          line += static_cast<char>(c);
        }
      }
      take();
    }
    records_.insert(records_.begin(), kept.begin(), kept.end());
  }
  Utils::OpenFile(path, "wb");  // emptied, also when there was no room to read it
  loadPending_ = false;
}

void RecordQueue::PutBack(const std::vector<std::string>& batch) {
  std::lock_guard<std::recursive_mutex> lock(queueLock_);
  const size_t free = kCapacity - std::min(kCapacity, records_.size());
  const size_t back = std::min(free, batch.size());
  records_.insert(records_.begin(), batch.end() - static_cast<std::ptrdiff_t>(back), batch.end());
}

bool RecordQueue::Flush() {
  {
    std::lock_guard<std::recursive_mutex> lock(queueLock_);
    LoadStaging();
  }
  std::lock_guard<std::recursive_mutex> flushing(flushLock_);
  std::vector<std::string> batch;
  try {
    {
      std::lock_guard<std::recursive_mutex> lock(queueLock_);
      const size_t n = std::min(kBatch, records_.size());
      if (n == 0) return true;
      batch.assign(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(n));
      records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(n));
    }
    std::string text = "[";
    for (size_t i = 0; i < batch.size(); ++i) {
      if (i) text += ',';
      text += batch[i];
    }
    text += ']';
    if (verbose) std::cout << "flush record : " << text << std::endl;
    if (Send(text)) return true;
    PutBack(batch);
    return false;
  } catch (const std::exception& e) {
    WriteError(std::string("Exception when flush failed: (") + e.what() + ") \n");
    // records already taken out of the queue go back like those of a failed send
    PutBack(batch);
    return false;
  }
}

bool RecordQueue::FlushAll() {
  {
    std::lock_guard<std::recursive_mutex> lock(queueLock_);
    LoadStaging();
  }
  for (;;) {
    {
      std::lock_guard<std::recursive_mutex> lock(queueLock_);
      if (records_.empty()) return true;
    }
    if (!Flush()) return false;
  }
}

bool RecordQueue::Send(const std::string& batch) {
  const std::optional<std::string> body = EncodeBatch(batch);
  if (!body) return false;
  std::map<std::string, std::string> headers;
  if (!cookie.empty()) headers["Cookie"] = cookie;
  const PostResponse response = Post(serverUrl_, "", *body, headers);
  const bool ok = response.status == 200;
  if (!ok) {
    Utils::WriteLog(L"[analytics] BrellAnalytics SDK send failed");
    WriteError("BrellAnalytics SDK send failed: " + response.body + "\n");
  }
  std::lock_guard<std::mutex> lock(g_lastSendMutex);
  g_lastSendOk = ok;
  return ok;
}

void RecordQueue::Close() {
  std::lock_guard<std::recursive_mutex> lock(queueLock_);
  if (closed_) return;
  closed_ = true;
  LoadStaging();
  if (Utils::FilePtr file = Utils::OpenFile(Utils::FromUtf8(stagingPath_), "wb")) {
    for (const std::string& record : records_) {
      std::fwrite(record.data(), 1, record.size(), file.get());
      std::fputc('\n', file.get());
    }
  }
}

std::vector<std::string> RecordQueue::Records() const {
  std::lock_guard<std::recursive_mutex> lock(queueLock_);
  return {records_.begin(), records_.end()};
}

}  // namespace analytics_core
