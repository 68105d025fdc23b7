// The tests run under the user's locale (fakes/TestMain.cpp): numbers in the "Standard" format as that
// locale writes them, and a locale chosen for one test.
#pragma once

#include <clocale>
#include <string>
#include <string_view>

#include "catalog/ComputedFields.h"

namespace vrk::test {

// A number in the "Standard" format written with the United States' separators ("1,234.50"), with the
// separators of the process's locale instead ("1.234,50" under de_DE), in code page 1252.
inline std::string Standard(std::string_view us) {
  const NumberSeparators separators = LocaleNumberSeparators();
  std::string text(us);
  for (char& c : text) {
    if (c == ',') {
      c = separators.thousands;
    } else if (c == '.') {
      c = separators.decimal;
    }
  }
  return text;
}

// Sets every category of the process's locale to `name` while it lives, then restores the one before.
class LocaleScope {
 public:
  explicit LocaleScope(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    selected_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~LocaleScope() { std::setlocale(LC_ALL, previous_.c_str()); }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;
  // False when the system lacks the locale (`localedef -i de_DE -f UTF-8 de_DE.UTF-8` makes it).
  bool Selected() const { return selected_; }

 private:
  std::string previous_;
  bool selected_ = false;
};

}  // namespace vrk::test
