#include "platform/LongOperation.h"

namespace vrk {

LongOperation::LongOperation(Ui& ui, const LongOperationParts& parts)
    : ui_(ui), busy_(parts.busy), windowDisabled_(parts.windowDisabled), gauge_(parts.gauge.has_value()) {
  if (busy_) ui_.ShowBusy();
  if (windowDisabled_) ui_.SetMainWindowEnabled(false);
  if (gauge_) ui_.OpenGauge(parts.gauge->total, parts.gauge->message, parts.gauge->cancelAllowed);
}

void LongOperation::End() {
  if (busy_) ui_.ClearBusy();
  if (windowDisabled_) ui_.SetMainWindowEnabled(true);
  if (gauge_) ui_.CloseGauge();
  busy_ = windowDisabled_ = gauge_ = false;
}

void LongOperation::ReleasePointer() { ui_.ClearBusy(); }

void LongOperation::HoldPointer() {
  ui_.ShowBusy();
  busy_ = true;
}

}  // namespace vrk
