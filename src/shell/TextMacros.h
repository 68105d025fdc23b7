// Text macros: up to 29 short texts a catalog keeps in its macro file, NAME.MCR beside its entry
// file, typed into the entry screen with Alt and a digit or a letter.
//
// Keys. Alt+1 to Alt+9 type macros 0 to 8 and Alt+0 macro 9; the letters A to Z take 10 to 28 in
// alphabetical order, skipping E, F, H, O, R, U and V, which stay with the menus. Macro 29 has no key.
//
// Layout of the macro file: 30 records of 70 bytes, one per macro 0 to 29, 2100 bytes in all. A
// record holds the macro's stored form (the support library's FilterMacro of the text as typed, code
// page 1252 without conversion) padded with blanks to 68 bytes, then the 16-bit little-endian value 2.
// The file is written whole at every save, in one write, and synced; a save that fails says so.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace vrk {

struct CatalogStore;
struct Program;

inline constexpr int kMacroCount = 30;
inline constexpr int kMacroKeys = 29;  // macros with a key
inline constexpr std::size_t kMacroTextLength = 68;
inline constexpr std::size_t kMacroRecordLength = 70;

// Stored forms by macro index.
using MacroTable = std::array<std::string, kMacroCount>;
// The macro index of each key character ('0'-'9', 'A'-'Z'); -1 for a key without one.
using MacroKeyTable = std::array<short, 128>;

MacroKeyTable BuildMacroKeyTable();

struct MacroState {
  MacroTable table;                           // of the current catalog, empty at start-up
  MacroKeyTable keys = BuildMacroKeyTable();  // built once, as the program starts
};

// "Alt + 1" … "Alt + 0", "Alt + A" … "Alt + Z": the key of each macro index 0 to 28.
std::string MacroKeyName(int index);

std::string MacroPath(const CatalogStore& store);
// Reads the current catalog's macro file into the table, when the file exists; a catalog without one
// leaves the table as it was. False after a message.
bool LoadMacros(CatalogStore& store, MacroTable& table);
// Writes the whole table to the current catalog's macro file. False after a message.
[[nodiscard]] bool SaveMacros(CatalogStore& store, const MacroTable& table);
// The macro file's bytes for a table.
std::string MacroFileBytes(const MacroTable& table);

// Alt with `key` (a character '0'-'9' or 'A'-'Z', upper case): types the key's macro into the focused
// box as its text was entered. False for a key without a macro, which is left to the menus.
bool ExpandMacro(Program& program, char key);

// The Edit Macro window: the chosen entry's text as typed and the table it edits.
struct EditMacro {
  Program& program;
  int chosen = 0;
};
// The text as typed of a macro (at most 64 characters).
std::string TypedMacro(const MacroTable& table, int index);
// Why the typed text cannot be a macro whole: its stored form, in which each character a keystroke
// sender takes as a command takes three, is longer than a macro holds. Empty when it fits.
std::string MacroTooLong(const std::string& typed);
// Save: the text becomes macro `index` and the table is saved. False after "No Macro Text Specified.",
// the refusal of a text that does not fit, or a failed save, with the macro as it was.
bool SaveMacroText(EditMacro& edit, int index, const std::string& typed);
// Utilities > Setup Macro.
void SetupMacroCommand(Program& program);

}  // namespace vrk
