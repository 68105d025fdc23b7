// A long operation's signs on the screen: the busy pointer, the main window's commands disabled and
// the progress gauge, each as the operation asks. They are shown when the scope begins and undone
// when it ends, on every way out of it (an early return, a failure, an exception).
#pragma once

#include <optional>
#include <string>

#include "platform/Ui.h"

namespace vrk {

struct Gauge {
  double total = 0;
  std::string message = {};
  bool cancelAllowed = true;
};

struct LongOperationParts {
  bool busy = false;
  bool windowDisabled = false;
  std::optional<Gauge> gauge = std::nullopt;
};

class LongOperation {
 public:
  // Shows the busy pointer, disables the main window's commands, then opens the gauge.
  LongOperation(Ui& ui, const LongOperationParts& parts);
  ~LongOperation() { End(); }
  LongOperation(const LongOperation&) = delete;
  LongOperation& operator=(const LongOperation&) = delete;

  // Ends the operation before its scope does, so that what follows (a message, as a rule) finds the
  // normal pointer, the commands enabled and no gauge. Ending twice is ending once.
  void End();
  // The normal pointer while the user answers within the operation (a title, a file name); the busy
  // pointer again once the answer is in. The operation's end clears it either way.
  void ReleasePointer();
  void HoldPointer();

 private:
  Ui& ui_;
  bool busy_;
  bool windowDisabled_;
  bool gauge_;
};

}  // namespace vrk
