#include "report/AsciiFile.h"

#include "catalog/Files.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "report/OutputTarget.h"

namespace vrk {
namespace {

constexpr std::size_t kPiece = 1 << 20;  // lines gather up to this many bytes before they are written

// The file dialog's default extension: a name typed without one gets the form's.
std::string WithDefaultExtension(const std::string& path, const ReportFileForm& form) {
  return FileNamePart(path).find('.') == std::string::npos ? path + form.extension : path;
}

// Code page 1252 text as HTML text: UTF-8, with the characters that mark up HTML escaped.
std::string HtmlText(std::string_view ansi) {
  std::string html;
  for (const char c : Utf8FromAnsi(ansi)) {
    switch (c) {
      case '&': html += "&amp;"; break;
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '"': html += "&quot;"; break;
      default: html += c;
    }
  }
  return html;
}

// The page around the report's lines: the catalog's name as its title, the lines in a fixed-pitch
// face that a printed page takes whole, no line cut or wrapped.
std::string HtmlStart(const std::string& title) {
  return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + HtmlText(title) +
         "</title>\n<style>\nbody { margin: 1em; }\npre { font-family: \"Liberation Mono\", \"DejaVu Sans Mono\", "
         "monospace; font-size: 10pt; line-height: 1.2; }\n@media print { body { margin: 0; } pre { font-size: 9pt; "
         "} }\n</style>\n</head>\n<body>\n<pre>\n";
}
constexpr const char* kHtmlEnd = "</pre>\n</body>\n</html>\n";

}  // namespace

std::string GetASCFile(const ReportContext& context, const ReportFileForm& form) {
  Ui& ui = context.store.ui;
  ui.dialogCancel = 0;
  const std::string kind = std::string(form.name) + " File";
  const auto chosen = ui.ChooseSaveFile({.title = kind,
                                         .filter = form.filter,
                                         .directory = context.store.programDirectory,
                                         .fileName = context.store.catalogName,
                                         .confirmOverwrite = false});  // asked below, once
  if (!chosen) {
    ui.dialogCancel = -1;
    return "";
  }
  const std::string path = WithDefaultExtension(*chosen, form);
  if (RefuseOutputTarget(context.store, path)) return "";
  if (FileExists(path) && ui.ShowMessage({kind + ": " + PathText(path) + " already exists, OVERWRITE?", kAppTitle,
                                          Buttons::YesNo, Icon::Question, true}) != Answer::Yes) {
    return "";
  }
  StartAsciiFile(context.state.output);
  return path;
}

void StartAsciiFile(OutputState& output) {
  output.lineCount = 0;
  output.newPageFlag = true;
}

AsciiReportFile::~AsciiReportFile() {
  if (file_ != 0) (void)store_.files.Close(file_);
}

bool AsciiReportFile::Open() {
  file_ = OpenFile(store_.ui, store_.files, path_, kWriteText, 0, false);
  if (form_.html) pending_ = HtmlStart(store_.catalogName);
  return file_ != 0;
}

bool AsciiReportFile::Line(std::string_view text) {
  if (failed_) return false;
  pending_ += form_.html ? HtmlText(text) : text;
  pending_ += form_.html ? "\n" : "\r\n";
  return pending_.size() < kPiece || Flush();
}

bool AsciiReportFile::Flush() {
  BufferedFile* file = store_.files.Get(file_);
  while (!failed_ && !pending_.empty()) {
    if (file->WriteAt(written_, pending_.data(), pending_.size())) {
      written_ += static_cast<std::int64_t>(pending_.size());
      pending_.clear();
      continue;
    }
    const int answer = ReportFileError(store_.ui, FileFailureFromErrno(file->error(), path_));
    // A failure the File Error box does not know still stops the report, and says so.
    if (answer == 3)
      store_.ui.ShowMessage({"Cannot write " + PathText(path_) + ".", "File Error", Buttons::Ok, Icon::Exclamation});
    failed_ = answer != 0;
  }
  return !failed_;
}

bool AsciiReportFile::Close() {
  if (file_ == 0) return false;
  if (form_.html && !failed_) pending_ += kHtmlEnd;
  const bool flushed = Flush();
  const bool closed = store_.files.Close(file_);
  file_ = 0;
  return flushed && closed;
}

}  // namespace vrk
