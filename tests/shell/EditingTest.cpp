#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/EntryFile.h"
#include "fakes/ProgramFixture.h"
#include "platform/FileSystem.h"

namespace vrk {
namespace {

using test::MakeLayout;
using test::TempDirectory;

class EditingTest : public test::ProgramFixture {
 protected:
  void OpenBooks() {
    Open(MakeLayout({{"Title", 20, kKeyField},
                     {"Author", 10, kKeyField},
                     {"Price", 6, kSumField},
                     {"Double", 8, kPlainField, "C+C"}}));
  }
  EntryRecord Entry(EntryNumber n) {
    EntryRecord record;
    EXPECT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
    return record;
  }
  // EntryCount as the header on disk says.
  float CountOnDisk() {
    CatalogHeader header;
    FieldTable fields;
    EXPECT_TRUE(ReadSetup(program, dir.path(), "CAT", fields, header));
    return header.EntryCount;
  }
};

TEST_F(EditingTest, SavingANewEntryAppendsItAndErasesTheScreen) {
  OpenBooks();
  Type({"Dune", "Herbert", "9.5", "typed into a computed box"});
  SaveEntry(program);
  EXPECT_EQ(CountOnDisk(), 1.0f);
  EXPECT_EQ(program.currentEntryNumber, 2);
  EXPECT_EQ(screen.Panel(Panel::Entry), "Entry # 2");
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Make Entries");
  EXPECT_EQ(screen.BoxText(0), "");
  const EntryRecord saved = Entry(1);
  EXPECT_EQ(saved.Status, kStatusActive);
  EXPECT_EQ(saved.Field[0], "Dune                ");  // stored padded
  EXPECT_EQ(saved.Field[3], "        ");              // a computed field keeps its stored text
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1}));
  EXPECT_EQ(screen.savingWindowEntry, 0);  // the saving window is closed again
  EXPECT_EQ(screen.focusedBox, 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EditingTest, ASavedEntryIsOnTheDiskAndClosingTheCatalogWritesNothingMore) {
  OpenBooks();
  Add({"Dune", "Herbert"});
  files.SetWriteFault(test::FaultKind::kNone);
  ASSERT_TRUE(CloseCurrentCatalog(program));
  EXPECT_EQ(files.ChangesSoFar(), 0) << "the header, the settings and the sync were already done";
  EXPECT_EQ(CountOnDisk(), 1.0f);
}

TEST_F(EditingTest, SavingAnExistingEntryMovesItInKeyOrder) {
  OpenBooks();
  Add({"Beta"});
  Add({"Gamma"});
  Add({"Alpha"});
  ASSERT_EQ(Walk(0), (std::vector<EntryNumber>{3, 1, 2}));
  Show(1);
  EXPECT_EQ(screen.BoxText(0), "Beta");  // shown without its padding
  screen.SetBoxText(0, "Omega");
  SaveEntry(program);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{3, 2, 1}));
  EXPECT_EQ(program.header.Count(), 3);
  EXPECT_EQ(program.currentEntryNumber, 1);  // an existing entry stays on the screen
  // Saving it unchanged files the same keys again.
  SaveEntry(program);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{3, 2, 1}));
  EXPECT_EQ(Walk(1).size(), 3u);
}

TEST_F(EditingTest, ComputedFieldsShowTheirValueAfterSaving) {
  OpenBooks();
  Add({"Book", "", "2.5"});
  Show(1);
  EXPECT_EQ(screen.BoxText(3), "5");
  screen.SetBoxText(2, "4");
  EXPECT_EQ(screen.BoxText(3), "5");  // not until the entry is shown again
  SaveEntry(program);
  EXPECT_EQ(screen.BoxText(3), "8");
}

TEST_F(EditingTest, ANewEntryStoresItsComputedFieldsBlankWhateverWasShownBefore) {
  Open(MakeLayout({{"A", 6}, {"B", 6}, {"C", 6, kPlainField, "A*B"}, {"D", 6, kPlainField, "C+A"}}));
  Add({"10", "10"});
  EntryRecord stored = Entry(1);
  stored.Field[2] = "100   ";  // a computed field with a stored text, as a foreign program may leave it
  ASSERT_TRUE(WriteEntry(program, stored, program.header, 1, program.entryFile));
  Show(1);
  EraseScreen(program);
  Type({"1", "2"});
  ASSERT_TRUE(SaveEntry(program));
  EXPECT_EQ(Entry(2).Field[2], "      ");
  Show(2);
  EXPECT_EQ(screen.BoxText(3), "1");  // D = C + A with C's stored text blank
}

TEST_F(EditingTest, ACatalogRefusesAnEntryItCannotCount) {
  OpenBooks();
  program.header.EntryCount = static_cast<float>(kMostEntries);  // as full as a single counts exactly
  EraseScreen(program);
  Type({"One too many"});
  EXPECT_FALSE(SaveEntry(program));
  EXPECT_EQ(program.header.Count(), kMostEntries);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"This catalog holds 16777216 entries, the most a catalog can "
                                                  "count. The entry was not saved."}));
  EXPECT_EQ(screen.BoxText(0), "One too many");
}

TEST_F(EditingTest, DeleteRemovesKeysAndDeletingAgainSavesTheScreen) {
  OpenBooks();
  Add({"One"});
  Add({"Two"});
  Show(2);
  DeleteEntry(program);
  EXPECT_EQ(Entry(2).Status, kStatusDeleted);
  EXPECT_EQ(screen.Panel(Panel::Deleted), "DELETED");
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1}));

  screen.SetBoxText(0, "Two again");
  DeleteEntry(program);  // a deleted entry is saved active instead
  EXPECT_EQ(Entry(2).Status, kStatusActive);
  EXPECT_EQ(RightTrim(Entry(2).Field[0]), "Two again");
  EXPECT_EQ(screen.Panel(Panel::Deleted), "");
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1, 2}));
}

