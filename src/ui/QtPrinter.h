// The Printer port on QPrinter and QPainter: a printer of the system (CUPS) or a PDF file, whichever
// Print Setup chose. Lines go down the page one line spacing apart; a line that would run off the
// page's foot starts a new page, as a printer does. Columns are character positions of the font's
// average width. Without a chosen font the printer prints in its own, a fixed-pitch 10-point face.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>

#include "platform/Printer.h"

namespace vrk {

class QtPrinter : public Printer {
 public:
  QtPrinter();
  ~QtPrinter() override;

  bool PrintLine(const std::string& text, int tabColumn = 0, const std::string& tabbed = {}) override;
  bool NewPage() override;
  bool EndDocument() override;
  void AbandonDocument() override;
  double TextWidth(const std::string& text) override;
  double PrintableWidth() override;
  bool SetFont(const PrinterFont& font) override;
  // Ends a document in progress, then runs setupDialog on the printer.
  bool Setup() override;

  std::string OutputFile() const override;
  // Prints into this PDF file from now on.
  void PrintToPdf(const std::string& path);
  QPrinter& printer() { return *printer_; }
  // The desktop program's print-setup dialog over the printer; true when confirmed.
  std::function<bool(QPrinter&)> setupDialog;

 private:
  bool Begin();
  double Column(int column) const;

  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  QFont font_;
  double y_ = 0;  // top of the next line, in device pixels from the page rectangle's top
};

}  // namespace vrk
