#include "catalog/ComputedFields.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "catalog/EntryFile.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

bool FitsSingle(double value) { return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max(); }

double ReadInteger(std::string_view digits, int base) {
  double value = 0;
  for (const char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      break;
    }
    if (digit >= base) break;
    value = value * base + digit;
  }
  return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double FieldNumber(std::string_view text) {
  std::string s;
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') s += c;
  }
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return ReadInteger(std::string_view(s).substr(2), 16);
    if (s[1] == 'O' || s[1] == 'o') return ReadInteger(std::string_view(s).substr(2), 8);
    return 0;
  }
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i;
  }
  const std::size_t mantissaEnd = i;
  if (mantissaEnd == mantissaStart || (mantissaEnd == mantissaStart + 1 && s[mantissaStart] == '.')) return 0;
  std::string number = s.substr(0, mantissaEnd);
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t digits = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > digits) number += "E" + s.substr(i + 1, j - i - 1);
  }
  return std::strtod(number.c_str(), nullptr);
}

std::string ComputeField(const FormulaTable& formulas, const EntryRecord& record, int field) {
  const Formula& formula = formulas[static_cast<std::size_t>(field)];
  const double a = FieldNumber(RightTrim(record.Field[static_cast<std::size_t>(formula.Operand1)]));
  const double b = FieldNumber(RightTrim(record.Field[static_cast<std::size_t>(formula.Operand2)]));
  if (!FitsSingle(a) || !FitsSingle(b)) return kOverflowText;
  const float x = static_cast<float>(a);
  const float y = static_cast<float>(b);
  double result;
  switch (formula.Operator) {
    case 0: result = static_cast<double>(x) + y; break;
    case 1: result = static_cast<double>(x) - y; break;
    case 2: result = static_cast<double>(x) * y; break;
    case 3:
      if (y == 0.0f) return "0";
      result = static_cast<double>(x) / y;
      break;
    default: return "0";
  }
  if (!FitsSingle(result)) return kOverflowText;
  const float single = static_cast<float>(result);
  if (single == 0.0f) return "0";
  char text[32];
  std::snprintf(text, sizeof text, "%.7G", static_cast<double>(single));
  return text;
}

std::string FieldValueText(const FormulaTable& formulas, const EntryRecord& record, int field) {
  return formulas[static_cast<std::size_t>(field)].Valid ? ComputeField(formulas, record, field)
                                                         : record.Field[static_cast<std::size_t>(field)];
}

void AddToTotal(Totals& totals, int field, std::string_view valueText) {
  float& total = totals[static_cast<std::size_t>(field)];
  const double sum = static_cast<double>(total) + FieldNumber(valueText);
  // A total that leaves the single range stays infinite and is shown as the overflow text.
  total = FitsSingle(sum) ? static_cast<float>(sum) : std::copysign(std::numeric_limits<float>::infinity(), sum);
}

std::string FormatStandard(double value) {
  if (!std::isfinite(value)) return kOverflowText;
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.2f", std::fabs(value));
  std::string whole(digits, std::string_view(digits).find('.'));
  const std::string decimals = std::string(digits).substr(whole.size());
  for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(static_cast<std::size_t>(at), ",");
  const bool negative = value < 0 && std::string_view(digits) != "0.00";
  return (negative ? "-" : "") + whole + decimals;
}

bool HasSumField(const FieldTable& fields) {
  for (const FieldDef& field : fields) {
    if (IsSumField(field)) return true;
  }
  return false;
}

WalkEnd TotalCatalog(CatalogStore& store) {
  store.totals.fill(0);
  if (!HasSumField(store.fieldTable)) return WalkEnd::kDone;
  return WalkEntries(store, "TOTALING ENTRIES....", [&store](const EntryRecord& record, EntryNumber) {
    for (int i = 0; i < kFieldCount; ++i) {
      if (IsSumField(store.fieldTable[i])) AddToTotal(store.totals, i, FieldValueText(store.formulaTable, record, i));
    }
    return true;
  });
}

}  // namespace vrk
