// Report formats: named print layouts, one file each, NAME.FMT in the program directory, so that every
// catalog can use every format. A format says for each field and for the entry number on which
// report line, at which column and how wide it is printed, how many report lines one entry takes, and
// whether each value follows its field name.
//
// Layout of a format file: 23 records of 12 bytes, 276 bytes in all, record r (counted from 1) at byte
// (r - 1) * 12. Records 1 to 22 hold items 0 to 21 (fields 1 to 21, then the entry number), record 23
// the header. Numbers are 16-bit little-endian signed.
//   offset 0   2 bytes  spare text: carried through as read, zero bytes in formats made here
//   offset 2   Width           header: ShowTitles (0 or 1)
//   offset 4   Row             header: not used (carried through)
//   offset 6   Col             header: not used (carried through)
//   offset 8   LinesPerEntry   header: not used (carried through)
//   offset 10  2 bytes  spare text, as at offset 0
// A format is valid when every item's LinesPerEntry is 1 to 21; a missing or empty file is no format.
// A file shorter than 276 bytes reads as if zero bytes followed, so a cut-off item is invalid.
//
// Writing: every item takes item 0's LinesPerEntry; the 276 bytes go whole into NAME.FMT.new, which is
// put on the disk and then renamed over NAME.FMT, so that a failed write leaves the old format whole.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "catalog/CatalogStore.h"

namespace vrk {

inline constexpr int kLayoutItemCount = 22;
inline constexpr int kEntryNumberItem = 21;  // the item of the entry number
inline constexpr int kReportLines = 21;      // report lines an entry may take
inline constexpr std::size_t kFormatRecordLength = 12;
inline constexpr std::size_t kFormatFileLength = 23 * kFormatRecordLength;
inline constexpr int kMaxReportNameLength = 8;

struct LayoutItem {
  std::array<char, 2> Spare1{};
  short Width = 0;
  short Row = 0;  // report line 1 to 21; 0: not placed
  short Col = 0;  // 1-based character column; 0: not placed
  short LinesPerEntry = 1;
  std::array<char, 2> Spare2{};

  bool Placed() const { return Row != 0 && Col != 0; }
  friend bool operator==(const LayoutItem&, const LayoutItem&) = default;
};

struct ReportFormat {
  std::array<LayoutItem, kLayoutItemCount> items{};
  LayoutItem header{.LinesPerEntry = 0};  // of it only Width is used, as ShowTitles

  bool ShowTitles() const { return header.Width == 1; }
  void SetShowTitles(bool on) { header.Width = on ? 1 : 0; }
  short LinesPerEntry() const { return items[0].LinesPerEntry; }
  friend bool operator==(const ReportFormat&, const ReportFormat&) = default;
};

// NAME.FMT in the program directory.
std::string ReportFormatPath(const std::string& programDirectory, std::string_view name);
// A report name: 1 to 8 letters and digits (ASCII).
bool IsReportName(std::string_view name);

// The 276 bytes of a format file.
std::string EncodeReportFormat(const ReportFormat& format);
// Decodes the bytes of a format file (a shorter file as if zero bytes followed); false when the
// format is invalid, with `format` untouched.
bool DecodeReportFormat(std::string_view bytes, ReportFormat& format);

// True when NAME.FMT exists and is a valid format, which `format` then holds.
bool ReadReportFormat(const CatalogStore& store, std::string_view name, ReportFormat& format);
// Writes the format as NAME.FMT, replacing any format of that name; every item first takes item 0's
// LinesPerEntry. False, after the File Error message, when it could not be written.
[[nodiscard]] bool WriteReportFormat(CatalogStore& store, std::string_view name, ReportFormat& format);

// Lowers the width of a field item beyond the current catalog's length of that field to that length;
// the entry number's item is left alone.
void ClampItemWidths(const CatalogStore& store, ReportFormat& format);
// A format with nothing placed: field items as wide as the current catalog's fields, the entry number
// 6 wide, one line per entry, no titles.
void InitNewReportFormat(const CatalogStore& store, ReportFormat& format);

// Reads the current catalog's report format, when it names one, into `current`. A format that is
// missing or invalid is said so, and the catalog has no report format for the rest of the run.
void LoadCatalogReportFormat(CatalogStore& store, ReportFormat& current);

}  // namespace vrk
