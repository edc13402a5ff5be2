// analytics_core::RecordQueue: the bounded queue of finished analytics records (1024 at most, the
// oldest dropped first), mirrored to a staging file across runs, sent to the collector in gzip-encoded
// batches of at most 30. Filled by the client core; flushed by the tracker's scheduling. Portable.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace analytics_core {

class RecordQueue {
 public:
  static constexpr size_t kCapacity = 1024;
  static constexpr size_t kBatch = 30;

  RecordQueue(std::string serverUrl, std::string stagingPath);
  ~RecordQueue();
  RecordQueue(const RecordQueue&) = delete;
  RecordQueue& operator=(const RecordQueue&) = delete;

  void Enqueue(const std::string& record);
  // Sends one batch: true when the queue was empty or the collector answered 200.
  bool Flush();
  // Flushes until the queue is empty (true) or a batch fails (false).
  bool FlushAll();
  // Writes the queue to the staging file; the queue itself stays as it is.
  void Close();
  // What is queued now, oldest first.
  std::vector<std::string> Records() const;

  std::string cookie;  // a "Cookie" header when not empty
  bool verbose = false;

 private:
  void LoadStaging();  // under queueLock_
  // Puts the last records of a batch that did not go back in front of the queue, as far as room allows.
  void PutBack(const std::vector<std::string>& batch);
  bool Send(const std::string& batch);

  mutable std::recursive_mutex queueLock_;
  std::recursive_mutex flushLock_;
  std::deque<std::string> records_;
  std::string stagingPath_;
  std::string serverUrl_;
  bool loadPending_ = true;
  bool closed_ = false;
};

// Whether the most recent batch post was answered with 200.
bool LastSendOk();

struct PostResponse {
  long status;  // -1 when the transfer failed; the body then holds libcurl's error text
  std::string body;
  std::map<std::string, std::string> headers;
};
PostResponse Post(const std::string& url, const std::string& contentType, const std::string& body,
                  const std::map<std::string, std::string>& extraHeaders);

}  // namespace analytics_core
