// The in-memory records of a catalog: its field table, header, formulas, settings and entries.
// Texts are code page 1252; numbers that the files keep as singles are IEEE floats here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vrk {

inline constexpr int kFieldCount = 21;  // fields 1 to 20 on the screen, field 21 for picture and sound
inline constexpr int kMediaField = 20;  // field index of field 21
inline constexpr std::size_t kFieldNameLength = 14;
inline constexpr int kHeaderLength = 54;     // bytes of the header at the start of the entry file
inline constexpr int kSlotOverhead = 17;     // status, three singles and one pad byte of every slot
inline constexpr int kMaxFieldLength = 254;  // longest field any catalog can hold (imports go beyond 80)

inline constexpr float kStatusActive = 6.0f;
inline constexpr float kStatusDeleted = 9.0f;

// Field types.
inline constexpr short kPlainField = 2;
inline constexpr short kKeyField = 3;
inline constexpr short kSumField = 4;
inline constexpr short kKeySumField = 5;

// Entry numbers are whole numbers from 1; the header keeps the count as a single, which counts whole
// entries exactly up to 2^24: a catalog holds at most that many.
using EntryNumber = long;
inline constexpr EntryNumber kMostEntries = EntryNumber{1} << 24;

struct FieldDef {
  std::string Name;  // always 14 characters, blank-padded
  short Type = kPlainField;
  friend bool operator==(const FieldDef&, const FieldDef&) = default;
};
using FieldTable = std::array<FieldDef, kFieldCount>;

inline bool IsKeyField(const FieldDef& field) { return field.Type == kKeyField || field.Type == kKeySumField; }
inline bool IsSumField(const FieldDef& field) { return field.Type == kSumField || field.Type == kKeySumField; }

// "Line 1" … "Line 21", blank-padded to 14 characters.
std::string DefaultFieldName(int fieldIndex);
// A name cut or blank-padded to the 14 characters the setup file keeps.
std::string PadFieldName(std::string name);
// Every field "Line n", plain.
FieldTable DefaultFieldTable();

struct CatalogHeader {
  float EntryCount = 0;
  std::array<short, kFieldCount> FieldLength{};
  short EntryLength = 0;
  std::array<std::uint8_t, 6> Reserved{};

  EntryNumber Count() const { return static_cast<EntryNumber>(EntryCount); }
  friend bool operator==(const CatalogHeader&, const CatalogHeader&) = default;
};

// 17 plus the sum of the field lengths, but at least 54.
short EntryLengthFor(const std::array<short, kFieldCount>& fieldLength);

struct Formula {
  short Operand1 = 0;  // field index of the first operand
  short Operand2 = 0;
  short Operator = 0;  // 0 add, 1 subtract, 2 multiply, 3 divide
  bool Valid = false;  // true for a computed field
  friend bool operator==(const Formula&, const Formula&) = default;
};
// Element i belongs to field index i; element 21 is never filled.
using FormulaTable = std::array<Formula, 22>;

struct CatalogSettings {
  std::string ReportName;
  short FormatSelected = 0;
  short DashedLine = 0;
  short ColumnHeadings = 0;
  short PageLength = 60;
  float SortedMark = 0;
  float FirstSorted = 0;
  float LastSorted = 0;
  short TopMargin = 0;
  short QuickViewColumnWidth = 20;
  short LockTopLine = 0;
  short QuickViewMaxLines = 4011;
  short CaseInsensitive = 1;
  short Spare = 1;
  short PrintMemos = 1;
  short PageNumbers = 1;
  friend bool operator==(const CatalogSettings&, const CatalogSettings&) = default;
};

struct EntryRecord {
  float Status = 0;
  std::array<std::string, kFieldCount> Field;  // each FieldLength characters when read
  float NextSorted = 0;
  float PrevSorted = 0;
  float MemoNumber = 0;
};

// Running totals of the sum fields, by field index. Kept in double precision in memory (a single
// loses whole units beyond 2^24); they are never stored.
using Totals = std::array<double, kFieldCount>;

// Text without its trailing blanks.
std::string RightTrim(std::string_view text);

}  // namespace vrk
