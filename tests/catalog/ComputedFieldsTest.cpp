#include <gtest/gtest.h>

#include <atomic>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <random>

#include "catalog/Catalog.h"
#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/Locale.h"
#include "fakes/TempDirectory.h"
#include "report/Completion.h"

// Every allocation of the test program is counted, for the test that FieldNumber makes none.
namespace {
std::atomic<std::size_t> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
// The blocks of this operator new come from malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace vrk {
namespace {

using test::FakeUi;
using test::LocaleScope;
using test::MakeLayout;
using test::Standard;
using test::TempDirectory;

constexpr NumberSeparators kUnitedStates{'.', ','};
constexpr NumberSeparators kGerman{',', '.'};

TEST(FieldNumber, ReadsTheLongestLeadingNumber) {
  EXPECT_EQ(FieldNumber("   12.50   "), 12.5);
  EXPECT_EQ(FieldNumber("1 200"), 1200);
  EXPECT_EQ(FieldNumber("3 pieces"), 3);
  EXPECT_EQ(FieldNumber("1E3"), 1000);
  EXPECT_EQ(FieldNumber("2.5d2"), 250);
  EXPECT_EQ(FieldNumber("1e"), 1);
  EXPECT_EQ(FieldNumber("&H1F"), 31);
  EXPECT_EQ(FieldNumber("&o17"), 15);
  EXPECT_EQ(FieldNumber("12abc"), 12);
  EXPECT_EQ(FieldNumber("abc"), 0);
  EXPECT_EQ(FieldNumber(""), 0);
  EXPECT_EQ(FieldNumber("$5"), 0);
  EXPECT_EQ(FieldNumber("1,250"), 1);
  EXPECT_EQ(FieldNumber("-\t4.5"), -4.5);
  EXPECT_EQ(FieldNumber(".5"), 0.5);
  EXPECT_EQ(FieldNumber("1.2.3"), 1.2);
  EXPECT_EQ(FieldNumber("-"), 0);
}

TEST(FieldNumber, DropsBlanksTabsAndLineFeedsWherever) {
  EXPECT_EQ(FieldNumber(" \t1\n2 . 5 "), 12.5);
  EXPECT_EQ(FieldNumber("& H 1 F"), 31);
  EXPECT_EQ(FieldNumber("1 E 3"), 1000);
  EXPECT_EQ(FieldNumber("+ 7"), 7);
  EXPECT_EQ(FieldNumber("\r5"), 0);  // a carriage return is no blank
  EXPECT_EQ(FieldNumber(std::string{'4', '\0', '2'}), 4);
}

TEST(FieldNumber, SignsExponentsAndPrefixes) {
  EXPECT_EQ(FieldNumber("+2.5E+2"), 250);
  EXPECT_EQ(FieldNumber("-2.5e-2"), -0.025);
  EXPECT_EQ(FieldNumber("1D-3x"), 0.001);
  EXPECT_EQ(FieldNumber("1e+"), 1);
  EXPECT_EQ(FieldNumber("1.E2"), 100);
  EXPECT_EQ(FieldNumber("+"), 0);
  EXPECT_EQ(FieldNumber("."), 0);
  EXPECT_EQ(FieldNumber("-.e5"), 0);
  EXPECT_EQ(FieldNumber("e5"), 0);
  EXPECT_EQ(FieldNumber("-0"), 0);
  EXPECT_EQ(FieldNumber("&hff"), 255);
  EXPECT_EQ(FieldNumber("&O778"), 63);
  EXPECT_EQ(FieldNumber("&H"), 0);
  EXPECT_EQ(FieldNumber("&X1"), 0);
  EXPECT_EQ(FieldNumber("&"), 0);
  EXPECT_EQ(FieldNumber("-&H1F"), 0);
}

TEST(FieldNumber, LongAndExtremeNumbers) {
  EXPECT_EQ(FieldNumber(std::string(500, '0') + "1.5"), 1.5);
  EXPECT_EQ(FieldNumber("0." + std::string(500, '0') + "15E501"), 1.5);
  EXPECT_EQ(FieldNumber("1" + std::string(400, '0')), std::numeric_limits<double>::infinity());
  EXPECT_EQ(FieldNumber("-1E400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(FieldNumber("1E-400"), 0);
  EXPECT_EQ(FieldNumber("1E99999999999999999999999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(FieldNumber("1E-99999999999999999999999"), 0);
  EXPECT_EQ(FieldNumber("5E-324"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(FieldNumber("1.7976931348623157E308"), std::numeric_limits<double>::max());
  EXPECT_EQ(FieldNumber("0.000"), 0);
}

// The number read is the double closest to the decimal number, however many digits it has: the same
// as std::from_chars reads from the text without its blanks.
TEST(FieldNumber, ReadsTheClosestDouble) {
  std::mt19937 random(7);
  const auto digits = [&](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
    return text;
  };
  for (int round = 0; round < 20000; ++round) {
    const int wholeDigits = static_cast<int>(random() % (round % 50 == 0 ? 1200 : 25));
    const int fractionDigits = static_cast<int>(random() % (round % 70 == 0 ? 1200 : 25));
    std::string text = digits(wholeDigits) + "." + digits(fractionDigits);
    if (wholeDigits + fractionDigits == 0) continue;
    if (random() % 2 == 0) text += "e" + std::to_string(static_cast<int>(random() % 700) - 350);
    double expected = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
    if (error != std::errc()) continue;  // outside the double range
    ASSERT_EQ(end, text.data() + text.size()) << text;
    std::string spaced;
    for (const char c : text) (spaced += c) += random() % 4 == 0 ? " " : "";
    ASSERT_EQ(FieldNumber(spaced), expected) << spaced;
    ASSERT_EQ(FieldNumber("-" + text), -expected) << text;
  }
}

// FieldNumber runs once per sum field and entry in Totals: it allocates nothing.
TEST(FieldNumber, AllocatesNothing) {
  const std::size_t start = allocations.load();
  EXPECT_EQ(std::string(100, 'x').size(), 100u);
  ASSERT_GT(allocations.load(), start);  // the count works
  const std::string texts[] = {"  1 234.50 pieces", std::string(300, '9') + ".5E-3", "&H7FFF", "abc",
                               "1" + std::string(900, '1')};
  for (const std::string& text : texts) {
    const std::size_t before = allocations.load();
    const double value = FieldNumber(text);
    EXPECT_EQ(allocations.load(), before) << text;
    EXPECT_GT(value, -1);
  }
}

EntryRecord Operands(const std::string& a, const std::string& b) {
  EntryRecord record;
  record.Field[0] = a;
  record.Field[1] = b;
  return record;
}

std::string Compute(short op, const std::string& a, const std::string& b) {
  FormulaTable formulas{};
  formulas[2] = {0, 1, op, true};
  return ComputeField(formulas, Operands(a, b), 2);
}

TEST(ComputeField, ShortestFormWithSevenDigits) {
  EXPECT_EQ(Compute(0, "12  ", "      "), "12");  // an empty operand counts 0
  EXPECT_EQ(Compute(3, "1", "3"), "0.3333333");
  EXPECT_EQ(Compute(2, "2.5", "5"), "12.5");
  EXPECT_EQ(Compute(1, "2", "5"), "-3");
  EXPECT_EQ(Compute(1, "5", "5"), "0");
  EXPECT_EQ(Compute(2, "1000000", "1000"), "1E+09");
  EXPECT_EQ(Compute(3, "1", "100000"), "1E-05");
  EXPECT_EQ(Compute(0, "1234567", "0"), "1234567");
}

TEST(ComputeField, DivisionByZeroAndOverflow) {
  EXPECT_EQ(Compute(3, "7", ""), "0");
  EXPECT_EQ(Compute(3, "7", "0.0"), "0");
  EXPECT_EQ(Compute(3, "1", "0.0001"), "10000");
  EXPECT_EQ(Compute(7, "1", "1"), "0");  // an operator out of range
  EXPECT_EQ(Compute(2, "1E30", "1E30"), kOverflowText);
  EXPECT_EQ(Compute(0, "1E300", "1"), kOverflowText);
}

TEST(ComputeField, OperandsAreStoredTextsEvenOfComputedFields) {
  FormulaTable formulas{};
  formulas[1] = {0, 0, 0, true};  // B = A + A, stored text "5"
  formulas[2] = {1, 1, 2, true};  // C = B * B uses B's stored text
  const EntryRecord record = Operands("3", "5");
  EXPECT_EQ(FieldValueText(formulas, record, 1), "6");
  EXPECT_EQ(FieldValueText(formulas, record, 2), "25");
  EXPECT_EQ(FieldValueText(formulas, record, 0), "3");
}

TEST(Totals, AddAndFormat) {
  Totals totals{};
  AddToTotal(totals, 3, "1,000");  // a comma ends the number
  AddToTotal(totals, 3, " 2.25 ");
  EXPECT_EQ(totals[3], 3.25);
  EXPECT_EQ(FormatStandard(1234.5, kUnitedStates), "1,234.50");
  EXPECT_EQ(FormatStandard(0, kUnitedStates), "0.00");
  EXPECT_EQ(FormatStandard(-1234567.891, kUnitedStates), "-1,234,567.89");
  EXPECT_EQ(FormatStandard(-0.001, kUnitedStates), "0.00");
  EXPECT_EQ(FormatStandard(999.999, kUnitedStates), "1,000.00");
  EXPECT_EQ(FormatStandard(12.5, kUnitedStates), "12.50");
  EXPECT_EQ(FormatStandard(123456, kUnitedStates), "123,456.00");
  AddToTotal(totals, 0, "3E38");
  AddToTotal(totals, 0, "3E38");
  EXPECT_EQ(FormatStandard(totals[0], kUnitedStates), kOverflowText);
  EXPECT_EQ(FormatStandard(totals[0]), kOverflowText);
}

TEST(Totals, StandardFormatWithOtherSeparators) {
  EXPECT_EQ(FormatStandard(1234.5, kGerman), "1.234,50");
  EXPECT_EQ(FormatStandard(-1234567.891, kGerman), "-1.234.567,89");
  EXPECT_EQ(FormatStandard(0, kGerman), "0,00");
  EXPECT_EQ(FormatStandard(1234.5, {',', '\xA0'}), std::string("1") + '\xA0' + "234,50");
  // Without separators given, those of the process's locale.
  EXPECT_EQ(FormatStandard(1234567.5), FormatStandard(1234567.5, LocaleNumberSeparators()));
  EXPECT_EQ(FormatStandard(1234567.5), Standard("1,234,567.50"));
}

// No double makes the format fail: infinities and NaN are the overflow text, and the largest values
// are written out in full.
TEST(Totals, StandardFormatTakesAnyDouble) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatStandard(kInfinity, kUnitedStates), kOverflowText);
  EXPECT_EQ(FormatStandard(-kInfinity, kGerman), kOverflowText);
  EXPECT_EQ(FormatStandard(std::numeric_limits<double>::quiet_NaN()), kOverflowText);
  const std::string largest = FormatStandard(-std::numeric_limits<double>::max(), kUnitedStates);
  EXPECT_EQ(largest.substr(0, 9), "-179,769,");
  EXPECT_EQ(largest.size(), 1 + 309 + 102 + 3);
  std::string digits;
  for (std::size_t i = 1; i < largest.size(); ++i) {
    if ((largest.size() - i) % 4 == 3 && i < largest.size() - 3) {
      EXPECT_EQ(largest[i], ',') << i;
    } else {
      digits += largest[i];
    }
  }
  char exact[400];
  char* end =
      std::to_chars(exact, exact + sizeof exact, std::numeric_limits<double>::max(), std::chars_format::fixed, 2).ptr;
  EXPECT_EQ(digits, std::string(exact, static_cast<std::size_t>(end - exact)));
  EXPECT_EQ(FormatStandard(1E20, kGerman), "100.000.000.000.000.000.000,00");
  EXPECT_EQ(FormatStandard(std::numeric_limits<double>::denorm_min(), kGerman), "0,00");
  EXPECT_EQ(FormatStandard(-std::numeric_limits<double>::denorm_min(), kGerman), "0,00");
}

// The running totals are doubles: a million prices in cents add up to the cent, where singles lose
// whole units beyond 2^24.
TEST(Totals, AMillionPricesAddUpToTheCent) {
  Totals totals{};
  std::int64_t cents = 0;
  std::uint32_t state = 1;
  char text[16];
  for (int i = 0; i < 1000000; ++i) {
    state = state * 1103515245u + 12345u;
    const int price = static_cast<int>((state >> 8) % 50000);  // 0.00 to 499.99
    cents += price;
    std::snprintf(text, sizeof text, "%d.%02d", price / 100, price % 100);  // integers only: no locale
    AddToTotal(totals, 4, text);
  }
  std::snprintf(text, sizeof text, "%lld", static_cast<long long>(cents));
  const std::string digits = text;
  const std::string whole = digits.substr(0, digits.size() - 2);
  std::string expected;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) expected += ',';
    expected += whole[i];
  }
  expected += "." + digits.substr(digits.size() - 2);
  EXPECT_GT(cents, 100000000 * 100LL);
  EXPECT_EQ(FormatStandard(totals[4], kUnitedStates), expected);
}

// Under a decimal-comma locale (which Qt sets in the desktop program), numbers in field text keep
// their period, computed values are written with it, and only the Standard format follows the locale.
TEST(Locale, DecimalCommaLocaleKeepsThePeriodInFieldText) {
  const LocaleScope german("de_DE.UTF-8");
  if (!german.Selected()) GTEST_SKIP() << "the locale de_DE.UTF-8 is missing";
  EXPECT_EQ(FieldNumber("2.50"), 2.5);
  EXPECT_EQ(FieldNumber("2,50"), 2);
  EXPECT_EQ(FieldNumber(" 1.5E3 "), 1500);
  EXPECT_EQ(Compute(2, "2.50", "4"), "10");
  EXPECT_EQ(Compute(2, "2.5", "5"), "12.5");
  EXPECT_EQ(Compute(3, "1", "3"), "0.3333333");
  EXPECT_EQ(Compute(2, "1000000", "1000"), "1E+09");
  EXPECT_EQ(LocaleNumberSeparators().decimal, ',');
  EXPECT_EQ(LocaleNumberSeparators().thousands, '.');
  EXPECT_EQ(FormatStandard(1234.5), "1.234,50");
  EXPECT_EQ(FormatStandard(1234.5, kUnitedStates), "1,234.50");
  EXPECT_EQ(FormatStandard(std::numeric_limits<double>::max()).substr(0, 8), "179.769.");

  Totals totals{};
  AddToTotal(totals, 0, "2.50");
  AddToTotal(totals, 0, "1000");
  EXPECT_EQ(totals[0], 1002.5);
  EXPECT_EQ(FormatStandard(totals[0]), "1.002,50");
}

TEST(Locale, WithoutThousandsSeparatorTheOtherOfCommaAndPeriod) {
  const LocaleScope c("C");
  ASSERT_TRUE(c.Selected());
  EXPECT_EQ(LocaleNumberSeparators().decimal, '.');
  EXPECT_EQ(LocaleNumberSeparators().thousands, ',');
  EXPECT_EQ(FormatStandard(1234.5), "1,234.50");
}

class CatalogTotalsTest : public ::testing::Test {
 protected:
  CatalogTotalsTest() { store.catalogDirectory = dir.path(); }
  void Create(const CatalogLayout& layout, const std::vector<std::vector<std::string>>& entries, float status) {
    ASSERT_TRUE(CreateNewCatalog(store, dir.path(), "CAT", layout));
    store.entryFile = OpenCatalog(store, dir.path(), "CAT", CatalogAccess::kChange);
    store.catalogName = "CAT";
    EntryNumber n = 0;
    for (const auto& texts : entries) {
      EntryRecord record = BlankEntry(store.header);
      record.Status = ++n % 2 == 0 ? status : kStatusActive;
      for (std::size_t i = 0; i < texts.size(); ++i) record.Field[i] = texts[i];
      ASSERT_TRUE(WriteEntry(store, record, store.header, n, store.entryFile));
    }
    store.header.EntryCount = static_cast<float>(n);
  }
  TempDirectory dir;
  FakeUi ui;
  CatalogStore store{ui};
};

TEST_F(CatalogTotalsTest, DeletedEntriesAndComputedSumsCount) {
  Create(MakeLayout({{"Price", 8, kSumField}, {"Quantity", 4, kSumField}, {"Value", 8, kSumField, "A*B"}}),
         {{"1000", "10"}, {"234.5", "2"}}, kStatusDeleted);
  ASSERT_EQ(TotalCatalog(store), WalkEnd::kDone);
  EXPECT_EQ(store.totals[0], 1234.5);
  EXPECT_EQ(store.totals[1], 12.0);
  EXPECT_EQ(store.totals[2], 10469.0);
  EXPECT_EQ(CompletionText(store, ""), "\r\rTOTALS:\r\rPrice         \t\t:\t" + Standard("1,234.50") +
                                           "\rQuantity      \t\t:\t" + Standard("12.00") + "\rValue         \t\t:\t" +
                                           Standard("10,469.00") + "\r");
  EXPECT_TRUE(ui.mainWindowEnabled);
}

// The user's case: prices with a period in a catalog totalled under a decimal-comma locale.
TEST_F(CatalogTotalsTest, TotalsUnderADecimalCommaLocale) {
  const LocaleScope german("de_DE.UTF-8");
  if (!german.Selected()) GTEST_SKIP() << "the locale de_DE.UTF-8 is missing";
  Create(MakeLayout({{"Price", 8, kSumField}, {"Qty", 3}, {"Value", 10, kSumField, "A*B"}}),
         {{"2.50", "4"}, {"1234.25", "1"}, {"0.125", "2"}}, kStatusActive);
  ASSERT_EQ(TotalCatalog(store), WalkEnd::kDone);
  EXPECT_EQ(store.totals[0], 1236.875);
  EXPECT_EQ(store.totals[2], 1244.5);
  EXPECT_EQ(CompletionText(store, ""), "\r\rTOTALS:\r\rPrice         \t\t:\t1.236,88\rValue         \t\t:\t1.244,50\r");
}

TEST_F(CatalogTotalsTest, WithoutSumFieldsNothingHappens) {
  Create(MakeLayout({{"Title", 8}}), {{"x"}}, kStatusActive);
  EXPECT_EQ(TotalCatalog(store), WalkEnd::kDone);
  EXPECT_EQ(ui.doEventsCalls, 0);
  EXPECT_EQ(CompletionText(store, "Printed 12 entries."), "Printed 12 entries.");
}

TEST_F(CatalogTotalsTest, CancelOnTheGaugeStopsTheTotals) {
  std::vector<std::vector<std::string>> entries(400, {"1"});
  Create(MakeLayout({{"Price", 8, kSumField}}), entries, kStatusActive);
  ui.cancelAtDoEvents = 3;  // the opening's events, then the first step multiple
  EXPECT_EQ(TotalCatalog(store), WalkEnd::kCancelled);
  EXPECT_LT(store.totals[0], 400.0);
  EXPECT_EQ(ui.gaugeMessage, "TOTALING ENTRIES....");
  EXPECT_FALSE(ui.gaugeShown);
  EXPECT_TRUE(ui.mainWindowEnabled);
}

}  // namespace
}  // namespace vrk
