// A change of several files of a directory that finishes or is undone as one: renaming a catalog
// (to another name, or a new catalog from its staged name into place) and removing one. Its intent is
// written first, as a journal file beside the catalog; the next program that opens, renames, removes
// or creates a catalog the journal names finishes it. So a catalog is never found half under one
// name and half under another, nor half removed.
//
// The journal file is DIRECTORY/FROM=TO.JN$ for the rename of catalog FROM to TO, DIRECTORY/FROM.JN$
// for the removal of FROM: the names it concerns are read from its name, without reading it. Its text
// is lines ended by LF, file names without a directory, fields separated by one TAB:
//   VRK journal 1
//   rename<TAB>FROM-FILE<TAB>TO-FILE     (one line a step, in the order they are made)
//   remove<TAB>FILE
//   end
// Order of writes. The journal is created and locked exclusively (the lock says that the program
// making the change is still at work; other programs wait for it), written whole, put on the disk,
// and the directory is synced. Then each step is made in order, the directory synced, and the journal
// removed and the directory synced once more. When a step fails, the renames made so far are undone
// in reverse order where the change allows it; when nothing is left done, the journal goes with it.
//
// Finishing a journal found (FinishJournals): its lock is taken (waiting a little for a program still
// at work); a journal without its "end" line was cut short before any step was made and is removed; a
// whole one has every step made again that is not yet made (a rename whose source is there, a removal
// of a file that is there), then it is removed. Steps made twice do nothing the second time, so a
// finish cut short is finished by the next program.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vrk {

class Ui;

inline constexpr const char* kJournalExtension = ".JN$";

struct JournalStep {
  std::string from;  // a file name of the directory
  std::string to;    // its new name; empty when the file is removed
};

// The journal's file name of a rename of the catalog FROM to TO, or of the removal of FROM (`to` empty).
std::string JournalName(const std::string& from, const std::string& to);

// Makes the steps of a change as the journal `journalName` of `directory` says, in the order of writes
// above. With `undo`, a failed step has the renames before it undone. False after the message of
// what failed; the change is then undone, or left for FinishJournals to finish.
[[nodiscard]] bool RunJournal(Ui& ui, sys::FileSystem& system, const std::string& directory,
                              const std::string& journalName, const std::vector<JournalStep>& steps, bool undo);

// Finishes every journal of the directory that names the catalog NAME (renamed from or to NAME, or
// NAME removed). When NAME was renamed, says "NAME was renamed to NEW." True when none is left;
// false after a message (its program still at work, a file that could not be moved).
[[nodiscard]] bool FinishJournals(Ui& ui, sys::FileSystem& system, const std::string& directory,
                                  const std::string& name);

}  // namespace vrk
