// The Sound port: a wave-audio player. Without an audio device Open fails and nothing is heard.
#pragma once

#include <functional>
#include <string>

namespace vrk {

class Sound {
 public:
  virtual ~Sound() = default;
  virtual bool Open(const std::string& path) = 0;
  virtual void Play() = 0;
  virtual void Stop() = 0;
  virtual void Close() = 0;
  // Called when a sound has played to its end.
  std::function<void()> onFinished;
};

}  // namespace vrk

namespace vrk {

// The player of a machine without an audio device: nothing opens, nothing is heard.
class SilentSound : public Sound {
 public:
  bool Open(const std::string&) override { return false; }
  void Play() override {}
  void Stop() override {}
  void Close() override {}
};

}  // namespace vrk
