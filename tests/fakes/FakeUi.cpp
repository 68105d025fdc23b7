#include "fakes/FakeUi.h"

#include "catalog/Catalog.h"

namespace vrk::test {

FakeUi::FakeUi() {
  dialogs.Register<CatalogNotCompatible>([this](CatalogNotCompatible&) {
    ++incompatibleWindows;
    return true;
  });
}

Answer FakeUi::ShowMessage(const MessageBox& box) {
  messages.push_back(box);
  events.push_back("message: " + box.text);
  if (!answers.empty()) {
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // Unscripted questions take the first button.
  switch (box.buttons) {
    case Buttons::YesNo: return Answer::Yes;
    case Buttons::RetryCancel: return Answer::Cancel;
    default: return Answer::Ok;
  }
}

void FakeUi::DoEvents() {
  ++doEventsCalls;
  if (cancelAtDoEvents != 0 && doEventsCalls >= cancelAtDoEvents) CancelGauge();
}

std::optional<std::string> FakeUi::ChooseOpenFile(const FileChooser& chooser) {
  choosers.push_back(chooser);
  if (fileAnswers.empty()) return std::nullopt;
  auto answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeUi::ChooseSaveFile(const FileChooser& chooser) { return ChooseOpenFile(chooser); }

std::vector<std::string> FakeUi::texts() const {
  std::vector<std::string> result;
  for (const MessageBox& box : messages) result.push_back(box.text);
  return result;
}

std::optional<std::string> FakeUi::NextPromptAnswer() {
  if (promptAnswers.empty()) return std::nullopt;
  auto answer = promptAnswers.front();
  promptAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeUi::RunNumberPrompt(const NumberPrompt& prompt) {
  numberPrompts.push_back(prompt);
  return NextPromptAnswer();
}

std::optional<std::string> FakeUi::RunNamePrompt(const NamePrompt& prompt) {
  namePrompts.push_back(prompt);
  return NextPromptAnswer();
}

void FakeUi::ShowGaugeWindow(int maximum, const std::string& message, bool cancelAllowed) {
  gaugeShown = true;
  gaugeMaximum = maximum;
  gaugeValue = 0;
  gaugeMessage = message;
  gaugeCancelEnabled = cancelAllowed;
}

}  // namespace vrk::test
