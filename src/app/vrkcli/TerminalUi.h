// The Ui of the command line: every message becomes one line on stderr (UTF-8), questions take the
// answer that loses nothing, and prompts are cancelled unless an answer was given beforehand. When
// stderr is a terminal, the gauge is a progress line there.
#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>

#include "platform/Ui.h"

namespace vrk {

class TerminalUi : public Ui {
 public:
  // Feature windows become messages.
  TerminalUi();
  Answer ShowMessage(const MessageBox& box) override;

  // Answers for the prompts that follow, in order (code page 1252).
  std::deque<std::string> promptAnswers;
  int messageCount = 0;
  // A search, list or replacement said it found nothing (said as vrkcli's own line).
  bool nothingFound = false;

 protected:
  std::optional<std::string> RunNumberPrompt(const NumberPrompt&) override { return NextAnswer(); }
  std::optional<std::string> RunNamePrompt(const NamePrompt&) override { return NextAnswer(); }
  void ShowGaugeWindow(int maximum, const std::string& message, bool cancelAllowed) override;
  void SetGaugeValue(int value) override;
  void CloseGaugeWindow() override;

 private:
  std::optional<std::string> NextAnswer();
  void DrawProgress();
  void ClearProgress();

  bool terminal_ = false;  // stderr is a terminal
  // The gauge while it is shown on the terminal.
  bool progressShown_ = false;
  std::string progressMessage_;  // UTF-8
  int progressMaximum_ = 0;
  int progressValue_ = 0;
  std::chrono::steady_clock::time_point progressStart_;
  std::chrono::steady_clock::time_point progressDrawn_;
};

}  // namespace vrk
