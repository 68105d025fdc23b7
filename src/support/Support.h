// The support library: index files, Microsoft Binary Format numbers, substring search and replace,
// macro filtering, the picture and sound paths of field 21, starting other programs.
// Results are 16-bit signed, the width its callers and the stored files use; texts are code page 1252.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrk::lib {

// ---- Index files (.WDX) ----------------------------------------------------------------------------
// Each index file is a paged B+tree of (key, sequence, entry) items. Keys hold 0 to 24 bytes and are
// compared upper-cased in code page 1252 with trailing blanks ignored; equal keys come back in
// ascending sequence number, then entry number. Handles stay open until CloseNDX, which leaves
// everything on disk. An index created with mode 2 counts as being changed until it is closed.

inline constexpr std::int16_t kNdxOk = 0;
inline constexpr std::int16_t kNdxFailed = -1;   // bad handle, too many open files, bad argument
inline constexpr std::int16_t kNdxDamaged = -2;  // not an index file, or damaged
inline constexpr std::int16_t kNdxMissing = -3;  // OpenNDX mode 0: no such file
inline constexpr std::int16_t kNdxEnd = -4;      // no (further) key
inline constexpr std::int16_t kNdxIoError = -5;  // the disk refused a read or write

inline constexpr std::int16_t kNdxOpen = 0;    // OpenNDX mode: open an existing index
inline constexpr std::int16_t kNdxCreate = 2;  // OpenNDX mode: create an empty index, replacing any file

inline constexpr std::size_t kMaxKeyLength = 24;

std::int16_t InitIndexes();
std::int16_t OpenNDX(std::int16_t& handle, const std::string& path, std::int16_t mode);
std::int16_t CloseNDX(std::int16_t handle);
// Marks the index, on the disk, as being changed before a change of the entries begins; CloseNDX
// marks it whole again. An index left marked (a program killed meanwhile) opens as damaged, and the
// program rebuilds it.
std::int16_t BeginChanges(std::int16_t handle);
// Closes the handle and leaves its index marked as being changed, so that it is rebuilt before it is
// used again: a change of the entries failed half way. Other handles on the index fail from now on.
std::int16_t AbandonNDX(std::int16_t handle);
std::int16_t AddKey(std::int16_t handle, std::string_view key, std::int32_t entry, std::int32_t sequence);
std::int16_t DeleteKey(std::int16_t handle, std::string_view key, std::int32_t entry);
std::int16_t GetFirst(std::int16_t handle, std::int32_t& entry);
std::int16_t GetNext(std::int16_t handle, std::int32_t& entry);
std::int16_t GetPrev(std::int16_t handle, std::int32_t& entry);
// Positions at the first key not below `key`.
std::int16_t GetKey(std::int16_t handle, std::string_view key, std::int32_t& entry);
// The number of keys the index holds.
std::int16_t CountKeys(std::int16_t handle, std::uint64_t& count);
// kNdxOk when the key the handle was last moved to is `key` as the index compares keys, kNdxEnd when
// it is another key or the handle has not been moved.
std::int16_t PositionedAtKey(std::int16_t handle, std::string_view key);

// ---- Numbers ---------------------------------------------------------------------------------------
using MsbinSingle = std::array<std::uint8_t, 4>;

// Exact for every single inside Microsoft Binary Format's range; smaller magnitudes become 0 and
// larger ones, infinities included, the largest MBF value of that sign; NaN becomes 0.
MsbinSingle IEEE2MSBIN(float value);
// Inline: every entry read converts four of them.
inline float MSBIN2IEEE(const MsbinSingle& value) {
  if (value[3] == 0) return 0.0f;
  const std::uint32_t mantissa =
      value[0] | (static_cast<std::uint32_t>(value[1]) << 8) | (static_cast<std::uint32_t>(value[2] & 0x7F) << 16);
  // MBF's exponent is IEEE's plus two; where IEEE has a normal single for it, the bits move as they are.
  if (value[3] > 2) {
    const std::uint32_t sign = value[2] & 0x80u;
    return std::bit_cast<float>((sign << 24) | (static_cast<std::uint32_t>(value[3] - 2) << 23) | mantissa);
  }
  // 24-bit significand with the implied bit, scaled into [0.5, 1) and then by the exponent.
  const double magnitude = std::ldexp(static_cast<double>(mantissa | 0x800000), value[3] - 128 - 24);
  const float result = static_cast<float>(magnitude);
  return (value[2] & 0x80) ? -result : result;
}

// ---- Substrings ------------------------------------------------------------------------------------
inline constexpr std::int16_t kCaseMustAgree = -1;
inline constexpr std::int16_t kCaseIgnored = 0;

// -1 when `sought` occurs in `searched`, 0 when not. An empty text sought is always found.
std::int16_t IsSubstr(std::string_view sought, std::string_view searched, std::int16_t caseFlag);

// Replaces every occurrence of `search` in `buffer`. The buffer may grow by at most 255 characters;
// what would go beyond is cut. Returns 0 when `search` does not occur (or is empty), else the length
// of the new text.
std::int16_t ReplaceSubstr(std::string_view search, std::string_view replacement, std::string& buffer,
                           std::int16_t caseFlag);

// ---- Macros ----------------------------------------------------------------------------------------
inline constexpr std::size_t kMacroLength = 64;

// The stored form of a typed macro: characters a keystroke sender treats as commands are put in
// braces. At most 64 characters are written, never half a protected character. Returns the count.
std::int16_t FilterMacro(std::string_view typed, std::string& stored);
// The typed text back from its stored form. Returns the count of characters written.
std::int16_t UnFilterMacro(std::string_view stored, std::string& typed);

// ---- Field 21: sound path, the character 1, picture path ------------------------------------------
inline constexpr char kMediaSeparator = '\x01';

// 0 with the sound (the text before the separator) in `path`; non-zero when there is none.
std::int16_t GetWAVName(std::string_view field21, std::string& path);
// 0 with the picture (the text after the separator) in `path`; non-zero when there is none.
std::int16_t GetBMPName(std::string_view field21, std::string& path);

// ---- Other programs --------------------------------------------------------------------------------
// Runs a command line (program and arguments separated by blanks, the program looked up beside this
// executable first) and waits for it to end. Returns its exit status, or -1 when it could not start.
std::int16_t RunProgram(const std::string& commandLine);
// The same with the program and its arguments apart, each passed as it is (a path with blanks
// included). With `output`, what the program writes to its standard output and error is gathered there.
std::int16_t RunProgram(std::vector<std::string> arguments, std::string* output = nullptr);
std::int16_t FixRegistry();

}  // namespace vrk::lib
