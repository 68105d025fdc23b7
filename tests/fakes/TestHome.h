// The home folder of a test program's run: HOME and the XDG folders point into a fresh directory that
// is removed at the end, so that neither a test nor Qt (its file dialog's settings) writes into the
// user's own folders. The programs a test starts inherit it.
#pragma once

#include <cstdlib>
#include <utility>

#include "TempDirectory.h"

namespace vrk::test {

class TestHome {
 public:
  TestHome() {
    ::setenv("HOME", home_.path().c_str(), 1);
    for (const auto& [variable, folder] : {std::pair{"XDG_CONFIG_HOME", ".config"},
                                           {"XDG_DATA_HOME", ".local/share"},
                                           {"XDG_CACHE_HOME", ".cache"},
                                           {"XDG_STATE_HOME", ".local/state"}}) {
      ::setenv(variable, (home_ / folder).c_str(), 1);
    }
  }

 private:
  TempDirectory home_{"home"};
};

}  // namespace vrk::test
