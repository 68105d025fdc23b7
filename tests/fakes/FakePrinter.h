// A printer for tests: keeps the printed lines and page breaks as text, one character a unit of width.
#pragma once

#include <string>
#include <vector>

#include "platform/Printer.h"

namespace vrk::test {

class FakePrinter : public Printer {
 public:
  bool PrintLine(const std::string& text, int tabColumn = -1) override {
    lines.push_back(tabColumn < 0 ? text : std::string(static_cast<std::size_t>(tabColumn), ' ') + text);
    return !failing;
  }
  bool NewPage() override {
    lines.push_back(kPageBreak);
    return !failing;
  }
  bool EndDocument() override {
    ++documents;
    return !failing;
  }
  double TextWidth(const std::string& text) override { return static_cast<double>(text.size()); }
  double PrintableWidth() override { return width; }
  bool SetFont(const PrinterFont& chosen) override {
    font = chosen;
    return !failing;
  }

  static constexpr const char* kPageBreak = "<new page>";
  std::vector<std::string> lines;
  int documents = 0;
  double width = 80;
  PrinterFont font;
  bool failing = false;  // every call reports a printer failure
};

}  // namespace vrk::test
