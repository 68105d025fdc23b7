#include "ui/QtPrinter.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPrinterInfo>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Memory.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

constexpr int kTabStop = 8;             // characters from one tab stop to the next
constexpr double kOwnSize = 10;         // points
constexpr double kLinesPerPoint = 1.2;  // a line's pitch for each point of the font's size
constexpr double kMarginMillimetres = 10;

// `ansi` into `expanded`, each tab character widened to the next tab stop.
void ExpandTabs(std::string_view ansi, std::string& expanded) {
  expanded.clear();
  for (const char c : ansi) {
    if (c != '\t') {
      expanded += c;
      continue;
    }
    expanded.append(kTabStop - expanded.size() % kTabStop, ' ');
  }
}

// Code page 1252 text for the painter, each tab character widened to the next tab stop.
QString PrintText(std::string_view ansi) {
  std::string expanded;
  ExpandTabs(ansi, expanded);
  return QString::fromStdString(Utf8FromAnsi(expanded));
}

// Whether the PDF file at `path` was written whole. Qt's PDF engine does not say when the disk refused
// a write; the cross-reference table then is not where the file's trailer says it is.
bool PdfIsWhole(const std::string& path) {
  sys::FileHandle file;
  std::uint64_t size = 0;
  if (sys::OpenFile(sys::SystemFiles(), path, sys::Access::kRead, sys::Creation::kExisting, file) != 0 ||
      sys::FileSize(file, size) != 0) {
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

// Installed under this very name: not a face the font configuration would stand in for it.
bool Installed(const QString& family) { return QFontDatabase::families().contains(family, Qt::CaseInsensitive); }

// The chosen font when it is installed; the own face otherwise, at its size.
QFont Face(const PrinterFont& chosen) {
  const QString name = QString::fromStdString(Utf8FromAnsi(chosen.name));
  QFont font(!name.isEmpty() && Installed(name) ? name : QtPrinter::OwnFamily());
  font.setPointSizeF(chosen.size > 0 ? chosen.size : kOwnSize);
  font.setBold(chosen.bold);
  font.setItalic(chosen.italic);
  font.setUnderline(chosen.underline);
  return font;
}

// The layout's margins, widened where the printer cannot print as close to the edge.
void KeepClearOfUnprintable(QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const QMarginsF set = layout.margins();
  const QMarginsF least = layout.minimumMargins();
  const QMarginsF margins(std::max(set.left(), least.left()), std::max(set.top(), least.top()),
                          std::max(set.right(), least.right()), std::max(set.bottom(), least.bottom()));
  if (margins != set) printer.setPageMargins(margins, layout.units());
}

std::string Text(const QString& text) { return AnsiFromUtf8(text.toStdString()); }

}  // namespace

// The font's glyphs for the 256 characters of code page 1252 and their advances, looked up once for
// the font on the device: a line is then placed glyph by glyph, not shaped anew. A character the font
// has no glyph for leaves its line to the painter, which finds it in another face.
class GlyphTable {
 public:
  GlyphTable(const QFont& font, QPaintDevice* device)
      : metrics_(font, device), raw_(QRawFont::fromFont(QFont(font, device))) {
    QString characters;
    for (int c = 0; c < 256; ++c)
      characters += QString::fromStdString(Utf8FromAnsi(std::string(1, static_cast<char>(c))));
    const QList<quint32> glyphs = raw_.isValid() ? raw_.glyphIndexesForString(characters) : QList<quint32>();
    if (glyphs.size() != 256) return;  // a character of more than one glyph: every line goes to the painter
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs);
    for (std::size_t c = 0; c < 256; ++c) {
      glyph_[c] = glyphs[static_cast<qsizetype>(c)];
      advance_[c] = advances[static_cast<qsizetype>(c)].x();
    }
    run_.setRawFont(raw_);
    run_.setUnderline(font.underline());
    usable_ = true;
  }

  const QFontMetricsF& metrics() const { return metrics_; }

  // Adds the line with its left end at `origin` to the glyphs waiting to be drawn; false, adding
  // nothing, when a character has no glyph in the font. Blanks leave no ink and are only stepped over
  // (unless underlined): a report's lines are mostly blanks that pad fields, and every glyph costs the
  // PDF file a positioned string of its own. Glyphs sit on whole device pixels, so that the file
  // writes their steps as short whole numbers.
  bool Add(QPointF origin, std::string_view ansi) {
    if (!usable_) return false;
    const std::size_t had = indexes_.size();
    double x = origin.x();
    const double y = std::round(origin.y());
    for (const char c : ansi) {
      const auto at = static_cast<unsigned char>(c);
      if (glyph_[at] == 0) {
        indexes_.resize(had);
        positions_.resize(had);
        return false;
      }
      if (c != ' ' || run_.underline()) {
        indexes_.push_back(glyph_[at]);
        positions_.push_back(QPointF(std::round(x), y));
      }
      x += advance_[at];
    }
    return true;
  }

  // Draws the glyphs added since the last draw as one run from `from` (on its whole device pixel, as
  // the glyphs are): the painter's cost for each run is then paid once a page, not once a line. The
  // painter underlines a run from its origin along the run's width, so underlined lines are drawn one
  // at a time, each from its own left end.
  void Draw(QPainter& painter, QPointF from = {}) {
    if (indexes_.empty()) return;
    const QPointF origin(std::round(from.x()), std::round(from.y()));
    QList<QPointF> offsets;
    offsets.reserve(static_cast<qsizetype>(positions_.size()));
    for (const QPointF& position : positions_) offsets.push_back(position - origin);
    run_.setGlyphIndexes(QList<quint32>(indexes_.begin(), indexes_.end()));
    run_.setPositions(offsets);
    painter.drawGlyphRun(origin, run_);
    Discard();
  }

  // Forgets the waiting glyphs: the document they were for was abandoned.
  void Discard() {
    indexes_.clear();
    positions_.clear();
  }

  bool underline() const { return run_.underline(); }

 private:
  QFontMetricsF metrics_;
  QRawFont raw_;
  bool usable_ = false;
  std::array<quint32, 256> glyph_{};
  std::array<double, 256> advance_{};
  QGlyphRun run_;
  std::vector<quint32> indexes_;  // the glyphs waiting to be drawn, kept at their page's size
  std::vector<QPointF> positions_;
};

