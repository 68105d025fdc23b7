#include "catalog/Journal.h"

#include <chrono>
#include <utility>

#include "catalog/Files.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr std::string_view kFirstLine = "VRK journal 1";
constexpr std::string_view kLastLine = "end";
constexpr std::size_t kMostJournalBytes = 64 * 1024;
constexpr auto kJournalWait = std::chrono::seconds(2);

std::string In(const std::string& directory, const std::string& file) { return directory + "/" + file; }

std::string Synced(const std::string& directory) { return directory.empty() ? "/" : directory; }

bool Failed(Ui& ui, int error, const std::string& path) {
  (void)ReportFileError(ui, FileFailureFromErrno(error, path));
  return false;
}

std::string JournalText(const std::vector<JournalStep>& steps) {
  std::string text = std::string(kFirstLine) + "\n";
  for (const JournalStep& step : steps) {
    text += step.to.empty() ? "remove\t" + step.from + "\n" : "rename\t" + step.from + "\t" + step.to + "\n";
  }
  return text + std::string(kLastLine) + "\n";
}

// A file name of the directory a journal may name: no directory, nothing that leaves it.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\t\n") == std::string_view::npos;
}

// The steps of a journal's text; false for a journal cut short, or one this program never wrote.
bool ParseJournal(std::string_view text, std::vector<JournalStep>& steps) {
  steps.clear();
  bool first = true;
  while (!text.empty()) {
    const auto end = text.find('\n');
    if (end == std::string_view::npos) return false;  // the last line is not whole
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (std::exchange(first, false)) {
      if (line != kFirstLine) return false;
    } else if (line == kLastLine) {
      return text.empty();
    } else if (line.starts_with("remove\t") && IsPlainName(line.substr(7))) {
      steps.push_back({std::string(line.substr(7)), {}});
    } else if (const auto tab = line.find('\t', 7); line.starts_with("rename\t") && tab != std::string_view::npos &&
                                                    IsPlainName(line.substr(7, tab - 7)) &&
                                                    IsPlainName(line.substr(tab + 1))) {
      steps.push_back({std::string(line.substr(7, tab - 7)), std::string(line.substr(tab + 1))});
    } else {
      return false;
    }
  }
  return false;
}

// Makes one step unless it is made already: 0 or the error number.
int MakeStep(sys::FileSystem& system, const std::string& directory, const JournalStep& step) {
  const std::string from = In(directory, step.from);
  if (sys::FileId there; sys::IdOfPath(from, there) != 0) return 0;  // the names are as found, letter case too
  // Nothing of another catalog is ever replaced.
  return step.to.empty() ? sys::RemoveFile(system, from) : sys::RenameNew(system, from, In(directory, step.to));
}

// Whether the open file is still the one the path names.
bool StillAt(const sys::FileHandle& file, const std::string& path) {
  sys::FileId open, named;
  return sys::IdOf(file, open) == 0 && sys::IdOfPath(path, named) == 0 && open == named;
}

bool RemoveJournal(Ui& ui, sys::FileSystem& system, const std::string& directory, const std::string& path) {
  if (const int error = sys::RemoveFile(system, path); error != 0 && error != ENOENT) return Failed(ui, error, path);
  if (const int error = sys::SyncDirectory(system, Synced(directory))) return Failed(ui, error, directory);
  return true;
}

