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

}  // namespace vrk
