#include "platform/Ui.h"

#include <cmath>

namespace vrk {

std::optional<std::string> Ui::AskNumber(const NumberPrompt& prompt) {
  auto answer = RunNumberPrompt(prompt);
  dialogCancel = answer ? 0 : -1;
  return answer;
}

std::optional<std::string> Ui::AskName(const NamePrompt& prompt) {
  auto answer = RunNamePrompt(prompt);
  dialogCancel = answer ? 0 : -1;
  return answer;
}

void Ui::OpenGauge(double total, const std::string& message, bool cancelAllowed) {
  gaugeAbort_ = false;
  gaugeStep_ = std::lround(total / 100.0);
  if (gaugeStep_ < 2) {
    gaugeActive_ = false;
    DoEvents();
    return;
  }
  gaugeCounter_ = 0;
  gaugeActive_ = true;
  ShowGaugeWindow(static_cast<int>(total / static_cast<double>(gaugeStep_)), message, cancelAllowed);
  DoEvents();
}

bool Ui::StepGauge() {
  if (!gaugeActive_) return false;
  ++gaugeCounter_;
  if (gaugeCounter_ % gaugeStep_ == 0) {
    DoEvents();
    SetGaugeValue(static_cast<int>(gaugeCounter_ / gaugeStep_));
  }
  return gaugeAbort_;
}

void Ui::CloseGauge() {
  if (gaugeActive_) CloseGaugeWindow();
  gaugeActive_ = false;
}

}  // namespace vrk
