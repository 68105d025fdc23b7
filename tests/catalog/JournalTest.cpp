// Journals a stopped program left, as the next program finds them: a whole one is finished, one cut
// short (or not of this program) is dropped without a step, and none reaches outside its directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/Journal.h"
#include "fakes/FakeUi.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::TempDirectory;

class JournalTest : public ::testing::Test {
 protected:
  JournalTest() {
    for (const char* file : {"OLD.DAT", "OLD.SET", "OLD.MEM"}) TempDirectory::WriteFile(dir / file, file);
    std::filesystem::create_directory(dir / "sub");
    TempDirectory::WriteFile(dir / "sub/KEEP.DAT", "keep");
  }
  bool There(const std::string& file) const { return std::filesystem::exists(dir / file); }

  TempDirectory dir;
  test::FakeUi ui;
};

TEST_F(JournalTest, AWholeJournalIsFinishedFromWhereItStopped) {
  // Killed after the entry file was renamed: the rest follows, for either name.
  std::filesystem::rename(dir / "OLD.DAT", dir / "NEW.DAT");
  TempDirectory::WriteFile(dir / "OLD=NEW.JN$",
                           "VRK journal 1\nrename\tOLD.DAT\tNEW.DAT\nrename\tOLD.SET\tNEW.SET\n"
                           "rename\tOLD.MEM\tNEW.MEM\nend\n");
  EXPECT_TRUE(FinishJournals(ui, sys::SystemFiles(), dir.path(), "OTHER"));
  EXPECT_TRUE(There("OLD=NEW.JN$"));
  EXPECT_TRUE(FinishJournals(ui, sys::SystemFiles(), dir.path(), "OLD"));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"OLD was renamed to NEW."}));
  for (const char* file : {"NEW.DAT", "NEW.SET", "NEW.MEM"}) EXPECT_TRUE(There(file)) << file;
  for (const char* file : {"OLD.DAT", "OLD.SET", "OLD.MEM", "OLD=NEW.JN$"}) EXPECT_FALSE(There(file)) << file;
  EXPECT_EQ(TempDirectory::ReadFile(dir / "NEW.MEM"), "OLD.MEM");
}

TEST_F(JournalTest, AJournalCutShortOrForeignIsDroppedWithoutAStep) {
  for (const std::string text :
       {"VRK journal 1\nremove\tOLD.DAT\n", "VRK journal 1\nremove\tOLD.DAT\nen",
        "VRK journal 1\nremove\t../OLD.DAT\nend\n", "VRK journal 1\nremove\tsub/KEEP.DAT\nend\n",
        "VRK journal 1\nmove\tOLD.DAT\tX.DAT\nend\n", "", "journal\nremove\tOLD.DAT\nend\n"}) {
    TempDirectory::WriteFile(dir / "OLD.JN$", text);
    EXPECT_TRUE(FinishJournals(ui, sys::SystemFiles(), dir.path(), "OLD")) << text;
    EXPECT_FALSE(There("OLD.JN$")) << text;
    EXPECT_TRUE(There("OLD.DAT") && There("sub/KEEP.DAT")) << text;
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JournalTest, ARemovalFinishedLeavesNothingOfTheCatalog) {
  std::filesystem::remove(dir / "OLD.DAT");
  TempDirectory::WriteFile(dir / "old.jn$", "VRK journal 1\nremove\tOLD.DAT\nremove\tOLD.SET\nremove\tOLD.MEM\nend\n");
  EXPECT_TRUE(FinishJournals(ui, sys::SystemFiles(), dir.path(), "OLD"));
  for (const char* file : {"OLD.SET", "OLD.MEM", "old.jn$"}) EXPECT_FALSE(There(file)) << file;
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vrk
