// Numbers in field text, computed fields and the totals of sum fields.
#pragma once

#include <string>
#include <string_view>

#include "catalog/CatalogStore.h"
#include "catalog/EntryFile.h"

namespace vrk {

// Shown instead of a value that does not fit into a single.
inline constexpr const char* kOverflowText = "Overflow";

// The longest leading number of a text: blanks, tabs and line feeds are dropped first; a sign, digits
// with at most one period, an exponent with E or D; &H and &O read hexadecimal and octal integers.
// A text that does not begin with a number reads as 0. The period is the decimal separator whatever
// the locale; nothing is allocated.
double FieldNumber(std::string_view text);

// The value of computed field `field` of an entry, as text: up to 7 significant digits, "0" when
// dividing by zero, the overflow text when a value leaves the single range. Always with a period.
std::string ComputeField(const FormulaTable& formulas, const EntryRecord& record, int field);
// The computed value of a computed field, else the stored text.
std::string FieldValueText(const FormulaTable& formulas, const EntryRecord& record, int field);
void AddToTotal(Totals& totals, int field, std::string_view valueText);

// The two separators of the "Standard" number format, as code page 1252 characters.
struct NumberSeparators {
  char decimal = '.';
  char thousands = ',';
};
// The separators of the user's locale: RADIXCHAR and THOUSEP of the C library's LC_NUMERIC, as
// setlocale left it. A locale without a thousands separator (such as "C") gets ",", or "." when its
// decimal separator is ","; one that code page 1252 cannot hold gets the same, a narrow space a
// no-break space.
NumberSeparators LocaleNumberSeparators();

// The "Standard" number format: thousands separators and two decimals (1,234.50 with the separators
// "." and ","; 1.234,50 with "," and "."). Any double; infinities and NaN give the overflow text.
std::string FormatStandard(double value, NumberSeparators separators);
// The same with the separators of the user's locale.
std::string FormatStandard(double value);

bool HasSumField(const FieldTable& fields);
// Adds up every sum field over all entries, deleted ones included, with the gauge and its Cancel.
[[nodiscard]] WalkEnd TotalCatalog(CatalogStore& store);

}  // namespace vrk
