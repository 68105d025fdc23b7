#include <gtest/gtest.h>

#include "fakes/ProgramFixture.h"
#include "index/KeyIndexChange.h"
#include "index/Rebuild.h"

namespace vrk {
namespace {

using test::MakeLayout;

class KeyIndexChangeTest : public test::ProgramFixture {
 protected:
  IndexOpen Reopened() {
    short handle = kNoIndex;
    const IndexOpen opened = OpenIndex(program, 0, "CAT", lib::kNdxOpen, handle);
    if (handle != kNoIndex) {
      EXPECT_EQ(lib::CloseNDX(program.indexes, handle), lib::kNdxOk);
    }
    return opened;
  }
};

// A change that ends without its commit (an early return, a failure) leaves the indexes in doubt.
TEST_F(KeyIndexChangeTest, IndexesAreWholeOnlyAfterACommit) {
  Open(MakeLayout({{"Title", 10, kKeyField}}));
  Add({"Zebra"});
  const struct {
    bool agree;
    bool whole;
    IndexOpen reopened;
  } cases[] = {{true, true, IndexOpen::kOpened}, {false, false, IndexOpen::kInDoubt}};
  for (const auto& c : cases) {
    {
      KeyIndexChange change(program);
      ASSERT_TRUE(change.Open());
      ASSERT_EQ(change.keys().size(), 1u);
      EXPECT_EQ(change.Finish(c.agree), c.whole);
    }
    EXPECT_EQ(Reopened(), c.reopened);
    ASSERT_TRUE(ReIndex(program));
  }
  short handle = kNoIndex;
  {
    KeyIndexChange change(program);
    ASSERT_TRUE(change.Open());
    handle = change.keys().front().handle;
  }
  EXPECT_NE(lib::CloseNDX(program.indexes, handle), lib::kNdxOk);  // closed already, not left open
  EXPECT_EQ(Reopened(), IndexOpen::kInDoubt);
}

// A command's own index handle closes on every way out; a build that goes without its Close is in doubt.
TEST_F(KeyIndexChangeTest, AReadHandleClosesItselfAndAnUnfinishedBuildIsInDoubt) {
  Open(MakeLayout({{"Title", 10, kKeyField}}));
  Add({"Zebra"});
  short handle = kNoIndex;
  {
    const IndexHandle read(program, 0, lib::kNdxOpen);
    ASSERT_TRUE(read);
    handle = read.get();
  }
  EXPECT_NE(lib::CloseNDX(program.indexes, handle), lib::kNdxOk);  // closed already
  EXPECT_EQ(Reopened(), IndexOpen::kOpened);
  {
    const IndexHandle built(program, 0, lib::kNdxCreate);
    ASSERT_TRUE(built);
  }
  EXPECT_EQ(Reopened(), IndexOpen::kInDoubt);
}

}  // namespace
}  // namespace vrk
