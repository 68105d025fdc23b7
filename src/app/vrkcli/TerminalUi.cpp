#include "app/vrkcli/TerminalUi.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "catalog/Catalog.h"
#include "platform/CodePage.h"
#include "search/SearchState.h"

namespace vrk {
namespace {

constexpr int kBarWidth = 24;

// The characters of UTF-8 text: its bytes but for the continuation bytes.
int Columns(const std::string& utf8) {
  return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The first `columns` characters of UTF-8 text.
std::string FirstColumns(const std::string& utf8, int columns) {
  std::size_t end = 0;
  for (int seen = 0; end < utf8.size(); ++end) {
    if ((utf8[end] & 0xC0) != 0x80 && seen++ == columns) break;
  }
  return utf8.substr(0, end);
}

int TerminalWidth() {
  winsize size{};
  return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// The gauge's line: the message, a bar, the percentage and the entries per second, short of `width`
// columns (the message is cut to make room).
std::string ProgressLine(const std::string& message, double fraction, double perSecond, int width) {
  fraction = std::clamp(fraction, 0.0, 1.0);
  const int filled = static_cast<int>(fraction * kBarWidth);
  char tail[64];
  std::snprintf(tail, sizeof tail, "] %3d%%  %ld entries/s", static_cast<int>(fraction * 100),
                std::lround(std::max(perSecond, 0.0)));
  const std::string bar = " [" + std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + tail;
  // The line stays short of the last column, where a terminal would wrap.
  const int room = width - 1 - Columns(bar);
  if (room <= 0) return bar.substr(1);
  return (Columns(message) > room ? FirstColumns(message, std::max(room - 3, 0)) + "..." : message) + bar;
}

}  // namespace

Answer TerminalUi::ShowMessage(const MessageBox& box) {
  std::string line;
  for (const char c : box.text) {
    if (c == '\r' || c == '\n' || c == '\t') {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += c;
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  ClearProgress();
  if (line == kNoMatchesFound || line == kNoSequentialMatches || line == kNoDeletedFound) {
    nothingFound = true;
    std::cerr << "vrkcli: ";
  }
  std::cerr << (box.file.empty() ? "" : box.file + ": ") << Utf8FromAnsi(line) << '\n';
  DrawProgress();
  ++messageCount;
  switch (box.buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::RetryCancel: return Answer::Cancel;
  }
  return Answer::Cancel;
}

TerminalUi::TerminalUi() : terminal_(::isatty(STDERR_FILENO) == 1) {
  dialogs.Register<CatalogNotCompatible>([this](CatalogNotCompatible&) {
    ShowMessage(
        {"Cannot Read This Catalog: This version of VRK In Windows can not read catalogs created by some "
         "previous versions of VRK.  DO NOT TRY TO USE THIS CATALOG--you may damage it."});
    return true;
  });
}

void TerminalUi::ShowGaugeWindow(int maximum, const std::string& message, bool) {
  if (!terminal_) return;
  progressShown_ = true;
  progressMessage_ = Utf8FromAnsi(message);
  progressMaximum_ = maximum;
  progressValue_ = 0;
  progressStart_ = std::chrono::steady_clock::now();
  DrawProgress();
}

void TerminalUi::SetGaugeValue(int value) {
  progressValue_ = value;
  // A few times a second is enough for the eye, and keeps a fast job from flooding a slow terminal.
  const auto now = std::chrono::steady_clock::now();
  if (now - progressDrawn_ < std::chrono::milliseconds(100) && value < progressMaximum_) return;
  progressDrawn_ = now;
  DrawProgress();
}

void TerminalUi::CloseGaugeWindow() {
  ClearProgress();
  progressShown_ = false;
}

void TerminalUi::DrawProgress() {
  if (!progressShown_) return;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - progressStart_).count();
  const double fraction = progressMaximum_ > 0 ? static_cast<double>(progressValue_) / progressMaximum_ : 0.0;
  std::cerr << '\r'
            << ProgressLine(progressMessage_, fraction, seconds > 0 ? GaugeSteps() / seconds : 0.0, TerminalWidth())
            << "\x1b[K" << std::flush;
}

void TerminalUi::ClearProgress() {
  if (progressShown_) std::cerr << "\r\x1b[K" << std::flush;
}

std::optional<std::string> TerminalUi::NextAnswer() {
  if (promptAnswers.empty()) return std::nullopt;
  std::string answer = promptAnswers.front();
  promptAnswers.pop_front();
  return answer;
}

}  // namespace vrk
