// The Printer port on QPrinter and QPainter: a printer of the system (CUPS) or a PDF file, whichever
// Print Setup chose; with neither chosen, the system's default printer, or a PDF file the user is asked
// for when there is none. Lines go down the page at a fixed pitch (six lines an inch at 10 points), inside
// the page layout's margins and never closer to the edge than the printer can print; a line that would
// run off the page's foot starts a new page, as a printer does. Columns are the advance of the font's
// "0". Without a chosen font the printer prints in an installed fixed-pitch 10-point face, so that pages
// come out alike whichever fixed-pitch faces a system has.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Printer.h"

namespace vrk {

class GlyphTable;

class QtPrinter : public Printer {
 public:
  QtPrinter();
  // Prints on `device`, which the caller keeps (a print preview's pages); it asks for no file.
  explicit QtPrinter(QPrinter& device);
  ~QtPrinter() override;

  bool PrintLine(const std::string& text, int tabColumn = 0, const std::string& tabbed = {}) override;
  bool NewPage() override;
  bool EndDocument() override;
  void AbandonDocument() override;
  double TextWidth(const std::string& text) override;
  double PrintableWidth() override;
  bool SetFont(const PrinterFont& font) override;
  // Ends a document in progress, then runs setupDialog on the printer.
  SetupAnswer Setup() override;
  bool Preview(const std::function<void(Printer& pages)>& print) override;
  std::string Failure() const override { return failure_; }
  std::string OutputFile() const override;
  // Prints into this PDF file from now on.
  void PrintToPdf(const std::string& path);
  QPrinter& printer() { return *device_; }
  // The family of the face printed in when no font was chosen.
  static QString OwnFamily();

  // The desktop program's print-setup dialog over the printer.
  std::function<SetupAnswer(QPrinter&)> setupDialog;
  // The desktop program's preview window for `pages`; it runs `paint` whenever it lays them out.
  std::function<bool(QPrinter& pages, const std::function<void(QPrinter&)>& paint)> previewDialog;
  // Asks for the PDF file to print into when the system has no printer; empty when cancelled.
  std::function<std::string()> choosePdfFile;

 private:
  bool Begin();
  bool ChooseDestination();
  bool Failed();
  double LinePitch() const;
  double Column(int column) const;
  GlyphTable& Glyphs();
  // Draws `ansi` with its left end at x on the line's baseline.
  void Draw(double x, double baseline, std::string_view ansi);
  // Draws the glyphs that wait for the page's end.
  void DrawWaiting();
  // Ends the page: its waiting glyphs are drawn and the next line is the new page's first.
  bool StartPage();

  std::unique_ptr<QPrinter> own_;
  QPrinter* device_;
  QPainter painter_;
  QFont font_;
  std::unique_ptr<GlyphTable> glyphs_;  // of font_ on this device, made at the first line printed in it;
                                        // holds the page's glyphs until the page ends
  std::string expanded_;                // the line being printed, its tabs widened
  double pageHeight_ = 0;               // of the document's pages, in device pixels
  double y_ = 0;                        // top of the next line, in device pixels from the page rectangle's top
  std::string failure_;
};

}  // namespace vrk
