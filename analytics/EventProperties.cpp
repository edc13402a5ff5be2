#include "analytics/EventProperties.h"

#include "analytics/BrException.h"
#include "analytics/PresetKeys.h"

namespace brell::analytics {
namespace {

using analytics_core::PropertiesNode;

// The property setters of the record tables: texts when not empty, optional values when present.
class Builder {
 public:
  explicit Builder(const TextGuard& guard) : guard_(guard) {}

  Builder& Text(const char* key, const std::string& value) {
    if (!value.empty()) node_.SetString(key, guard_(value));
    return *this;
  }
  Builder& Raw(const char* key, const std::string& value) {  // ids: never re-encoded
    if (!value.empty()) node_.SetString(key, value);
    return *this;
  }
  Builder& Integer(const char* key, const Optional<int32_t>& value) {
    if (value) node_.SetNumber(key, *value);
    return *this;
  }
  Builder& Number(const char* key, const Optional<float>& value) {
    if (value) node_.SetNumber(key, static_cast<double>(*value));
    return *this;
  }
  Builder& Positive(const char* key, float value) {
    if (value > 0) node_.SetNumber(key, static_cast<double>(value));
    return *this;
  }
  // Task and file results: "Unknown" and values outside the table are left out.
  Builder& Outcome(const char* key, const Optional<BrResult>& result) {
    if (result && (*result == BrResult::Success || *result == BrResult::Cancelled || *result == BrResult::Fail)) {
      node_.SetString(key, toString(*result));
    }
    return *this;
  }
  PropertiesNode& Node() { return node_; }
  PropertiesNode FirstTime() {
    node_.SetBool(keys::kPresetIsFirstTime, true);
    return std::move(node_);
  }

