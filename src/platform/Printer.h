// The Printer port: what report output needs of a printer. A document starts with the first thing
// printed and lasts until EndDocument, across runs (a current entry printed between runs joins the
// page in progress). Every call that can fail returns false.
#pragma once

#include <string>

namespace vrk {

// The printer font the user chose; an empty name means none was chosen and the printer keeps its own.
struct PrinterFont {
  std::string name;
  double size = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

class Printer {
 public:
  virtual ~Printer() = default;
  // Prints one line from the left margin and ends it; with a tab column (1-based, in characters of
  // the font), `tabbed` follows from that column, on the next line when the text already reaches it.
  // A tab character in the text moves on to the next tab stop.
  virtual bool PrintLine(const std::string& text, int tabColumn = 0, const std::string& tabbed = {}) = 0;
  virtual bool NewPage() = 0;
  // Ends the document: the printer prints it and ejects the last page.
  virtual bool EndDocument() = 0;
  // Drops the document in progress without printing it.
  virtual void AbandonDocument() = 0;
  // Widths in one unit of the printer's own, the printable width of the page included.
  virtual double TextWidth(const std::string& text) = 0;
  virtual double PrintableWidth() = 0;
  virtual bool SetFont(const PrinterFont& font) = 0;
  // The printer dialog in its setup form: which printer, or a PDF file; false when cancelled.
  virtual bool Setup() { return false; }
  // The file the printer prints into (Print to File); empty for a printer.
  virtual std::string OutputFile() const { return {}; }
};

// The printer of a program that has none: every call fails, so output to it reports a printer failure
// instead of pretending to print.
class NoPrinter : public Printer {
 public:
  bool PrintLine(const std::string&, int = 0, const std::string& = {}) override { return false; }
  bool NewPage() override { return false; }
  bool EndDocument() override { return false; }
  void AbandonDocument() override {}
  double TextWidth(const std::string& text) override { return static_cast<double>(text.size()); }
  double PrintableWidth() override { return 80; }
  bool SetFont(const PrinterFont&) override { return false; }
};

}  // namespace vrk
