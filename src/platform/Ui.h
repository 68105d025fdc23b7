// The Ui port: what every front offers the logic: message boxes, the number and name prompts, the
// progress gauge, the busy pointer and the file choosers, and the registry of feature dialogs. The
// desktop program implements it with Qt windows, vrkcli with the terminal, the tests with a scripted
// double. Texts are code page 1252. A front without windows needs only ShowMessage: everything else
// has the behaviour of a terminal (no pointer, no gauge window, every prompt and chooser cancelled).
#pragma once

#include <optional>
#include <string>

#include "platform/Dialogs.h"

namespace vrk {

// Title of every message box that names no other.
inline constexpr const char* kAppTitle = "VRK";

enum class Buttons { Ok, OkCancel, YesNo, RetryCancel };
enum class Icon { None, Exclamation, Question, Information, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct MessageBox {
  std::string text = {};
  std::string title = kAppTitle;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  // A question whose Yes (or OK) destroys or replaces data has No (or Cancel) as its default button, so
  // that Enter never confirms it. Escape answers No (or Cancel) in every question.
  bool defaultNo = false;
  std::string file = {};  // the file a failure concerns, when known: vrkcli names it before the text
};

// The number prompt: only digits can be typed and an empty answer is refused by the prompt itself.
struct NumberPrompt {
  std::string caption = {};
  std::string question = {};
  int maxLength = 0;  // 0: no limit
  bool password = false;
};

// The name prompt: anyTextAllowed is the window tag "1"; otherwise only letters and digits, or only
// digits with digitsOnly (the security code).
struct NamePrompt {
  std::string caption = {};
  std::string question = {};
  std::string preset = {};
  bool anyTextAllowed = false;
  int maxLength = 0;
  bool digitsOnly = false;
};

struct FileChooser {
  std::string title = {};
  std::string filter = {};     // "Bitmap (*.bmp)|*.bmp"
  std::string directory = {};  // a path: the file system's bytes
  std::string fileName = {};
  // The save chooser asks before it takes an existing file, unless the caller asks its own question.
  bool confirmOverwrite = true;
};

class Ui {
 public:
  virtual ~Ui() = default;

  virtual Answer ShowMessage(const MessageBox& box) = 0;
  virtual void Beep() {}
  virtual void ShowBusy() {}
  virtual void ClearBusy() {}
  // Lets pending window events run (a click on a gauge's Cancel button among them).
  virtual void DoEvents() {}
  // Long operations disable the main window's commands while they run.
  virtual void SetMainWindowEnabled(bool) {}
  // The path of the chosen file, in the file system's bytes; nothing when cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const FileChooser&) { return std::nullopt; }
  virtual std::optional<std::string> ChooseSaveFile(const FileChooser&) { return std::nullopt; }

  Dialogs dialogs;

  // An OK box with the application's title.
  void Message(const std::string& text, Icon icon = Icon::None) { ShowMessage({text, kAppTitle, Buttons::Ok, icon}); }

  // The prompts set the dialog cancel flag: 0 when confirmed, -1 when cancelled.
  std::optional<std::string> AskNumber(const NumberPrompt& prompt);
  std::optional<std::string> AskName(const NamePrompt& prompt);
  short dialogCancel = 0;

  // The progress gauge. No window is shown for fewer than 150 steps; StepGauge lets pending events run
  // at every hundredth of the total and reports whether the user pressed Cancel.
  void OpenGauge(double total, const std::string& message, bool cancelAllowed);
  bool StepGauge();
  void CloseGauge();
  // Called by the gauge window's Cancel button.
  void CancelGauge() { gaugeAbort_ = true; }

 protected:
  virtual std::optional<std::string> RunNumberPrompt(const NumberPrompt&) { return std::nullopt; }
  virtual std::optional<std::string> RunNamePrompt(const NamePrompt&) { return std::nullopt; }
  virtual void ShowGaugeWindow(int /*maximum*/, const std::string& /*message*/, bool /*cancelAllowed*/) {}
  virtual void SetGaugeValue(int) {}
  virtual void CloseGaugeWindow() {}
  // The steps the operation has made since the gauge opened.
  long GaugeSteps() const { return gaugeCounter_; }

 private:
  long gaugeStep_ = 0;
  long gaugeCounter_ = 0;
  bool gaugeActive_ = false;
  bool gaugeAbort_ = false;
};

}  // namespace vrk
