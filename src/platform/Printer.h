// The Printer port: what report output needs of a printer. Every call that can fail returns false.
#pragma once

#include <string>

namespace vrk {

struct PrinterFont {
  std::string name = "Courier New";
  double size = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

class Printer {
 public:
  virtual ~Printer() = default;
  // Prints one line; with a tab column the text starts at that character column.
  virtual bool PrintLine(const std::string& text, int tabColumn = -1) = 0;
  virtual bool NewPage() = 0;
  virtual bool EndDocument() = 0;
  virtual double TextWidth(const std::string& text) = 0;
  virtual double PrintableWidth() = 0;
  virtual bool SetFont(const PrinterFont& font) = 0;
};

// The printer of a program that has none yet: every call fails, so output to it reports a printer
// failure instead of pretending to print.
class NoPrinter : public Printer {
 public:
  bool PrintLine(const std::string&, int = -1) override { return false; }
  bool NewPage() override { return false; }
  bool EndDocument() override { return false; }
  double TextWidth(const std::string& text) override { return static_cast<double>(text.size()); }
  double PrintableWidth() override { return 80; }
  bool SetFont(const PrinterFont&) override { return false; }
};

}  // namespace vrk
