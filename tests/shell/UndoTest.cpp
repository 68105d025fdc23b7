// Undo and Redo of the editing commands: random changes taken back and made again.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "admin/CatalogMaintenance.h"
#include "admin/CatalogSetup.h"
#include "admin/CopyEntries.h"
#include "catalog/EntryFile.h"
#include "catalog/Memo.h"
#include "fakes/CrashCopies.h"
#include "fakes/Locale.h"
#include "fakes/ProgramFixture.h"
#include "report/QuickView.h"
#include "search/Replace.h"
#include "shell/Maintenance.h"
#include "shell/Memos.h"
#include "shell/Replacing.h"
#include "shell/Searching.h"
#include "shell/UndoHistory.h"
#include "shell/Utilities.h"

namespace vrk {
namespace {

using test::MakeLayout;

class UndoTest : public test::ProgramFixture {
 protected:
  void OpenMusic() {
    CatalogLayout layout = MakeLayout({{"Title", 12, kKeyField}, {"Artist", 8, kKeyField}, {"Year", 4, kPlainField}});
    layout.lengths[kMediaField] = 30;
    Open(layout);
  }
  void AnswerMemo(const std::string& text) {
    ui.dialogs.Register<MemoEditor>([text](MemoEditor& editor) {
      editor.text = text;
      return true;
    });
  }
  // Every counted entry as the disk holds it: status, fields (field 21's media paths among them), memo
  // number and the memo's text.
  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (EntryNumber n = 1; n <= program.header.Count(); ++n) {
      EntryRecord record;
      EXPECT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
      std::string text = std::to_string(record.Status) + "|" + std::to_string(record.MemoNumber) + "|" +
                         ReadMemo(program, record.MemoNumber);
      for (const std::string& field : record.Field) text += "|" + field;
      entries.push_back(text);
    }
    return entries;
  }
  // Each key index lists every active entry once, in key order.
  void ExpectIndexesAgree(const std::string& when) {
    std::multiset<EntryNumber> active;
    for (EntryNumber n = 1; n <= program.header.Count(); ++n) {
      EntryRecord record;
      ASSERT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
      if (record.Status != kStatusDeleted) active.insert(n);
    }
    for (int field : {0, 1}) EXPECT_EQ(test::IndexedEntries(program, field, when), active) << when << field;
  }
  std::string Word(std::mt19937& random) {
    static const char* const kWords[] = {"alpha", "Beta", "gamma", "Delta", "eps", "zeta", ""};
    return kWords[random() % 7] + std::to_string(random() % 10);
  }
  // One random change of the editing commands.
  void RandomChange(std::mt19937& random) {
    const EntryNumber count = program.header.Count();
    const auto n = static_cast<EntryNumber>(random() % static_cast<unsigned>(count)) + 1;
    switch (random() % 6) {
      case 0:
        EraseScreen(program);
        Type({Word(random), Word(random), "1970"});
        SaveEntry(program);
        break;
      case 1:
        Show(n);
        screen.SetBoxText(static_cast<int>(random() % 3), Word(random));
        screen.SetBoxText(kMediaField, Word(random) + ".wav\x01" + Word(random) + ".bmp");
        SaveEntry(program);
        break;
      case 2: Show(n), DeleteEntry(program); break;
      case 3: Show(n), UndeleteEntry(program); break;
      case 4:
        Show(n);
        AnswerMemo("memo " + Word(random));
        MemoCommand(program);
        break;
      default:
        Show(n);
        if (program.currentEntry.MemoNumber >= 1) RemoveMemoCommand(program);
    }
  }
};

TEST_F(UndoTest, UndoingEveryChangeRestoresTheStartAndRedoingRestoresTheEnd) {
  OpenMusic();
  for (const char* title : {"Moon", "Sun", "Rain", "Snow", "Wind"}) Add({title, "Band", "1999"});
  Show(2);
  AnswerMemo("kept memo");
  ASSERT_TRUE(MemoCommand(program));
  Show(4);
  ASSERT_TRUE(DeleteEntry(program));
  ClearHistory(program);
  const auto start = Entries();
  const auto startCount = static_cast<std::size_t>(program.header.Count());

  std::mt19937 random(23);
  for (int i = 0; i < 80; ++i) RandomChange(random);
  ASSERT_TRUE(ui.messages.empty()) << ui.texts().front();
  const auto end = Entries();
  ASSERT_GT(end.size(), startCount);

  while (program.history.undo.size() > 0) ASSERT_TRUE(UndoCommand(program));
  EXPECT_EQ(UndoCaption(program), "U&ndo");
  const auto undone = Entries();
  ASSERT_EQ(undone.size(), end.size());  // the entries added stay counted
  EXPECT_EQ(std::vector(undone.begin(), undone.begin() + static_cast<long>(startCount)), start);
  for (EntryNumber n = static_cast<EntryNumber>(startCount) + 1; n <= program.header.Count(); ++n) {
    EntryRecord record;
    ASSERT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
    EXPECT_EQ(record.Status, kStatusDeleted) << "entry " << n;
  }
  ExpectIndexesAgree("undone");

  while (program.history.redo.size() > 0) ASSERT_TRUE(RedoCommand(program));
  EXPECT_EQ(Entries(), end);
  ExpectIndexesAgree("redone");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(UndoTest, TheMenuSaysWhatUndoAndRedoWillDoAndANewChangeForgetsTheRedo) {
  OpenMusic();
  EXPECT_EQ(UndoCaption(program), "U&ndo");
  Add({"Moon"});
  Show(1);
  ASSERT_TRUE(DeleteEntry(program));
  EXPECT_EQ(UndoCaption(program), "U&ndo Delete");
  ASSERT_TRUE(UndoCommand(program));
  EXPECT_EQ(program.currentEntryNumber, 1);  // the entry is shown as it now is
  EXPECT_EQ(screen.Panel(Panel::Deleted), "");
  EXPECT_EQ(UndoCaption(program), "U&ndo Save");
  EXPECT_EQ(RedoCaption(program), "Red&o Delete");
  screen.SetBoxText(0, "Sun");
  ASSERT_TRUE(SaveEntry(program));
  EXPECT_EQ(RedoCaption(program), "Red&o");
  EXPECT_FALSE(RedoCommand(program));
  // Opening a catalog forgets the history.
  ASSERT_TRUE(OpenCatalogOnScreen(program, dir.path(), "CAT"));
  EXPECT_EQ(UndoCaption(program), "U&ndo");
}

TEST_F(UndoTest, BeyondItsMemoryTheHistoryForgetsItsOldestStepsButNeverTheNewest) {
  OpenMusic();
  for (const char* title : {"Moon", "Sun", "Rain", "Snow"}) Add({title});
  ASSERT_EQ(program.history.undo.size(), 4u);
  program.history.most = program.history.undo[0].bytes * 2;  // room for two Saves
  Add({"Wind"});
  ASSERT_EQ(program.history.undo.size(), 2u);
  ASSERT_TRUE(UndoCommand(program));
  ASSERT_TRUE(UndoCommand(program));
  EXPECT_FALSE(UndoCommand(program));
  EntryRecord rain;
  ASSERT_TRUE(ReadEntry(program, rain, program.header, 3, program.entryFile));
  EXPECT_NE(rain.Status, kStatusDeleted);  // saved before the steps Undo still knows
  program.history.most = 1;
  Add({"Hail"});
  EXPECT_EQ(program.history.undo.size(), 1u);
  EXPECT_EQ(UndoCaption(program), "U&ndo Save");
}

TEST_F(UndoTest, AReplaceRunIsOneStep) {
  OpenMusic();
  for (const char* title : {"Sun", "Rain", "Sunset"}) Add({title, "Band"});
  Show(3);
  ASSERT_TRUE(DeleteEntry(program));
  const auto start = Entries();
  ui.dialogs.Register<ReplaceDialog>([](ReplaceDialog& dialog) {
    dialog.searchText = "Sun";
    dialog.replacement = "Moon";
    dialog.global = true;
    return true;
  });
  ReplaceCommand(program);
  EXPECT_EQ(UndoCaption(program), "U&ndo Replace in 2 entries");
  ASSERT_TRUE(UndoCommand(program));
  EXPECT_EQ(Entries(), start);
  ExpectIndexesAgree("replace undone");
  EXPECT_EQ(UndoCaption(program), "U&ndo Delete");
}

TEST_F(UndoTest, AQuickViewEditIsAStepUndoTakesBackAndRedoMakesAgain) {
  OpenMusic();
  for (const char* title : {"Sun", "Rain"}) Add({title, "Band"});
  program.report.destination = ReportDestination::kQuickView;
  program.search.globalText = "Rain";
  ui.dialogs.Register<QuickView>([](QuickView& view) { return CommitQuickViewEdit(view, 1, 1, "Snow"); });
  ASSERT_EQ(GlobalSearchRun(program), 1);
  EXPECT_EQ(UndoCaption(program), "U&ndo Quick View Edit");
  const auto title = [this] {
    EntryRecord record;
    EXPECT_TRUE(ReadEntry(program, record, program.header, 2, program.entryFile));
    return RightTrim(record.Field[0]);
  };
  EXPECT_EQ(title(), "Snow");
  ASSERT_TRUE(UndoCommand(program));
  EXPECT_EQ(title(), "Rain");
  ExpectIndexesAgree("quick view edit undone");
  ASSERT_TRUE(RedoCommand(program));
  EXPECT_EQ(title(), "Snow");
  ExpectIndexesAgree("quick view edit redone");
}

TEST_F(UndoTest, EliminateDeletedSaysItClearsTheHistoryWhenThereIsSomethingToUndo) {
  OpenMusic();
  Add({"Sun"});
  ui.answers = {Answer::No};
  EliminateDeletedCommand(program);
  EXPECT_EQ(ui.texts().back(),
            "This operation will PERMANENTLY erase all\rrecords marked as deleted. The Undo history is cleared. "
            "Proceed?");
  EXPECT_EQ(UndoCaption(program), "U&ndo Save");  // No keeps it
  ui.answers = {Answer::Yes};
  EliminateDeletedCommand(program);
  EXPECT_EQ(UndoCaption(program), "U&ndo");
}

// An Edit Catalog of the current catalog leaves the history's images in a layout the catalog no longer has.
TEST_F(UndoTest, EditingTheCurrentCatalogsLayoutClearsTheHistory) {
  OpenMusic();
  Add({"Sun"});
  ui.dialogs.Register<CatalogSetup>([](CatalogSetup& setup) {
    setup.layout.lengths[0] = 20;
    return true;
  });
  ui.dialogs.Register<CatalogMaintenance>([](CatalogMaintenance& m) {
    for (std::size_t i = 0; i < m.lines.size(); ++i) {
      if (m.lines[i].name == "CAT") m.highlighted = static_cast<int>(i);
    }
    EditCatalog(m);
    return true;
  });
  CatalogMaintenanceCommand(program);
  EXPECT_EQ(program.header.FieldLength[0], 20);
  EXPECT_EQ(UndoCaption(program), "U&ndo");
}

TEST_F(UndoTest, EntriesCopiedIntoTheCurrentCatalogAreDeletedAgainAsOneStep) {
  OpenMusic();
  for (const char* title : {"Sun", "Rain"}) Add({title, "Band"});
  ui.dialogs.Register<SourceDestination>([](SourceDestination& choice) {
    choice.source = choice.destination = "CAT";
    return true;
  });
  ui.dialogs.Register<ConfigureCopy>([](ConfigureCopy&) { return true; });
  CopyEntriesCommand(program);
  ASSERT_EQ(program.header.Count(), 4);
  EXPECT_EQ(UndoCaption(program), "U&ndo Copy Entries in 2 entries");
  ASSERT_TRUE(UndoCommand(program));
  ExpectIndexesAgree("copy undone");
  EXPECT_EQ(test::IndexedEntries(program, 0, "copy undone"), (std::multiset<EntryNumber>{1, 2}));
  ASSERT_TRUE(RedoCommand(program));
  EXPECT_EQ(test::IndexedEntries(program, 0, "copy redone").size(), 4u);
}

TEST(UndoStepName, CountsTheEntriesOfAStepOfMany) {
  EXPECT_EQ(StepName("Delete", 1), "Delete");
  EXPECT_EQ(StepName("Replace", 1204), test::Standard("Replace in 1,204 entries"));
}

}  // namespace
}  // namespace vrk
