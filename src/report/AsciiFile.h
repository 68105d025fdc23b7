// Report files, written through the file table in large pieces: ASCII files of code page 1252 text,
// every line ended with carriage return and line feed, and HTML files, one self-contained UTF-8 page
// that holds the same lines in a <pre>, its text escaped, which a browser shows and prints as they are.
#pragma once

#include <string>

#include "report/PrintedOutput.h"

namespace vrk {

// What kind of report file.
struct ReportFileForm {
  const char* name;       // "ASCII", "HTML"
  const char* filter;     // of the file dialog
  const char* extension;  // given to a name typed without one
  bool html;
};
inline constexpr ReportFileForm kAsciiForm{"ASCII", "Text (*.txt)|*.txt", ".txt", false};
inline constexpr ReportFileForm kHtmlForm{"HTML", "HTML (*.html)|*.html", ".html", true};

// Asks for the report file ("ASCII File", "HTML File") and whether an existing one may be replaced.
// The chosen path, or empty when the user cancelled or would not replace the file; a path starts the
// file's page state.
std::string GetASCFile(const ReportContext& context, const ReportFileForm& form = kAsciiForm);
// A new file's page state: it starts with the column headings and never with a top margin.
void StartAsciiFile(OutputState& output);

// The open report file. A write the disk refuses is said in the File Error box (Retry where it
// offers one); the file is then failed, and every later line and Close report false.
class AsciiReportFile : public ReportSink {
 public:
  AsciiReportFile(CatalogStore& store, std::string path, const ReportFileForm& form = kAsciiForm)
      : store_(store), path_(std::move(path)), form_(form) {}
  ~AsciiReportFile() override;
  AsciiReportFile(const AsciiReportFile&) = delete;
  AsciiReportFile& operator=(const AsciiReportFile&) = delete;

  // Creates the file, or empties it, and begins an HTML page; false after the File Error message.
  bool Open();
  bool IsPrinter() const override { return false; }
  bool Line(std::string_view text) override;
  int MemoLineWidth() override { return kAsciiMemoWidth; }
  // Ends an HTML page, writes what is left and closes the file; false when anything of it could not
  // be written.
  bool Close();

 private:
  bool Flush();

  CatalogStore& store_;
  std::string path_;
  const ReportFileForm& form_;
  int file_ = 0;
  bool failed_ = false;
  std::string pending_;
  std::int64_t written_ = 0;
};

}  // namespace vrk
