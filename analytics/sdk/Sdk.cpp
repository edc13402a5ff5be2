#include "analytics/sdk/Sdk.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "analytics/sdk/FlushScheduling.h"
#include "analytics/sdk/Rules.h"

namespace analytics_core {
namespace {

std::unique_ptr<Sdk> g_instance;

int64_t NowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

template <typename T>
PropertiesNode One(const std::string& key, const T& value) {
  PropertiesNode node;
  if constexpr (std::is_same_v<T, std::string>) {
    node.SetString(key, value);
  } else {
    node.SetNumber(key, value);
  }
  return node;
}

}  // namespace

Sdk::Sdk(const std::string& stagingPath, const std::string& serverUrl, const std::string& distinctId, bool isLoginId)
    : distinctId_(distinctId), isLoginId_(isLoginId), consumer_(std::make_unique<RecordQueue>(serverUrl, stagingPath)) {
  superProperties_.SetString("$lib", "cpp");
  superProperties_.SetString("$lib_version", "0.9");
}

bool Sdk::Init(const std::string& stagingPath, const std::string& serverUrl, const std::string& distinctId,
               bool isLoginId) {
  if (!CheckLength(distinctId, "Distinct ID")) return false;
  if (!g_instance) {
    g_instance.reset(new Sdk(stagingPath, serverUrl, distinctId, isLoginId));
    std::srand(static_cast<unsigned>(std::time(nullptr)));
  }
  return true;
}

void Sdk::Shutdown() {
  std::lock_guard<std::mutex> lock(FlushMutex());  // a flush on another thread finishes first
  if (g_instance) g_instance->consumer_->Close();
  g_instance.reset();
}

Sdk* Sdk::Instance() { return g_instance.get(); }

int64_t Sdk::NewTrackId(int64_t nowMilliseconds) {
  const int r1 = std::rand() % 99 + 100;
  const int r2 = std::rand() % 999 + 1000;
  const std::string a = std::to_string(r1), b = std::to_string(r2), t = std::to_string(nowMilliseconds);
  const std::string text = a.substr(a.size() - 2) + b.substr(b.size() - 3) + t.substr(t.size() >= 4 ? t.size() - 4 : 0);
  return std::stoll(text);
}

Sdk::Identity Sdk::CurrentIdentity() const {
  std::lock_guard<std::mutex> lock(stateMutex_);
  return {distinctId_, isLoginId_};
}

void Sdk::AddRecord(const std::string& type, const std::string& event, const PropertiesNode& properties,
                    const Identity& identity, const std::string& originalId) {
  for (const auto& [key, value] : properties.Values()) {
    if (!CheckName(key, "Property Key")) return;
    if (key == "$time" && !std::holds_alternative<utils::ObjectNode::DateTime>(value)) {
      WriteError("The property '$time' should be DateTime type.");
      return;
    }
    if (key == "$project" && !std::holds_alternative<std::string>(value)) {
      WriteError("The property '$project' should be String type.");
      return;
    }
  }
  if (type == "track" && !CheckName(event, "Event Name")) return;
  if (type == "track_signup" && !CheckLength(originalId, "Original ID")) return;

  PropertiesNode merged;
  if (type.find("track") != std::string::npos) {
    std::lock_guard<std::mutex> lock(stateMutex_);
    merged.Merge(superProperties_);
  }
  merged.Merge(properties);

  int64_t time;
  if (const auto* t = merged.Find("$time")) {
    const auto& dt = std::get<utils::ObjectNode::DateTime>(*t);
    time = dt.seconds * 1000 + dt.milliseconds;
    merged.Remove("$time");
  } else {
    time = NowMilliseconds();
  }
  std::string project;
  const bool hasProject = merged.Find("$project") != nullptr;
  if (hasProject) {
    project = std::get<std::string>(*merged.Find("$project"));
    merged.Remove("$project");
  }
  if (identity.isLoginId) merged.SetBool("$is_login_id", true);

  utils::ObjectNode lib;
  lib.SetString("$lib", "cpp");
  lib.SetString("$lib_method", "code");
  lib.SetString("$lib_version", "0.9");
  utils::ObjectNode record;
  record.SetNumber("_track_id", NewTrackId(NowMilliseconds()));
  record.SetString("distinct_id", identity.distinctId);
  if (type == "track" || type == "track_signup") record.SetString("event", event);
  record.SetObject("lib", lib);
  if (type == "track_signup") record.SetString("original_id", originalId);
  if (hasProject) record.SetString("project", project);
  record.SetObject("properties", merged);
  record.SetNumber("time", time);
  record.SetString("type", type);
  consumer_->Enqueue(record.ToJson());
}

void Sdk::Track(const std::string& event, const PropertiesNode& properties) {
  if (Sdk* s = Instance()) s->AddRecord("track", event, properties, s->CurrentIdentity(), "");
}

void Sdk::TrackActivation(const std::string& event, const PropertiesNode& properties) {
  PropertiesNode withSource;
  withSource.SetString("$ios_install_source", "");
  withSource.Merge(properties);  // the given properties win
  Track(event, withSource);
}

void Sdk::Login(const std::string& loginId) {
  Sdk* s = Instance();
  if (!s) return;
  const Identity before = s->CurrentIdentity();
  s->AddRecord("track_signup", "$SignUp", PropertiesNode(), {loginId, before.isLoginId}, before.distinctId);
  std::lock_guard<std::mutex> lock(s->stateMutex_);
  s->distinctId_ = loginId;
  s->isLoginId_ = true;
}

void Sdk::ProfileSet(const PropertiesNode& p) {
  if (Sdk* s = Instance()) s->AddRecord("profile_set", "", p, s->CurrentIdentity(), "");
}
void Sdk::ProfileSet(const std::string& key, const std::string& value) { ProfileSet(One(key, value)); }
void Sdk::ProfileSet(const std::string& key, int64_t value) { ProfileSet(One(key, value)); }
void Sdk::ProfileSet(const std::string& key, double value) { ProfileSet(One(key, value)); }

void Sdk::ProfileSetOnce(const PropertiesNode& p) {
  if (Sdk* s = Instance()) s->AddRecord("profile_set_once", "", p, s->CurrentIdentity(), "");
}
void Sdk::ProfileSetOnce(const std::string& key, const std::string& value) { ProfileSetOnce(One(key, value)); }
void Sdk::ProfileSetOnce(const std::string& key, int64_t value) { ProfileSetOnce(One(key, value)); }
void Sdk::ProfileSetOnce(const std::string& key, double value) { ProfileSetOnce(One(key, value)); }

void Sdk::ProfileIncrement(const PropertiesNode& p) {
  if (Sdk* s = Instance()) s->AddRecord("profile_increment", "", p, s->CurrentIdentity(), "");
}
void Sdk::ProfileIncrement(const std::string& key, int64_t value) { ProfileIncrement(One(key, value)); }

void Sdk::ProfileAppend(const std::string& key, const std::string& value) {
  PropertiesNode p;
  p.SetList(key, {value});
  if (Sdk* s = Instance()) s->AddRecord("profile_append", "", p, s->CurrentIdentity(), "");
}

void Sdk::RegisterSuperProperties(const PropertiesNode& properties) {
  if (Sdk* s = Instance()) {
    std::lock_guard<std::mutex> lock(s->stateMutex_);
    s->superProperties_.Merge(properties);
  }
}

}  // namespace analytics_core
