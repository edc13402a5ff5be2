// analytics_core::Sdk: the analytics client core. Turns one call into one JSON record (names and
// properties checked, super properties merged, time, identity and library stamped) and hands it to the
// record queue. One instance per process, created by Init; the tracker is its only caller. Portable.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "analytics/sdk/PropertiesNode.h"
#include "analytics/sdk/RecordQueue.h"

namespace analytics_core {

class Sdk {
 public:
  // Creates the instance (false when the distinct id breaks the length rule; an existing instance is
  // kept as it is, whatever the arguments).
  static bool Init(const std::string& stagingPath, const std::string& serverUrl, const std::string& distinctId,
                   bool isLoginId);
  // Closes the queue (its records go to the staging file) and ends the instance; Init may follow.
  static void Shutdown();
  static Sdk* Instance();

  static void Track(const std::string& event, const PropertiesNode& properties);
  static void TrackActivation(const std::string& event, const PropertiesNode& properties);
  static void Login(const std::string& loginId);
  static void ProfileSet(const PropertiesNode& properties);
  static void ProfileSet(const std::string& key, const std::string& value);
  static void ProfileSet(const std::string& key, int64_t value);
  static void ProfileSet(const std::string& key, double value);
  static void ProfileSetOnce(const PropertiesNode& properties);
  static void ProfileSetOnce(const std::string& key, const std::string& value);
  static void ProfileSetOnce(const std::string& key, int64_t value);
  static void ProfileSetOnce(const std::string& key, double value);
  static void ProfileIncrement(const PropertiesNode& properties);
  static void ProfileIncrement(const std::string& key, int64_t value);
  static void ProfileAppend(const std::string& key, const std::string& value);
  static void RegisterSuperProperties(const PropertiesNode& properties);

  // The record number: two digits, three digits and the last four of the clock, 0 to 989989999.
  static int64_t NewTrackId(int64_t nowMilliseconds);

  RecordQueue& Consumer() { return *consumer_; }

 private:
  struct Identity {
    std::string distinctId;
    bool isLoginId;
  };

  Sdk(const std::string& stagingPath, const std::string& serverUrl, const std::string& distinctId, bool isLoginId);
  Identity CurrentIdentity() const;
  void AddRecord(const std::string& type, const std::string& event, const PropertiesNode& properties,
                 const Identity& identity, const std::string& originalId);

  // Records are built on many threads while a locale change or a login rewrites the identity and the
  // super properties; a record copies each of them under this lock.
  mutable std::mutex stateMutex_;
  PropertiesNode superProperties_;
  std::string distinctId_;
  bool isLoginId_;
  std::unique_ptr<RecordQueue> consumer_;
};

}  // namespace analytics_core
