#include "app/vrkcli/TerminalUi.h"

#include <iostream>

#include "catalog/Catalog.h"
#include "platform/CodePage.h"

namespace vrk {

Answer TerminalUi::ShowMessage(const MessageBox& box) {
  std::string line;
  for (const char c : box.text) {
    if (c == '\r' || c == '\n' || c == '\t') {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += c;
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  std::cerr << Utf8FromAnsi(line) << '\n';
  ++messageCount;
  switch (box.buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::RetryCancel: return Answer::Cancel;
  }
  return Answer::Cancel;
}

TerminalUi::TerminalUi() {
  dialogs.Register<CatalogNotCompatible>([this](CatalogNotCompatible&) {
    ShowMessage(
        {"Cannot Read This Catalog: This version of VRK In Windows can not read catalogs created by some "
         "previous versions of VRK.  DO NOT TRY TO USE THIS CATALOG--you may damage it."});
    return true;
  });
}

std::optional<std::string> TerminalUi::NextAnswer() {
  if (promptAnswers.empty()) return std::nullopt;
  std::string answer = promptAnswers.front();
  promptAnswers.pop_front();
  return answer;
}

}  // namespace vrk
