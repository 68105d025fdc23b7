#include "admin/CatalogSetup.h"

#include "platform/Ui.h"

namespace vrk {
namespace {

// A row's name as the operand lists and the formula window show it: a blank name is "Line n".
std::string OperandName(const SetupRows& rows, int row) {
  const std::string name = RightTrim(rows[static_cast<std::size_t>(row)].name);
  return name.empty() ? "Line " + std::to_string(row + 1) : name;
}

}  // namespace

SetupRows RowsOf(const CatalogLayout& layout) {
  SetupRows rows;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    rows[i].name = RightTrim(layout.fields[i].Name);
    rows[i].length = layout.lengths[i] < 1 ? "" : std::to_string(layout.lengths[i]);
    rows[i].type = layout.fields[i].Type;
    rows[i].formula = layout.formulas[i];
  }
  return rows;
}

std::string FormulaLabel(const SetupRows& rows, const Formula& formula) {
  if (!formula.Valid) return {};
  return rows[static_cast<std::size_t>(formula.Operand1)].name + " " + "+-*/"[formula.Operator] + " " +
         rows[static_cast<std::size_t>(formula.Operand2)].name;
}

bool SetKeyOption(Ui& ui, SetupRow& row, bool key) {
  const bool sum = row.type == kSumField || row.type == kKeySumField;
  if (key && row.formula.Valid) {
    ui.Message("A computed field may not be used as an index");
    return false;
  }
  row.type = key ? (sum ? kKeySumField : kKeyField) : (sum ? kSumField : kPlainField);
  return key;
}

void SetSumOption(SetupRow& row, bool sum) {
  const bool key = row.type == kKeyField || row.type == kKeySumField;
  row.type = sum ? (key ? kKeySumField : kSumField) : (key ? kKeyField : kPlainField);
}

bool MayEditFormula(Ui& ui, const SetupRow& row) {
  if (row.type != kKeyField && row.type != kKeySumField) return true;
  ui.Message("An index field cannot be a computed field.");
  return false;
}

short LengthValue(const std::string& text) {
  short value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9' || value > 999) return value;
    value = static_cast<short>(value * 10 + (c - '0'));
  }
  return value;
}

std::string CheckedLength(Ui& ui, const std::string& text) {
  if (text.empty() || LengthValue(text) <= kLongestEditedField) return text;
  ui.Message("Field Length Maximum is " + std::to_string(kLongestEditedField));
  return std::to_string(kLongestEditedField);
}

std::string AddLength(const std::string& text) {
  const short value = LengthValue(text);
  return std::to_string(value < kLongestEditedField ? value + 1 : kLongestEditedField);
}

std::string SubtractLength(const std::string& text) {
  const short value = LengthValue(text);
  return value < 2 ? std::string() : std::to_string(value - 1);
}

EditFormula FormulaEditorFor(const SetupRows& rows, int row) {
  EditFormula editor;
  editor.fieldName = OperandName(rows, row);
  for (int i = 0; i < kFieldCount; ++i) {
    if (LengthValue(rows[static_cast<std::size_t>(i)].length) >= 1) {
      editor.operands.emplace_back(OperandName(rows, i), static_cast<short>(i));
    }
  }
  editor.formula = rows[static_cast<std::size_t>(row)].formula;
  return editor;
}

bool AcceptSetup(Ui& ui, CatalogSetup& setup, const SetupRows& rows) {
  int sum = 0;
  for (const SetupRow& row : rows) sum += LengthValue(row.length);
  if (sum == 0) {
    ui.Message("Must Specify at lease one nozero length field.");
    return false;
  }
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    setup.layout.fields[i] = {PadFieldName(rows[i].name), rows[i].type};
    setup.layout.lengths[i] = LengthValue(rows[i].length);
    setup.layout.formulas[i] = rows[i].formula;
  }
  setup.entryLength = EntryLengthFor(setup.layout.lengths);
  return true;
}

}  // namespace vrk