QString QtPrinter::OwnFamily() {
  for (const char* name : {"Courier New", "Liberation Mono", "DejaVu Sans Mono"}) {
    const QString family = QString::fromLatin1(name);
    if (Installed(family) && QFontDatabase::isFixedPitch(family)) return family;
  }
  const QString system = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  if (QFontDatabase::isFixedPitch(system)) return system;
  const QStringList families = QFontDatabase::families();
  const auto fixed = std::find_if(families.begin(), families.end(),
                                  [](const QString& family) { return QFontDatabase::isFixedPitch(family); });
  return fixed != families.end() ? *fixed : system;
}

QtPrinter::QtPrinter()
    : own_(std::make_unique<QPrinter>(QPrinter::HighResolution)), device_(own_.get()), font_(Face({})) {
  own_->setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                       QPageLayout::Millimeter);
}

QtPrinter::QtPrinter(QPrinter& device) : device_(&device), font_(Face({})) {}

QtPrinter::~QtPrinter() { AbandonDocument(); }

GlyphTable& QtPrinter::Glyphs() {
  if (!glyphs_) glyphs_ = std::make_unique<GlyphTable>(font_, device_);
  return *glyphs_;
}

// With nothing chosen, or a printer that has gone, the system's default printer; without one, a PDF file.
bool QtPrinter::ChooseDestination() {
  if (device_->outputFormat() == QPrinter::PdfFormat) {
    if (!device_->outputFileName().isEmpty()) return true;
  } else if (!QPrinterInfo::printerInfo(device_->printerName()).isNull()) {
    return true;
  }
  if (const QPrinterInfo fallback = QPrinterInfo::defaultPrinter(); !fallback.isNull()) {
    device_->setOutputFormat(QPrinter::NativeFormat);
    device_->setPrinterName(fallback.printerName());
    return true;
  }
  const std::string file = choosePdfFile ? choosePdfFile() : std::string();
  if (file.empty()) {
    failure_ =
        "No printer is set up and no PDF file was chosen. Choose a printer or a PDF file with File > Print "
        "Setup, then print again.";
    return false;
  }
  PrintToPdf(file);
  return true;
}

// Says what failed; false.
bool QtPrinter::Failed() {
  if (device_->outputFormat() == QPrinter::PdfFormat) {
    failure_ = "The PDF file " + PathText(OutputFile()) +
               " could not be written. Check that its folder exists and may be written, or choose another file "
               "with File > Print Setup.";
  } else {
    failure_ = "The printer " + Text(device_->printerName()) +
               " did not take the document. Check that it is switched on and connected, or choose another "
               "printer with File > Print Setup.";
  }
  return false;
}

bool QtPrinter::Begin() {
  if (painter_.isActive()) return true;
  failure_.clear();
  if (own_ && !ChooseDestination()) return false;
  // Qt's PDF engine, which CUPS printing goes through too, deflates each page through buffers of many
  // megabytes that it allocates and frees again; kept in the heap, they are not mapped and faulted in
  // anew for every page, which halves a page's cost.
  sys::KeepFreedMemory(std::size_t{64} << 20);
  KeepClearOfUnprintable(*device_);
  if (!painter_.begin(device_)) return Failed();
  painter_.setFont(font_);
  glyphs_.reset();  // the device may be another
  pageHeight_ = device_->pageRect(QPrinter::DevicePixel).height();
  y_ = 0;
  return true;
}

