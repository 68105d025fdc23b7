// Memos: one free text of up to 1420 characters per entry, kept outside the entry in the catalog's
// memo file, NAME.MEM beside its entry file. The entry's MemoNumber names the memo's record; 0 means
// the entry has no memo.
//
// Layout. No header; records of exactly 1420 bytes. Memo number n (1, 2, ...) is the record at byte
// (n - 1) x 1420. A record holds the memo text padded with blanks to 1420 characters, in the code page
// the program keeps text in (1252), without the conversion entry fields get. Records are only ever
// appended or blanked: a removed memo's record stays in the file, and a new memo always takes a new
// record at the end (the file's length / 1420 + 1, so a record left half-appended is taken again).
//
// Order of writes. An entry never names a record that is not wholly on the disk, and a memo is never
// blanked while an entry names it:
//   new memo      the record is appended and the memo file synced; only then is the entry written with
//                 the new number and the entry file synced. Stopped before that, the record belongs to
//                 no entry and the entry is as it was.
//   edited memo   the record is rewritten in place (one write) and the memo file synced.
//   removed memo  the entry is written without its number and the entry file synced; only then is the
//                 record blanked. Stopped before that, the old text lies unused in the file.
// A failure of any of these writes has had its "File Error" message; the entry and the memo stay as
// they were on the disk and in memory.
//
// A memo number below 1 means no memo. One that is not a whole number from 1 to one past the file's
// last record (a fraction, or a number far beyond the file's end that a damaged entry holds) names no
// memo: it is said to be damaged, and nothing is read or written at it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalog/CatalogStore.h"

namespace vrk {

inline constexpr std::size_t kMemoLength = 1420;

std::string MemoPath(const CatalogStore& store);
// The memo's text without its trailing blanks; empty for a number below 1, a record beyond the file's
// end, or a catalog without a memo file, and after the message of a damaged number.
std::string ReadMemo(CatalogStore& store, float memoNumber);
// Stores `text` (cut to 1420 characters) as the memo of `record`, entry n: in place when the record
// has a memo, else as a new record whose number the record takes and, when entry n is counted, is
// written with the entry. An entry being made (n beyond the count) keeps the number in memory, to be
// stored when it is saved. False after a message (a damaged number's among them); `record` is then as
// it was.
[[nodiscard]] bool SaveMemo(CatalogStore& store, EntryRecord& record, EntryNumber n, std::string_view text);
// Detaches the memo of `record`, entry n (the entry written without it when counted), then blanks its
// record (a damaged number is only let go of). False after a message, with the memo still attached, or
// when the detached record could not be blanked (the entry then has no memo all the same).
[[nodiscard]] bool RemoveMemo(CatalogStore& store, EntryRecord& record, EntryNumber n);

}  // namespace vrk
