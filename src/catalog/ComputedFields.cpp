#include "catalog/ComputedFields.h"

#include <langinfo.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <vector>

#include "catalog/EntryFile.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

bool FitsSingle(double value) { return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max(); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The characters of a text with its blanks, tab characters and line feeds dropped, one at a time;
// '\0' past the end.
class Significant {
 public:
  explicit Significant(std::string_view text) : text_(text) { Skip(); }
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  void Next() {
    ++at_;
    Skip();
  }

 private:
  void Skip() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n')) ++at_;
  }
  std::string_view text_;
  std::size_t at_ = 0;
};

double ReadInteger(Significant& chars, int base) {
  double value = 0;
  for (;; chars.Next()) {
    const char c = chars.Peek();
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

// Digits kept of a decimal number: enough to round any double correctly (767 significant digits
// decide the closest double); a digit 1 stands for any nonzero digits beyond them.
constexpr std::size_t kKeptDigits = 780;
// Powers of ten beyond these are outside the double range whatever the digits; the count saturates.
constexpr std::int64_t kExponentLimit = 100000;

void AddExponentDigit(std::int64_t& exponent, char digit) {
  if (exponent < kExponentLimit) exponent = exponent * 10 + (digit - '0');
}

}  // namespace

// The number is gathered as 0.DIGITS times ten to a power, without leading zeros, into a buffer on the
// stack, and read by std::from_chars, which ignores the C library's locale and allocates nothing.
double FieldNumber(std::string_view text) {
  // Most field text is plain: blanks, up to 15 digits and a period. Its value is those digits over a
  // power of ten, both exact doubles, so that the one division rounds as from_chars does.
  {
    std::int64_t digits = 0;
    int kept = 0;
    int decimals = -1;  // digits after the period, -1 before it
    bool seen = false;
    bool plain = true;
    for (const char c : text) {
      if (c == ' ' || c == '\t' || c == '\n') continue;
      if (c >= '0' && c <= '9') {
        seen = true;
        if (decimals >= 0) ++decimals;
        if (digits == 0 && c == '0') continue;  // a leading zero
        if (++kept > 15) {
          plain = false;
          break;
        }
        digits = digits * 10 + (c - '0');
      } else if (c == '.' && decimals < 0) {
        decimals = 0;
      } else {
        plain = false;
        break;
      }
    }
    if (plain && decimals <= 22) {
      static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
      if (!seen) return 0;
      return decimals <= 0 ? static_cast<double>(digits) : static_cast<double>(digits) / kPowers[decimals];
    }
  }
  Significant chars(text);
  if (chars.Peek() == '&') {
    chars.Next();
    const char prefix = chars.Peek();
    chars.Next();
    if (prefix == 'H' || prefix == 'h') return ReadInteger(chars, 16);
    if (prefix == 'O' || prefix == 'o') return ReadInteger(chars, 8);
    return 0;
  }
  bool negative = false;
  if (chars.Peek() == '+' || chars.Peek() == '-') {
    negative = chars.Peek() == '-';
    chars.Next();
  }
  char number[2 + kKeptDigits + 1 + 1 + 24];  // "0." DIGITS, a digit for the rest, "e" and the power
  number[0] = '0';
  number[1] = '.';
  std::size_t length = 2;
  bool mantissa = false;      // a digit was seen
  bool dropped = false;       // a nonzero digit beyond the kept ones
  std::int64_t position = 0;  // the power of ten of 0.DIGITS: whole digits, less the zeros after the period
  const auto digit = [&](char c, bool whole) {
    mantissa = true;
    if (length == 2 && c == '0') {  // a leading zero
      if (!whole) --position;
      return;
    }
    if (whole) ++position;
    if (length < 2 + kKeptDigits) {
      number[length++] = c;
    } else if (c != '0') {
      dropped = true;
    }
  };
  for (; IsDigit(chars.Peek()); chars.Next()) digit(chars.Peek(), true);
  if (chars.Peek() == '.') {
    chars.Next();
    for (; IsDigit(chars.Peek()); chars.Next()) digit(chars.Peek(), false);
  }
  if (!mantissa) return 0;  // no number, a sign or a period alone
  std::int64_t exponent = 0;
  const char e = chars.Peek();
  if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
    chars.Next();
    bool negativeExponent = false;
    if (chars.Peek() == '+' || chars.Peek() == '-') {
      negativeExponent = chars.Peek() == '-';
      chars.Next();
    }
    for (; IsDigit(chars.Peek()); chars.Next()) AddExponentDigit(exponent, chars.Peek());
    if (negativeExponent) exponent = -exponent;  // no digits: 0, the exponent is ignored
  }
  if (length == 2) return negative ? -0.0 : 0.0;  // digits, all zero
  if (dropped) number[length++] = '1';
  number[length++] = 'e';
  const std::int64_t power = std::clamp(position + exponent, -kExponentLimit, kExponentLimit);
  length = static_cast<std::size_t>(std::to_chars(number + length, std::end(number), power).ptr - number);
  double value = 0;
  if (std::from_chars(number, number + length, value).ec != std::errc()) {
    // Outside the double range: 0.DIGITS is at least 0.1, so a positive power overflows.
    value = power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
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
  // printf's %.7G, but always with a period: the text is read back by FieldNumber and exported.
  char text[32];
  char* const end = std::to_chars(text, std::end(text), static_cast<double>(single), std::chars_format::general, 7).ptr;
  for (char* c = text; c != end; ++c) {
    if (*c == 'e') *c = 'E';
  }
  return std::string(text, end);
}

std::string FieldValueText(const FormulaTable& formulas, const EntryRecord& record, int field) {
  return formulas[static_cast<std::size_t>(field)].Valid ? ComputeField(formulas, record, field)
                                                         : record.Field[static_cast<std::size_t>(field)];
}

// The totals are kept in double precision: a single loses whole units beyond 2^24 (16,777,216), and
// a catalog of a million prices would drift by thousands.
void AddToTotal(Totals& totals, int field, std::string_view valueText) {
  double& total = totals[static_cast<std::size_t>(field)];
  const double sum = total + FieldNumber(valueText);
  // A total that leaves the single range stays infinite and is shown as the overflow text.
  total = FitsSingle(sum) ? sum : std::copysign(std::numeric_limits<double>::infinity(), sum);
}

namespace {

// A separator of the C library's numeric locale as one character of code page 1252, or '\0' when the
// locale has none or code page 1252 cannot hold it. The locale's text is one byte of its own 8-bit
// code page or UTF-8.
char AnsiSeparator(const char* locale) {
  const std::string_view text = locale != nullptr ? locale : "";
  if (text.size() == 1) return text[0];
  if (text.empty()) return '\0';
  if (text == "\u202F" || text == "\u2009") return '\xA0';  // narrow and thin spaces: a no-break space
  const std::string ansi = AnsiFromUtf8(text);
  return ansi.size() == 1 && ansi[0] != '?' ? ansi[0] : '\0';
}

}  // namespace

NumberSeparators LocaleNumberSeparators() {
  NumberSeparators separators;
  if (const char decimal = AnsiSeparator(::nl_langinfo(RADIXCHAR)); decimal != '\0') separators.decimal = decimal;
  const char thousands = AnsiSeparator(::nl_langinfo(THOUSEP));
  if (thousands != '\0' && thousands != separators.decimal) {
    separators.thousands = thousands;
  } else {
    separators.thousands = separators.decimal == ',' ? '.' : ',';
  }
  return separators;
}

std::string FormatStandard(double value, NumberSeparators separators) {
  if (!std::isfinite(value)) return kOverflowText;
  // The largest double has 309 whole digits.
  char digits[400];
  const auto [end, error] = std::to_chars(digits, std::end(digits), std::fabs(value), std::chars_format::fixed, 2);
  if (error != std::errc()) return kOverflowText;
  const std::string_view text(digits, static_cast<std::size_t>(end - digits));
  const std::size_t whole = text.size() - 3;  // "ddd.dd"
  const bool negative = value < 0 && text.find_first_not_of("0.") != std::string_view::npos;
  std::string result;
  result.reserve(whole + whole / 3 + 4);
  if (negative) result += '-';
  for (std::size_t i = 0; i < whole; ++i) {
    if (i > 0 && (whole - i) % 3 == 0) result += separators.thousands;
    result += text[i];
  }
  result += separators.decimal;
  result += text.substr(whole + 1);
  return result;
}

std::string FormatStandard(double value) { return FormatStandard(value, LocaleNumberSeparators()); }

bool HasSumField(const FieldTable& fields) {
  for (const FieldDef& field : fields) {
    if (IsSumField(field)) return true;
  }
  return false;
}

WalkEnd TotalCatalog(CatalogStore& store) {
  store.totals.fill(0);
  if (!HasSumField(store.fieldTable)) return WalkEnd::kDone;
  // Only the sum fields are read, and the operands of those that are computed.
  std::vector<int> sums;
  FieldMask needed = 0;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (!IsSumField(store.fieldTable[at])) continue;
    sums.push_back(i);
    needed |= FieldMask{1} << i;
    if (const Formula& formula = store.formulaTable[at]; formula.Valid) {
      needed |= (FieldMask{1} << formula.Operand1) | (FieldMask{1} << formula.Operand2);
    }
  }
  const auto add = [&store, &sums](const EntryRecord& record, EntryNumber) {
    for (const int i : sums) {
      const auto at = static_cast<std::size_t>(i);
      // FieldValueText without copying a stored text.
      if (store.formulaTable[at].Valid) {
        AddToTotal(store.totals, i, ComputeField(store.formulaTable, record, i));
      } else {
        AddToTotal(store.totals, i, record.Field[at]);
      }
    }
    return true;
  };
  return WalkEntries(store, "TOTALING ENTRIES....", add, needed);
}

}  // namespace vrk