 private:
  const TextGuard& guard_;
  PropertiesNode node_;
};

}  // namespace

PropertiesNode LoginProperties(const BrEventLogin& login, bool success, const std::string& reason,
                               const TextGuard& guard) {
  Builder b(guard);
  b.Raw(keys::kBrUserId, login.loginId).Raw("br_login_id", login.loginId).Text("br_reason", reason);
  b.Node().SetString("br_type", userType(login.userType));
  b.Node().SetString("br_result", success ? "Success" : "Fail");
  return login.loginId.empty() ? std::move(b.Node()) : b.FirstTime();
}

PropertiesNode ClickProperties(const BrEventClick& click, const TextGuard& guard) {
  if (click.name.empty()) BR_THROW("brEventClick.name is empty", "trackClick");
  Builder b(guard);
  b.Text("br_aname", click.aname).Text("br_name", click.name);
  b.Node().SetString("br_click_type", toString(click.clickType));
  b.Text("br_title", click.title).Text("br_module", click.module).Text("br_position", click.position);
  b.Integer("br_tab_index", click.tabIndex).Text("br_tab_name", click.tabName);
  b.Integer("br_banner_index", click.bannerIndex).Text("br_banner_name", click.bannerName);
  return b.FirstTime();
}

PropertiesNode ViewProperties(const BrEventView& view, const TextGuard& guard) {
  if (view.name.empty()) BR_THROW("brEventView.name is empty", "trackView");
  Builder b(guard);
  b.Text("br_aname", view.aname).Text("br_name", view.name).Text("br_title", view.title);
  b.Text("br_position", view.position);
  return b.FirstTime();
}

PropertiesNode CashierProperties(const BrEventCashier& cashier, const TextGuard& guard) {
  if (cashier.cashierName.empty()) BR_THROW("brEventCashier.br_cashier_name is empty", "trackCashier");
  Builder b(guard);
  b.Text("br_cashier_name", cashier.cashierName).Text("br_cashier_title", cashier.cashierTitle);
  b.Text("br_subitem", cashier.subitem);
  return b.FirstTime();
}

PropertiesNode ShareProperties(const BrEventShare& share, const TextGuard& guard) {
  Builder b(guard);
  b.Text("br_aname", share.aname).Text("br_channel", share.channel).Text("br_position", share.position);
  b.Text("br_shared_name", share.sharedName);
  if (share.result) b.Node().SetString("br_result", toString(*share.result));
  return b.FirstTime();
}

PropertiesNode TaskProperties(const BrEventTask& task, const TextGuard& guard) {
  if (task.name.empty()) BR_THROW("brEventTask.name is empty", "trackTask");
  Builder b(guard);
  b.Text("br_task_name", task.name).Number("br_task_elapsed", task.elapsed);
  b.Outcome("br_task_result", task.result).Text("br_aname", task.aname).Text("br_reason", task.reason);
  return b.FirstTime();
}

PropertiesNode FileProperties(const BrEventFile& file, const TextGuard& guard) {
  if (file.aname.empty()) BR_THROW("brEventFile.aname is empty", "trackFile");
  Builder b(guard);
  b.Text("br_aname", file.aname).Text("br_name", file.name);
  if (file.io) b.Node().SetString("br_io", toString(*file.io));
  b.Text("br_ext", file.ext);
  if (file.size) b.Positive("br_size", *file.size);
  b.Integer("br_duration", file.duration).Number("br_fps", file.fps).Number("br_bps", file.bps);
  b.Integer("br_width", file.width).Integer("br_height", file.height).Integer("br_depth", file.depth);
  b.Outcome("br_result", file.result);
  return b.FirstTime();
}

PropertiesNode OrderProperties(const BrEventOrder& order, const TextGuard& guard) {
  const char* const function = "trackOrder";
  if (order.suitId.empty()) BR_THROW("brEventOrder.brSuitId is empty", function);
  if (!order.currency) BR_THROW("brEventOrder.brCurrency is nullptr", function);
  // Written as "not greater than" so that NaN is refused too.
  if (!(order.originalAmount > 0)) BR_THROW("brEventOrder.originalAmount is less than zero", function);
  if (!(order.paidAmount > 0)) BR_THROW("brEventOrder.paidAmount is not greater than zero", function);
  Builder b(guard);
  b.Text("br_order_id", order.orderId).Text("br_subitem", order.subitem).Text("br_sku", order.sku);
  b.Text("br_suit_id", order.suitId);
  b.Node().SetString("br_currency", toString(*order.currency));
  b.Positive("br_original_amount", order.originalAmount).Text("br_voucher_id", order.voucherId);
  b.Positive("br_paid_amount", order.paidAmount).Text("br_cashier_name", order.cashierName);
  b.Text("br_cashier_title", order.cashierTitle).Integer("br_campaign_code", order.campaignCode);
  b.Positive("br_cur_original_amount", order.curOriginalAmount);
  b.Positive("br_cur_paid_amount", order.curPaidAmount);
  return b.FirstTime();
}

PropertiesNode PaymentProperties(const BrEventPayment& payment, const TextGuard& guard) {
  const char* const function = "trackPayment";
  if (payment.orderId.empty()) BR_THROW("brEventPayment.brOrderId is empty", function);
  // std::to_string writes a double as "%f" does: -1.5 becomes "-1.500000".
  if (!(payment.paidAmount >= 0)) {
    BR_THROW("paidAmount = " + std::to_string(payment.paidAmount) + " is invalid", function);
  }
  if (!(payment.originalAmount >= 0)) {
    BR_THROW("originalAmount = " + std::to_string(payment.originalAmount) + " is invalid", function);
  }
  if (!payment.result || (*payment.result != BrResult::Success && *payment.result != BrResult::Fail)) {
    BR_THROW("brEventPayment.result is invalid", function);
  }
  if (!payment.currency) BR_THROW("brEventPayment.brCurrency is nullptr", function);
  if (!payment.paidPlatform) BR_THROW("brEventPayment.brPaidPlatform is nullptr", function);
  Builder b(guard);
  b.Text("br_order_id", payment.orderId).Text("br_subitem", payment.subitem).Text("br_sku", payment.sku);
  b.Node().SetString("br_currency", toString(*payment.currency));
  b.Node().SetNumber("br_original_amount", static_cast<double>(payment.originalAmount));
  b.Integer("br_campaign_code", payment.campaignCode).Text("br_voucher_id", payment.voucherId);
  b.Text("br_used_voucher_id", payment.usedVoucherId);
  b.Node().SetNumber("br_paid_amount", static_cast<double>(payment.paidAmount));
  b.Text("br_suit_id", payment.suitId).Text("br_cashier_name", payment.cashierName);
  b.Text("br_cashier_title", payment.cashierTitle);
  b.Node().SetString("br_paid_platform", toString(*payment.paidPlatform));
  b.Node().SetString("br_result", toString(*payment.result));
  if (payment.iapType) b.Node().SetString("br_iap_type", toString(*payment.iapType));
  b.Positive("br_cur_original_amount", payment.curOriginalAmount);
  b.Positive("br_cur_paid_amount", payment.curPaidAmount);
  return b.FirstTime();
}

PropertiesNode UninstallProperties(const std::string& reason, const TextGuard& guard) {
  Builder b(guard);
  b.Text("br_uninstall_reason", reason);
  return std::move(b.Node());
}

PropertiesNode CrashProperties(const std::string& reason, const TextGuard& guard) {
  Builder b(guard);
  b.Text("app_crashed_reason", reason);
  return std::move(b.Node());
}

PropertiesNode UpdateProperties(const BrEventUpdate& update) {
  PropertiesNode node;
  node.SetString("br_update_op", toString(update.op));
  switch (update.op) {
    case BrUpdateOp::UpdateCheck:
      node.SetString("br_update_result", update.result ? toString(*update.result) : std::string());
      break;
    case BrUpdateOp::DownloadEnd:
    case BrUpdateOp::UpgrateEnd:
      if (!update.result) BR_THROW("Unknown updateResultInfo info", "trackUpdate");
      if (!update.elapsed) BR_THROW("invalid elapsed info", "trackUpdate");
      node.SetString("br_update_result", toString(*update.result));
      node.SetNumber("br_elapsed", static_cast<double>(*update.elapsed));
      if (update.op == BrUpdateOp::UpgrateEnd) node.SetBool(keys::kPresetIsFirstTime, true);
      break;
    default:
      break;
  }
  return node;
}

PropertiesNode AppOpenNotificationProperties(const AppOpenNotification* notification, const TextGuard& guard) {
  const char* const function = "trackAppOpenNotification";
  if (!notification) BR_THROW("&appOpenNotification is nullptr", function);
  const AppOpenNotification& n = *notification;
  if (n.planId.empty()) BR_THROW("planID is emptry", function);
  if (n.planType.empty()) BR_THROW("planType is emptry", function);
  if (n.msgTitle.empty()) BR_THROW("msgTitle is emptry", function);
  Builder b(guard);
  b.Text("$sf_msg_title", n.msgTitle).Text("$sf_msg_content", n.msgContent).Raw("$sf_link_url", n.linkUrl);
  b.Raw("$sf_plan_id", n.planId).Raw("$sf_audience_id", n.audienceId);
  b.Raw("$sf_plan_strategy_id", n.planStrategyId).Raw("$sf_plan_type", n.planType);
  b.Raw("$sf_strategy_unit_id", n.strategyUnitId);
  return b.FirstTime();
}

}  // namespace brell::analytics
