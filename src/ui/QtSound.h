// The Sound port on Qt Multimedia. A machine without an audio output, or a file that is missing or
// cannot be played, gives silence and no message.
#pragma once

#include "platform/Sound.h"

class QSoundEffect;

namespace vrk {

class QtSound : public Sound {
 public:
  QtSound() = default;
  ~QtSound() override;
  QtSound(const QtSound&) = delete;
  QtSound& operator=(const QtSound&) = delete;

  bool Open(const std::string& path) override;
  void Play() override;
  void Stop() override;
  void Close() override;

 private:
  QSoundEffect* effect_ = nullptr;
};

}  // namespace vrk
