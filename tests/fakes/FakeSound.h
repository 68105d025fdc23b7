// A wave player for tests: remembers what it was asked to do, and plays only what `playable` allows.
#pragma once

#include <string>
#include <vector>

#include "platform/Sound.h"

namespace vrk::test {

class FakeSound : public Sound {
 public:
  bool Open(const std::string& path) override {
    calls.push_back("open " + path);
    return playable;
  }
  void Play() override { calls.push_back("play"); }
  void Stop() override { calls.push_back("stop"); }
  void Close() override { calls.push_back("close"); }
  // As the device reports the end of a sound.
  void Finish() {
    if (onFinished) onFinished();
  }

  bool playable = true;  // false: no audio device
  std::vector<std::string> calls;
};

}  // namespace vrk::test
