// The program's state: the catalog store's part, and what the main window, its browsing and editing
// keep. One record, passed by reference to the operations; nothing of it is global.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"
#include "index/Keys.h"

namespace vrk {

class EntryScreen;
class Sound;

// Kinds of the current list that Next and Previous follow.
enum ListKind : short {
  kBrowseEntries = 0,  // the whole catalog in entry order, browsing existing entries
  kMakeEntries = 1,    // the whole catalog in entry order, making a new entry
  kSequentialSearch = 2,
  kAlphabeticalSearch = 3,
  kGlobalSearch = 4,
  kRangeList = 5,
  kAlphabeticalList = 6,
  kDeletedList = 7,
};

struct Program : CatalogStore {
  Program(Ui& ui, EntryScreen& screen, Sound& sound) : CatalogStore(ui), screen(screen), sound(sound) {}

  EntryScreen& screen;
  Sound& sound;
  std::string iniPath;

  // The entry on the screen: EntryCount + 1 and a blank record while a new entry is made.
  EntryNumber currentEntryNumber = 1;
  EntryRecord currentEntry;
  short listKind = kMakeEntries;
  short browseHandle = kNoIndex;  // the index kept open for alphabetical browsing
  int currentField = 0;           // the box that last had the focus
  bool insertMode = true;         // false: typing overwrites

  int reportDestination = 0;
  int searchMode = 1;
  int paperOption = 0;
  bool readOnly = false;

  bool NewEntryState() const { return currentEntryNumber == header.Count() + 1; }
};

}  // namespace vrk
