// Delete on an erased screen after a deleted entry was shown.
#include <gtest/gtest.h>

#include "fakes/ProgramFixture.h"

namespace vrk {
namespace {

class DeleteAfterEraseTest : public test::ProgramFixture {};

TEST_F(DeleteAfterEraseTest, AddsNoEntry) {
  Open(test::MakeLayout({{"Title", 20, kKeyField}}));
  Add({"One"});
  Add({"Two"});
  Show(2);
  DeleteEntry(program);
  EraseScreen(program);  // the record keeps the deleted status
  DeleteEntry(program);
  DeleteEntry(program);
  EXPECT_EQ(program.header.Count(), 2);
  EXPECT_EQ(screen.Panel(Panel::Entry), "Entry # 3");
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1}));
  EntryRecord second;
  ASSERT_TRUE(ReadEntry(program, second, program.header, 2, program.entryFile));
  EXPECT_EQ(second.Status, kStatusDeleted);
}

}  // namespace
}  // namespace vrk
