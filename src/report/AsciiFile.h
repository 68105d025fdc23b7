// ASCII report files: code page 1252 text, every line ended with carriage return and line feed,
// written through the file table in large pieces.
#pragma once

#include <string>

#include "report/PrintedOutput.h"

namespace vrk {

// Asks for the ASCII file ("ASCII File") and whether an existing one may be replaced. The chosen
// path, or empty when the user cancelled or would not replace the file; a path starts the file's
// page state.
std::string GetASCFile(const ReportContext& context);
// A new file's page state: it starts with the column headings and never with a top margin.
void StartAsciiFile(OutputState& output);

// The open report file. A write the disk refuses is said in the File Error box (Retry where it
// offers one); the file is then failed, and every later line and Close report false.
class AsciiReportFile : public ReportSink {
 public:
  AsciiReportFile(CatalogStore& store, std::string path) : store_(store), path_(std::move(path)) {}
  ~AsciiReportFile() override;
  AsciiReportFile(const AsciiReportFile&) = delete;
  AsciiReportFile& operator=(const AsciiReportFile&) = delete;

  // Creates the file, or empties it; false after the File Error message.
  bool Open();
  bool IsPrinter() const override { return false; }
  bool Line(std::string_view text) override;
  int MemoLineWidth() override { return kAsciiMemoWidth; }
  // Writes what is left and closes the file; false when anything of it could not be written.
  bool Close();

 private:
  bool Flush();

  CatalogStore& store_;
  std::string path_;
  int file_ = 0;
  bool failed_ = false;
  std::string pending_;
  std::int64_t written_ = 0;
};

}  // namespace vrk
