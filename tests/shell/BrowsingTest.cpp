#include <gtest/gtest.h>

#include "fakes/ProgramFixture.h"
#include "shell/Browsing.h"

namespace vrk {
namespace {

using test::MakeLayout;

class BrowsingTest : public test::ProgramFixture {
 protected:
  void OpenWith(int entries) {
    Open(MakeLayout({{"Title", 10}}));
    for (int i = 1; i <= entries; ++i) Add({"Entry " + std::to_string(i)});
  }
};

TEST_F(BrowsingTest, EmptyCatalogHasNeitherStartNorEnd) {
  OpenWith(0);
  EXPECT_EQ(program.currentEntryNumber, 1);
  PreviousEntry(program);
  NextEntry(program);
  EXPECT_EQ(ui.events, (std::vector<std::string>{"beep", "message: Start of List", "beep", "message: End of List"}));
  EXPECT_EQ(program.listKind, kMakeEntries);
}

TEST_F(BrowsingTest, PreviousAfterEraseScreenShowsTheLastEntry) {
  OpenWith(10);
  PreviousEntry(program);
  EXPECT_EQ(program.currentEntryNumber, 10);
  EXPECT_EQ(screen.BoxText(0), "Entry 10");
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Edit");
  EXPECT_EQ(screen.Panel(Panel::Entry), "Entry # 10");
  EXPECT_EQ(program.listKind, kBrowseEntries);
  NextEntry(program);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"End of List"}));
  EXPECT_EQ(program.currentEntryNumber, 10);
}

TEST_F(BrowsingTest, StepsStopOnDeletedEntries) {
  OpenWith(3);
  Show(2);
  DeleteEntry(program);
  Show(1);
  program.listKind = kBrowseEntries;
  NextEntry(program);
  EXPECT_EQ(program.currentEntryNumber, 2);
  EXPECT_EQ(screen.Panel(Panel::Deleted), "DELETED");
  NextEntry(program);
  EXPECT_EQ(screen.Panel(Panel::Deleted), "");
  PreviousEntry(program);
  PreviousEntry(program);
  EXPECT_EQ(program.currentEntryNumber, 1);
  PreviousEntry(program);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Start of List"}));
}

TEST_F(BrowsingTest, SelectNumberShowsAnEntryAndKeepsTheList) {
  OpenWith(5);
  ui.promptAnswers = {std::string("3"), std::string("0"), std::string("6"), std::nullopt};
  SelectNumber(program);
  EXPECT_EQ(program.currentEntryNumber, 3);
  EXPECT_EQ(screen.BoxText(0), "Entry 3");
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Edit");
  EXPECT_EQ(screen.Panel(Panel::Entry), "Entry # 3");
  EXPECT_EQ(program.listKind, kMakeEntries);  // the list kind stays
  EXPECT_EQ(ui.numberPrompts[0].caption, "Select Number");
  EXPECT_EQ(ui.numberPrompts[0].question, "Enter the number of the entry you wish to display.");
  SelectNumber(program);
  SelectNumber(program);
  SelectNumber(program);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Entry number is out of range.", "Entry number is out of range."}));
  EXPECT_EQ(program.currentEntryNumber, 3);
  NextEntry(program);
  EXPECT_EQ(program.currentEntryNumber, 4);
}

TEST_F(BrowsingTest, SelectNumberInAnEmptyCatalogIsOutOfRange) {
  OpenWith(0);
  ui.promptAnswers = {std::string("1")};
  SelectNumber(program);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Entry number is out of range."}));
}

}  // namespace
}  // namespace vrk
