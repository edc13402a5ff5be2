// How each event record becomes the property set of its event: the required-field checks (a
// BrException naming the track operation, thrown before anything is built), the keys, and when each
// field is written. The tracker adds the context properties and hands the set to the client core.
//
// `guard` is applied to the texts that may arrive in the system's ANSI code page (it turns them into
// UTF-8); ids and the push notification's plan fields are taken as they are.
#pragma once

#include <functional>
#include <string>

#include "analytics/EventRecords.h"
#include "analytics/sdk/PropertiesNode.h"

namespace brell::analytics {

using TextGuard = std::function<std::string(const std::string&)>;

analytics_core::PropertiesNode LoginProperties(const BrEventLogin& login, bool success, const std::string& reason,
                                               const TextGuard& guard);
analytics_core::PropertiesNode ClickProperties(const BrEventClick& click, const TextGuard& guard);
analytics_core::PropertiesNode ViewProperties(const BrEventView& view, const TextGuard& guard);
analytics_core::PropertiesNode CashierProperties(const BrEventCashier& cashier, const TextGuard& guard);
analytics_core::PropertiesNode ShareProperties(const BrEventShare& share, const TextGuard& guard);
analytics_core::PropertiesNode TaskProperties(const BrEventTask& task, const TextGuard& guard);
analytics_core::PropertiesNode FileProperties(const BrEventFile& file, const TextGuard& guard);
analytics_core::PropertiesNode OrderProperties(const BrEventOrder& order, const TextGuard& guard);
analytics_core::PropertiesNode PaymentProperties(const BrEventPayment& payment, const TextGuard& guard);
analytics_core::PropertiesNode UninstallProperties(const std::string& reason, const TextGuard& guard);
analytics_core::PropertiesNode CrashProperties(const std::string& reason, const TextGuard& guard);
analytics_core::PropertiesNode UpdateProperties(const BrEventUpdate& update);
analytics_core::PropertiesNode AppOpenNotificationProperties(const AppOpenNotification* notification,
                                                             const TextGuard& guard);

}  // namespace brell::analytics
