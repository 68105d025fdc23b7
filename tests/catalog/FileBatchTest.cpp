#include <gtest/gtest.h>

#include <functional>

#include "catalog/Files.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FileSizeLimit.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::FileSizeLimit;
using test::TempDirectory;

TEST(FileBatch, WritesRefusedByTheDiskAreWrittenWhenTriedAgain) {
  TempDirectory dir;
  const std::string path = dir / "ENTRIES.DAT";
  sys::FileHandle handle;
  ASSERT_EQ(sys::OpenFile(sys::SystemFiles(), path, sys::Access::kReadWrite, sys::Creation::kCreate, handle), 0);
  BufferedFile file(std::move(handle), path);
  const std::string first(40000, 'a');
  const std::string second(40000, 'b');
  FileSizeLimit limit(50000);
  file.BeginBatch();
  ASSERT_TRUE(file.WriteAt(0, first.data(), first.size())) << "gathered, not yet written";
  EXPECT_FALSE(file.WriteAt(40000, second.data(), second.size()));
  EXPECT_EQ(file.error(), EFBIG);
  limit.Lift();
  EXPECT_TRUE(file.EndBatch());
  EXPECT_EQ(TempDirectory::ReadFile(path), first + second);
}

TEST(FileBatch, ASyncReachesTheDiskOnlyAfterAWrite) {
  TempDirectory dir;
  const std::string path = dir / "ENTRIES.DAT";
  test::FakeFileSystem files;
  sys::FileHandle handle;
  ASSERT_EQ(sys::OpenFile(files, path, sys::Access::kReadWrite, sys::Creation::kCreate, handle), 0);
  BufferedFile file(std::move(handle), path);
  const auto changes = [&](const std::function<bool()>& step) {
    files.SetWriteFault(test::FaultKind::kNone);
    EXPECT_TRUE(step());
    return files.ChangesSoFar();
  };
  EXPECT_EQ(changes([&] { return file.Sync(); }), 1) << "a file just opened may hold another's writes";
  EXPECT_EQ(changes([&] { return file.Sync(); }), 0);
  EXPECT_EQ(changes([&] { return file.WriteAt(0, "abc", 3) && file.Sync(); }), 2);
  EXPECT_EQ(changes([&] { return file.Sync(); }), 0);
}

}  // namespace
}  // namespace vrk
