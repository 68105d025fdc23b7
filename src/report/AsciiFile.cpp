#include "report/AsciiFile.h"

#include "catalog/Files.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "report/OutputTarget.h"

namespace vrk {
namespace {

constexpr std::size_t kPiece = 1 << 20;  // lines gather up to this many bytes before they are written

// The file dialog's default extension: a name typed without one gets ".txt".
std::string WithDefaultExtension(const std::string& path) {
  return FileNamePart(path).find('.') == std::string::npos ? path + ".txt" : path;
}

}  // namespace

std::string GetASCFile(const ReportContext& context) {
  Ui& ui = context.store.ui;
  ui.dialogCancel = 0;
  const auto chosen = ui.ChooseSaveFile({.title = "ASCII File",
                                         .filter = "Text (*.txt)|*.txt",
                                         .directory = context.store.programDirectory,
                                         .fileName = context.store.catalogName,
                                         .confirmOverwrite = false});  // asked below, once
  if (!chosen) {
    ui.dialogCancel = -1;
    return "";
  }
  const std::string path = WithDefaultExtension(*chosen);
  if (RefuseOutputTarget(context.store, path)) return "";
  if (FileExists(path) && ui.ShowMessage({"ASCII File: " + PathText(path) + " already exists, OVERWRITE?", kAppTitle,
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
  return file_ != 0;
}

bool AsciiReportFile::Line(std::string_view text) {
  if (failed_) return false;
  pending_ += text;
  pending_ += "\r\n";
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
  const bool flushed = Flush();
  const bool closed = store_.files.Close(file_);
  file_ = 0;
  return flushed && closed;
}

}  // namespace vrk
