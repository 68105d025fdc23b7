// A scripted Ui for tests: records every message box and answers from queues.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace vrk::test {

class FakeUi : public Ui {
 public:
  FakeUi();
  Answer ShowMessage(const MessageBox& box) override;
  void Beep() override {
    ++beeps;
    events.push_back("beep");
  }
  void ShowBusy() override { ++busyDepth; }
  void ClearBusy() override { busyDepth = 0; }
  void DoEvents() override;
  void SetMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
  std::optional<std::string> ChooseOpenFile(const FileChooser& chooser) override;
  std::optional<std::string> ChooseSaveFile(const FileChooser& chooser) override;

  // Texts of the messages shown so far.
  std::vector<std::string> texts() const;

  std::vector<MessageBox> messages;
  std::vector<std::string> events;                       // "beep" and "message: <text>" in the order they happened
  std::deque<Answer> answers;                            // answers to message boxes; when empty the first button
  std::deque<std::optional<std::string>> promptAnswers;  // nullopt = Cancel
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<FileChooser> choosers;  // as shown
  std::vector<NumberPrompt> numberPrompts;
  std::vector<NamePrompt> namePrompts;
  int beeps = 0;
  int busyDepth = 0;
  int incompatibleWindows = 0;
  bool mainWindowEnabled = true;

  // Gauge as the window would show it.
  bool gaugeShown = false;
  int gaugeMaximum = 0;
  int gaugeValue = 0;
  std::string gaugeMessage;
  bool gaugeCancelEnabled = false;
  // Press the gauge's Cancel button at this DoEvents call (counted from 1), 0 never.
  int cancelAtDoEvents = 0;
  int doEventsCalls = 0;

 protected:
  std::optional<std::string> RunNumberPrompt(const NumberPrompt& prompt) override;
  std::optional<std::string> RunNamePrompt(const NamePrompt& prompt) override;
  void ShowGaugeWindow(int maximum, const std::string& message, bool cancelAllowed) override;
  void SetGaugeValue(int value) override { gaugeValue = value; }
  void CloseGaugeWindow() override { gaugeShown = false; }

 private:
  std::optional<std::string> NextPromptAnswer();
};

}  // namespace vrk::test