double QtPrinter::LinePitch() const { return font_.pointSizeF() * kLinesPerPoint / 72 * device_->resolution(); }

double QtPrinter::Column(int column) const {
  return (column - 1) * QFontMetricsF(font_, device_).horizontalAdvance(QLatin1Char('0'));
}

// Blank text is not drawn at all; other text waits as glyphs for the page's end, or goes to the
// painter as text when the font lacks one of its characters.
void QtPrinter::Draw(double x, double baseline, std::string_view ansi) {
  ExpandTabs(ansi, expanded_);
  if (expanded_.find_first_not_of(' ') == std::string::npos) return;
  GlyphTable& glyphs = Glyphs();
  if (!glyphs.Add(QPointF(x, baseline), expanded_)) {
    painter_.drawText(QPointF(x, baseline), QString::fromStdString(Utf8FromAnsi(expanded_)));
  } else if (glyphs.underline()) {
    glyphs.Draw(painter_, QPointF(x, baseline));
  }
}

void QtPrinter::DrawWaiting() {
  if (glyphs_) glyphs_->Draw(painter_);
}

bool QtPrinter::StartPage() {
  DrawWaiting();
  if (!device_->newPage()) return false;
  y_ = 0;
  return true;
}

bool QtPrinter::PrintLine(const std::string& text, int tabColumn, const std::string& tabbed) {
  if (!Begin()) return false;
  const QFontMetricsF& metrics = Glyphs().metrics();
  const double pitch = LinePitch();
  // The font's own line sits in the middle of the pitch.
  const double baseline = (pitch - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
  const auto nextLine = [&] { return y_ == 0 || y_ + pitch <= pageHeight_ || StartPage(); };
  if (!nextLine()) return Failed();
  Draw(0, y_ + baseline, text);
  if (tabColumn > 0) {
    const double x = Column(tabColumn);
    if (metrics.horizontalAdvance(PrintText(text)) > x) {
      y_ += pitch;
      if (!nextLine()) return Failed();
    }
    Draw(x, y_ + baseline, tabbed);
  }
  y_ += pitch;
  return device_->printerState() != QPrinter::Error || Failed();
}

bool QtPrinter::NewPage() {
  if (!Begin()) return false;
  return StartPage() || Failed();
}

bool QtPrinter::EndDocument() {
  if (!painter_.isActive()) return true;  // nothing printed since the last end
  DrawWaiting();
  const bool ended = painter_.end() && device_->printerState() != QPrinter::Error &&
                     (device_->outputFormat() != QPrinter::PdfFormat || PdfIsWhole(OutputFile()));
  return ended || Failed();
}

void QtPrinter::AbandonDocument() {
  if (!painter_.isActive()) return;
  if (glyphs_) glyphs_->Discard();
  device_->abort();
  painter_.end();
}

double QtPrinter::TextWidth(const std::string& text) {
  return QFontMetricsF(font_, device_).horizontalAdvance(PrintText(text));
}

double QtPrinter::PrintableWidth() { return device_->pageRect(QPrinter::DevicePixel).width(); }

// The font goes on the page at once, so that the document starts here: a printer that cannot print
// says so before a title is asked for.
bool QtPrinter::SetFont(const PrinterFont& font) {
  DrawWaiting();
  font_ = Face(font);
  glyphs_.reset();
  if (!Begin()) return false;
  painter_.setFont(font_);
  return true;
}

Printer::SetupAnswer QtPrinter::Setup() {
  if (!EndDocument()) AbandonDocument();
  failure_.clear();
  return setupDialog ? setupDialog(*device_) : SetupAnswer::kCancelled;
}

bool QtPrinter::Preview(const std::function<void(Printer&)>& print) {
  if (!previewDialog) return false;
  // The pages of this printer; printed from the preview window, they go where this printer's would.
  KeepClearOfUnprintable(*device_);
  QPrinter pages(QPrinter::HighResolution);
  pages.setOutputFormat(device_->outputFormat());
  if (device_->outputFormat() == QPrinter::PdfFormat) {
    pages.setOutputFileName(device_->outputFileName());
  } else {
    pages.setPrinterName(device_->printerName());
  }
  pages.setPageLayout(device_->pageLayout());
  return previewDialog(pages, [&print](QPrinter& device) {
    QtPrinter on(device);
    print(on);
  });
}

std::string QtPrinter::OutputFile() const {
  if (device_->outputFormat() != QPrinter::PdfFormat) return {};
  return QFile::encodeName(device_->outputFileName()).toStdString();
}

void QtPrinter::PrintToPdf(const std::string& path) {
  AbandonDocument();
  device_->setOutputFormat(QPrinter::PdfFormat);
  device_->setOutputFileName(QFile::decodeName(path.c_str()));
}

}  // namespace vrk