TEST_F(EditingTest, UndeleteFilesTheKeysAgain) {
  OpenBooks();
  Add({"Kept"});
  Show(1);
  UndeleteEntry(program);  // an active entry: nothing to do
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1}));
  DeleteEntry(program);
  EXPECT_TRUE(Walk(0).empty());
  UndeleteEntry(program);
  EXPECT_EQ(Entry(1).Status, kStatusActive);
  EXPECT_EQ(screen.Panel(Panel::Deleted), "");
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1}));
  EXPECT_EQ(Walk(1), (std::vector<EntryNumber>{1}));
}

TEST_F(EditingTest, DeleteInTheNewEntryStateDoesNotCountAnEntry) {
  OpenBooks();
  Add({"Only"});
  DeleteEntry(program);
  EXPECT_EQ(program.header.Count(), 1);
  EXPECT_EQ(CountOnDisk(), 1.0f);
}

TEST_F(EditingTest, CopyLastAndCopyAnyPreviousShowAnotherEntryForSaving) {
  OpenBooks();
  for (const char* title : {"A", "B", "C", "D", "E"}) Add({title, "Anon", "1"});
  CopyLast(program);
  EXPECT_EQ(screen.BoxText(0), "E");
  EXPECT_EQ(program.currentEntryNumber, 6);
  SaveEntry(program);
  EXPECT_EQ(program.header.Count(), 6);
  EXPECT_EQ(RightTrim(Entry(6).Field[0]), "E");

  ui.promptAnswers = {std::string("2"), std::string("0"), std::string("7"), std::nullopt};
  CopyAnyPrevious(program);
  EXPECT_EQ(screen.BoxText(0), "B");
  ASSERT_EQ(ui.numberPrompts.size(), 1u);
  EXPECT_EQ(ui.numberPrompts[0].caption, "Copy Any Previous");
  EXPECT_EQ(ui.numberPrompts[0].question, "Enter the number of the entry you wish to copy.");
  CopyAnyPrevious(program);
  CopyAnyPrevious(program);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Entry number is out of range.", "Entry number is out of range."}));
  CopyAnyPrevious(program);  // cancelled
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(EditingTest, CopyingFromThePreviousEntryStopsAtEntryOne) {
  OpenBooks();
  Add({"First", "Smith"});
  Add({"Second", "Jones"});
  Show(1);
  CopyLast(program);
  EXPECT_EQ(screen.BoxText(0), "First");
  program.currentField = 1;
  CopyFieldFromPrevious(program);
  EXPECT_EQ(screen.BoxText(1), "Smith");

  Show(2);
  screen.SetBoxText(0, "typed");
  screen.SetBoxText(1, "typed");
  CopyFieldFromPrevious(program);
  EXPECT_EQ(screen.BoxText(1), "Smith");
  EXPECT_EQ(screen.BoxText(0), "typed");  // only the focused box changes
}

TEST_F(EditingTest, LongKeysAreFiledByTheirFirst24Characters) {
  Open(MakeLayout({{"Title", 30, kKeyField}}));
  Add({"abcdefghijklmnopqrstuvwxZ"});
  Add({"ABCDEFGHIJKLMNOPQRSTUVWXA"});
  Add({"abcdefghijklmnopqrstuvwx"});
  // Equal as keys: they come back in entry order.
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1, 2, 3}));
  Show(1);
  DeleteEntry(program);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{2, 3}));
}

TEST_F(EditingTest, AMissingIndexFileIsRebuiltBeforeTheEntryIsSaved) {
  OpenBooks();
  Add({"One", "X"});
  Add({"Two", "Y"});
  std::filesystem::remove(dir / "CATXXX00.WDX");
  Show(2);
  EXPECT_TRUE(SaveEntry(program));
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1, 2}));
  EXPECT_EQ(Walk(1), (std::vector<EntryNumber>{1, 2}));
  EXPECT_EQ(ui.texts(),
            (std::vector<std::string>{"The key indexes of CAT were left incomplete; they are rebuilt now."}));
}

TEST_F(EditingTest, CatalogWithoutKeysTouchesNoIndexFile) {
  Open(MakeLayout({{"Note", 10}}));
  Add({"x"});
  Show(1);
  DeleteEntry(program);
  for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_NE(file.path().extension(), ".WDX");
  }
}

TEST_F(EditingTest, ADamagedIndexIsRebuiltAndAnIndexThatCannotBeWrittenRefusesTheSave) {
  OpenBooks();
  Add({"First", "A"});
  TempDirectory::WriteFile(dir / "CATXXX00.WDX", "not an index at all");
  Add({"Saved", "B"});
  EXPECT_EQ(program.header.Count(), 2);
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1, 2}));
  ui.messages.clear();

  // An index that is not a file at all cannot be rebuilt: nothing is saved, and the screen keeps the entry.
  std::filesystem::remove(dir / "CATXXX01.WDX");
  std::filesystem::create_directory(dir / "CATXXX01.WDX");
  EraseScreen(program);
  Type({"Kept", "C"});
  EXPECT_FALSE(SaveEntry(program));
  EXPECT_EQ(program.header.Count(), 2);
  EXPECT_EQ(screen.BoxText(0), "Kept");
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text, "ERROR OPENING INDEX FILE");
  EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
}

}  // namespace
}  // namespace vrk
