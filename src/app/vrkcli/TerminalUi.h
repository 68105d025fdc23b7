// The Ui of the command line: every message becomes one line on stderr (UTF-8), questions take the
// answer that loses nothing, and prompts are cancelled unless an answer was given beforehand.
#pragma once

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

 protected:
  std::optional<std::string> RunNumberPrompt(const NumberPrompt&) override { return NextAnswer(); }
  std::optional<std::string> RunNamePrompt(const NamePrompt&) override { return NextAnswer(); }

 private:
  std::optional<std::string> NextAnswer();
};

}  // namespace vrk
