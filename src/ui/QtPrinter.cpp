#include "ui/QtPrinter.h"

#include <QFile>
#include <QFontMetricsF>
#include <charconv>
#include <system_error>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace vrk {
namespace {

constexpr int kTabStop = 8;  // characters from one tab stop to the next

// Code page 1252 text for the painter, each tab character widened to the next tab stop.
QString PrintText(const std::string& ansi) {
  std::string expanded;
  expanded.reserve(ansi.size());
  for (const char c : ansi) {
    if (c != '\t') {
      expanded += c;
      continue;
    }
    expanded.append(kTabStop - expanded.size() % kTabStop, ' ');
  }
  return QString::fromStdString(Utf8FromAnsi(expanded));
}

// Whether the PDF file at `path` was written whole. Qt's PDF engine does not say when the disk refused
// a write; the cross-reference table then is not where the file's trailer says it is.
bool PdfIsWhole(const std::string& path) {
  sys::FileHandle file;
  std::uint64_t size = 0;
  if (sys::OpenFile(path, sys::Access::kRead, sys::Creation::kExisting, file) != 0 || sys::FileSize(file, size) != 0) {
    return false;
  }
  const auto read = [&](std::uint64_t at, std::size_t length) {
    std::string bytes(length, '\0');
    std::size_t got = 0;
    if (sys::ReadAt(file, at, bytes.data(), length, got) != 0) got = 0;
    bytes.resize(got);
    return bytes;
  };
  constexpr std::size_t kTail = 64;
  const std::string tail = read(size > kTail ? size - kTail : 0, kTail);
  const auto at = tail.rfind("startxref\n");
  if (at == std::string::npos || tail.find("%%EOF", at) == std::string::npos) return false;
  std::uint64_t table = 0;
  const char* digits = tail.data() + at + 10;
  const auto [end, error] = std::from_chars(digits, tail.data() + tail.size(), table);
  return error == std::errc() && end != digits && table < size && read(table, 4) == "xref";
}

QFont PrinterOwnFont() {
  QFont font(QStringLiteral("Courier New"), 10);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

}  // namespace

QtPrinter::QtPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), font_(PrinterOwnFont()) {}

QtPrinter::~QtPrinter() { AbandonDocument(); }

bool QtPrinter::Begin() {
  if (painter_.isActive()) return true;
  if (!painter_.begin(printer_.get())) return false;
  painter_.setFont(font_);
  y_ = 0;
  return true;
}

double QtPrinter::Column(int column) const {
  return (column - 1) * QFontMetricsF(font_, printer_.get()).averageCharWidth();
}

bool QtPrinter::PrintLine(const std::string& text, int tabColumn, const std::string& tabbed) {
  if (!Begin()) return false;
  const QFontMetricsF metrics(font_, printer_.get());
  const double height = printer_->pageRect(QPrinter::DevicePixel).height();
  const auto nextLine = [&] {
    if (y_ > 0 && y_ + metrics.lineSpacing() > height) {
      if (!printer_->newPage()) return false;
      y_ = 0;
    }
    return true;
  };
  const auto draw = [&](double x, const QString& piece) {
    if (!piece.isEmpty()) painter_.drawText(QPointF(x, y_ + metrics.ascent()), piece);
  };
  if (!nextLine()) return false;
  const QString line = PrintText(text);
  draw(0, line);
  if (tabColumn > 0) {
    const double x = Column(tabColumn);
    if (metrics.horizontalAdvance(line) > x) {
      y_ += metrics.lineSpacing();
      if (!nextLine()) return false;
    }
    draw(x, PrintText(tabbed));
  }
  y_ += metrics.lineSpacing();
  return printer_->printerState() != QPrinter::Error;
}

bool QtPrinter::NewPage() {
  if (!Begin() || !printer_->newPage()) return false;
  y_ = 0;
  return true;
}

bool QtPrinter::EndDocument() {
  if (!painter_.isActive()) return true;  // nothing printed since the last end
  const bool ended = painter_.end() && printer_->printerState() != QPrinter::Error;
  return ended && (printer_->outputFormat() != QPrinter::PdfFormat || PdfIsWhole(OutputFile()));
}

void QtPrinter::AbandonDocument() {
  if (!painter_.isActive()) return;
  printer_->abort();
  painter_.end();
}

double QtPrinter::TextWidth(const std::string& text) {
  return QFontMetricsF(font_, printer_.get()).horizontalAdvance(PrintText(text));
}

double QtPrinter::PrintableWidth() { return printer_->pageRect(QPrinter::DevicePixel).width(); }

// The font goes on the page at once, so that the document starts here: a printer that cannot print
// says so before a title is asked for.
bool QtPrinter::SetFont(const PrinterFont& font) {
  QFont chosen(QString::fromStdString(Utf8FromAnsi(font.name)));
  if (font.size > 0) chosen.setPointSizeF(font.size);
  chosen.setBold(font.bold);
  chosen.setItalic(font.italic);
  chosen.setUnderline(font.underline);
  font_ = chosen;
  if (!Begin()) return false;
  painter_.setFont(font_);
  return true;
}

bool QtPrinter::Setup() {
  if (!EndDocument()) AbandonDocument();
  return setupDialog && setupDialog(*printer_);
}

std::string QtPrinter::OutputFile() const { return QFile::encodeName(printer_->outputFileName()).toStdString(); }

void QtPrinter::PrintToPdf(const std::string& path) {
  AbandonDocument();
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setOutputFileName(QFile::decodeName(path.c_str()));
}

}  // namespace vrk
