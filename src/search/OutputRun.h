// The output run that every search and list shares: the members of a walk, in walk order, handed to
// one destination (report/Output.h's EntryOutput). The main window is no output: the command shows
// the first member and Next and Previous walk on from it.
#pragma once

#include <memory>
#include <string>

#include "report/Output.h"
#include "search/Walks.h"

namespace vrk {

// The dBase III table destination: asks for the table's name (the table goes into the program
// directory) unless it was given a path, which is then taken as it is. An empty table is removed.
std::unique_ptr<EntryOutput> MakeDbaseOutput(CatalogStore& store, const std::string& path = {});

// The output of a destination other than the main window: the dBase table, or report output. Null
// when the destination's output is not available (the main window stands in for it then).
std::unique_ptr<EntryOutput> MakeEntryOutput(SearchContext& context, ReportDestination destination);

// What an output run sent.
struct RunCount {
  EntryNumber sent = 0;
  bool failed = false;  // the output failed and said so; it was not finished
};

// Sends `first` (whose record `entry` holds) and every further member of the walk to `output`,
// stopping at the end of the list, on Cancel, when the output is full or when it fails. The output
// has been started; it is not finished here.
RunCount SendMembers(ListWalk& walk, EntryOutput& output, EntryNumber first, EntryRecord& entry);

}  // namespace vrk
