// A printer for tests: keeps the printed lines and page breaks as text, one character a unit of width.
#pragma once

#include <string>
#include <vector>

#include "platform/Printer.h"

namespace vrk::test {

class FakePrinter : public Printer {
 public:
  bool PrintLine(const std::string& text, int tabColumn = 0, const std::string& tabbed = {}) override {
    if (Refuses()) return false;
    if (tabColumn <= 0) {
      lines.push_back(text);
      return true;
    }
    std::string line = text;
    if (line.size() >= static_cast<std::size_t>(tabColumn)) {
      lines.push_back(line);
      line.clear();
    }
    line.resize(static_cast<std::size_t>(tabColumn - 1), ' ');
    lines.push_back(line + tabbed);
    return true;
  }
  bool NewPage() override {
    if (Refuses()) return false;
    lines.push_back(kPageBreak);
    return true;
  }
  bool EndDocument() override {
    if (Refuses()) return false;
    ++documents;
    return true;
  }
  void AbandonDocument() override { ++abandoned; }
  double TextWidth(const std::string& text) override { return static_cast<double>(text.size()); }
  double PrintableWidth() override { return width; }
  std::string OutputFile() const override { return file; }
  bool SetFont(const PrinterFont& chosen) override {
    if (Refuses()) return false;
    font = chosen;
    ++fontsSet;
    return true;
  }

  static constexpr const char* kPageBreak = "<new page>";
  std::vector<std::string> lines;
  std::string file;  // what OutputFile says: a file printed into
  int documents = 0;
  int abandoned = 0;
  int fontsSet = 0;
  double width = 80;
  PrinterFont font;
  bool failing = false;  // every call reports a printer failure
  int failAfter = -1;    // from this many calls on, every call fails; -1 never

 private:
  bool Refuses() { return failing || (failAfter >= 0 && calls_++ >= failAfter); }
  int calls_ = 0;
};

}  // namespace vrk::test
