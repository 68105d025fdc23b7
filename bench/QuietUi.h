// A Ui for the benchmarks: it shows nothing and counts the messages, so that a run can tell whether
// the work reported a failure.
#pragma once

#include "platform/Ui.h"

namespace vrk {

class QuietUi : public Ui {
 public:
  Answer ShowMessage(const MessageBox&) override {
    ++messages;
    return Answer::Ok;
  }
  void Beep() override {}
  void ShowBusy() override {}
  void ClearBusy() override {}
  void DoEvents() override {}
  void SetMainWindowEnabled(bool) override {}
  void ShowCatalogNotCompatible() override { ++messages; }
  std::optional<std::string> ChooseOpenFile(const FileChooser&) override { return std::nullopt; }
  std::optional<std::string> ChooseSaveFile(const FileChooser&) override { return std::nullopt; }

  int messages = 0;

 protected:
  std::optional<std::string> RunNumberPrompt(const NumberPrompt&) override { return std::nullopt; }
  std::optional<std::string> RunNamePrompt(const NamePrompt&) override { return std::nullopt; }
  void ShowGaugeWindow(int, const std::string&, bool) override {}
  void SetGaugeValue(int) override {}
  void CloseGaugeWindow() override {}
};

}  // namespace vrk
