// The program's state: the catalog store's part, and what the main window, its browsing and editing
// keep. One record, passed by reference to the operations; nothing of it is global.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"
#include "index/Keys.h"
#include "report/ReportState.h"
#include "search/SearchState.h"
#include "shell/TextMacros.h"
#include "shell/UndoHistory.h"

namespace vrk {

class EntryScreen;
class Printer;
class Sound;

// The outside world as the program reaches it: each front (the desktop program, vrkcli, the tests)
// hands its implementations over in one record.
struct Ports {
  Ui& ui;
  EntryScreen& screen;
  Sound& sound;
  Printer& printer;
  sys::FileSystem& fileSystem = sys::SystemFiles();
};

struct Program : CatalogStore {
  explicit Program(const Ports& ports)
      : CatalogStore(ports.ui, ports.fileSystem), screen(ports.screen), sound(ports.sound), printer(ports.printer) {}

  EntryScreen& screen;
  Sound& sound;
  Printer& printer;
  std::string iniPath;

  // The entry on the screen: EntryCount + 1 and a blank record while a new entry is made.
  EntryNumber currentEntryNumber = 1;
  EntryRecord currentEntry;
  ListKind listKind = kMakeEntries;
  short browseHandle = kNoIndex;  // the index kept open for alphabetical browsing
  int currentField = 0;           // the box that last had the focus
  bool insertMode = true;         // false: typing overwrites

  ReportState report;
  SearchState search;
  bool readOnly = false;  // the security code's read-only state
  MacroState macros;
  bool thumbnail = true;     // View > Thumbnail: the entry's picture shown beside it
  std::string playingSound;  // the sound being played, empty when none
  UndoHistory history;       // the changes Undo and Redo take back and make again

  bool NewEntryState() const { return currentEntryNumber == header.Count() + 1; }
  // Whether the entries may be changed: not in the read-only state, and the catalog was opened for changes.
  bool MayChange() const { return !readOnly && writable; }
  // What report output works with; a Quick View edit is a step Undo takes back.
  ReportContext Report() {
    return {.store = *this,
            .printer = printer,
            .state = report,
            .mayChange = MayChange(),
            .entryEdited = [this](EntryNumber n, const EntryRecord& before, const EntryRecord& after) {
              RecordChange(*this, "Quick View Edit", n, before, after);
            }};
  }
  // What the searches and lists work with.
  SearchContext Search() { return {*this, search, browseHandle, Report()}; }
};

}  // namespace vrk
