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

  int messages = 0;
};

}  // namespace vrk