// Finishes the journal `file` of the directory, for the catalog `subject` it concerns.
bool FinishJournal(Ui& ui, sys::FileSystem& system, const std::string& directory, const std::string& file,
                   const std::string& subject) {
  const std::string path = In(directory, file);
  sys::FileHandle journal;
  if (const int error = sys::OpenFile(system, path, sys::Access::kRead, sys::Creation::kExisting, journal)) {
    return error == ENOENT || Failed(ui, error, path);  // finished meanwhile
  }
  if (const int error = sys::LockFile(journal, sys::Lock::kExclusive, kJournalWait)) {
    if (error != EWOULDBLOCK) return Failed(ui, error, path);
    ui.Message(subject + " is in use by another program.", Icon::Exclamation);
    return false;
  }
  if (!StillAt(journal, path)) return true;  // its program finished it while this one waited
  std::string text(kMostJournalBytes, '\0');
  std::size_t got = 0;
  if (const int error = sys::ReadAt(journal, 0, text.data(), text.size(), got)) return Failed(ui, error, path);
  text.resize(got);
  std::vector<JournalStep> steps;
  if (ParseJournal(text, steps)) {
    for (const JournalStep& step : steps) {
      if (const int error = MakeStep(system, directory, step)) return Failed(ui, error, In(directory, step.from));
    }
    if (const int error = sys::SyncDirectory(system, Synced(directory))) return Failed(ui, error, directory);
  }
  return RemoveJournal(ui, system, directory, path);
}

}  // namespace

std::string JournalName(const std::string& from, const std::string& to) {
  return from + (to.empty() ? "" : "=" + to) + kJournalExtension;
}

bool RunJournal(Ui& ui, sys::FileSystem& system, const std::string& directory, const std::string& journalName,
                const std::vector<JournalStep>& steps, bool undo) {
  const std::string path = In(directory, journalName);
  sys::FileHandle journal;
  const std::string text = JournalText(steps);
  int error = sys::OpenFile(system, path, sys::Access::kReadWrite, sys::Creation::kReplace, journal);
  // Held until the journal is gone: a program that finds it waits for this one.
  if (error == 0) error = sys::LockFile(journal, sys::Lock::kExclusive);
  if (error == 0) error = sys::WriteAt(journal, 0, text.data(), text.size());
  if (error == 0) error = sys::SyncFile(journal);
  if (error == 0) error = sys::SyncDirectory(system, Synced(directory));
  if (error != 0) {
    (void)sys::RemoveFile(system, path);  // no step was made
    return Failed(ui, error, path);
  }
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if ((error = MakeStep(system, directory, steps[i])) == 0) continue;
    Failed(ui, error, In(directory, steps[i].to.empty() ? steps[i].from : steps[i].to));
    // Undone in reverse order; a removal cannot be, and leaves the change to be finished.
    std::size_t done = i;
    while (undo && done > 0 && !steps[done - 1].to.empty() &&
           sys::RenameNew(system, In(directory, steps[done - 1].to), In(directory, steps[done - 1].from)) == 0) {
      --done;
    }
    if (done == 0) (void)RemoveJournal(ui, system, directory, path);
    return false;
  }
  if ((error = sys::SyncDirectory(system, Synced(directory))) != 0) return Failed(ui, error, directory);
  return RemoveJournal(ui, system, directory, path);
}

bool FinishJournals(Ui& ui, sys::FileSystem& system, const std::string& directory, const std::string& name) {
  std::vector<std::string> files;
  if (sys::ListDirectory(Synced(directory), files) != 0) return true;  // nothing there to finish
  bool finished = true;
  for (const std::string& file : files) {
    const std::string upper = UpperAscii(file);
    if (upper.size() <= 4 || !upper.ends_with(kJournalExtension)) continue;
    const std::string stem = upper.substr(0, upper.size() - 4);
    const auto equals = stem.find('=');
    const std::string from = stem.substr(0, equals);
    const std::string to = equals == std::string::npos ? std::string() : stem.substr(equals + 1);
    if (from != name && to != name) continue;
    if (!FinishJournal(ui, system, directory, file, name)) {
      finished = false;
    } else if (from == name && !to.empty() && !FileExists(In(directory, name + ".DAT")) &&
               FileExists(In(directory, to + ".DAT"))) {
      ui.Message(name + " was renamed to " + to + ".", Icon::Exclamation);
    }
  }
  return finished;
}

}  // namespace vrk
