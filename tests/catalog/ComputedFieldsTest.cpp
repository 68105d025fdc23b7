#include <gtest/gtest.h>

#include <limits>

#include "catalog/Catalog.h"
#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "report/Completion.h"

namespace vrk {
namespace {

using test::FakeUi;
using test::MakeLayout;
using test::TempDirectory;

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
  EXPECT_EQ(totals[3], 3.25f);
  EXPECT_EQ(FormatStandard(1234.5), "1,234.50");
  EXPECT_EQ(FormatStandard(0), "0.00");
  EXPECT_EQ(FormatStandard(-1234567.891), "-1,234,567.89");
  EXPECT_EQ(FormatStandard(-0.001), "0.00");
  EXPECT_EQ(FormatStandard(999.999), "1,000.00");
  AddToTotal(totals, 0, "3E38");
  AddToTotal(totals, 0, "3E38");
  EXPECT_EQ(FormatStandard(totals[0]), kOverflowText);
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
  EXPECT_EQ(store.totals[0], 1234.5f);
  EXPECT_EQ(store.totals[1], 12.0f);
  EXPECT_EQ(store.totals[2], 10469.0f);
  EXPECT_EQ(
      CompletionText(store, ""),
      "\r\rTOTALS:\r\rPrice         \t\t:\t1,234.50\rQuantity      \t\t:\t12.00\rValue         \t\t:\t10,469.00\r");
  EXPECT_TRUE(ui.mainWindowEnabled);
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
  EXPECT_LT(store.totals[0], 400.0f);
  EXPECT_EQ(ui.gaugeMessage, "TOTALING ENTRIES....");
  EXPECT_FALSE(ui.gaugeShown);
  EXPECT_TRUE(ui.mainWindowEnabled);
}

}  // namespace
}  // namespace vrk
