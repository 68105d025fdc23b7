// The Catalog Setup window (frmCatSetup) and its Edit Formula window (frmEditFormula): the rules of
// the setup editor, on a working copy of the rows that the window keeps while it is open.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "catalog/Layout.h"

namespace vrk {

class Ui;

// What Catalog Maintenance hands the editor: the caption and the layout to edit. After OK the layout
// holds the new names, types, lengths and formulas, and entryLength the slot length they take.
struct CatalogSetup {
  std::string caption;
  CatalogLayout layout;
  short entryLength = 0;
};

// One row of the editor as the user has it: the name and length boxes' texts (code page 1252), the
// field type the Key and Sum boxes make, and the formula.
struct SetupRow {
  std::string name;
  std::string length;  // digits; empty means 0
  short type = kPlainField;
  Formula formula;
};
using SetupRows = std::array<SetupRow, kFieldCount>;

SetupRows RowsOf(const CatalogLayout& layout);

// The row's formula in words ("Price * Qty"), from the names in the rows' boxes; "" when the field is
// not computed.
std::string FormulaLabel(const SetupRows& rows, const Formula& formula);

// Key checked or cleared on a row. A computed field refuses it with "A computed field may not be used
// as an index": false then, and the box is cleared again.
bool SetKeyOption(Ui& ui, SetupRow& row, bool key);
void SetSumOption(SetupRow& row, bool sum);
// Edit formula on a key field is refused with "An index field cannot be a computed field.".
bool MayEditFormula(Ui& ui, const SetupRow& row);

// A length box's text after a change: 81 or more says "Field Length Maximum is 80" and becomes 80.
std::string CheckedLength(Ui& ui, const std::string& text);
// Add and Subtract: empty grows to 1, 80 stays 80; 1 becomes empty, empty stays empty.
std::string AddLength(const std::string& text);
std::string SubtractLength(const std::string& text);
// The length a text stands for, 0 when empty.
short LengthValue(const std::string& text);

// The Edit Formula window for one row: the field's name, the fields it may take as operands (those of
// length 1 or more as the rows stand, by name and field index), and the formula.
struct EditFormula {
  std::string fieldName;
  std::vector<std::pair<std::string, short>> operands;
  Formula formula;  // after OK: the chosen operands and operator, valid
};
inline constexpr std::array<const char*, 4> kOperatorNames = {"Plus", "Minus", "Mutiplied By", "Divided By"};
EditFormula FormulaEditorFor(const SetupRows& rows, int row);

// OK: at least one length above 0 ("Must Specify at lease one nozero length field." otherwise, and the
// window stays open), then the rows become the setup's layout. False when the window stays open.
bool AcceptSetup(Ui& ui, CatalogSetup& setup, const SetupRows& rows);

}  // namespace vrk
