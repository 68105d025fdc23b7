#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "catalog/Files.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::TempDirectory;

// A file-size limit makes the disk refuse writes past it, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { Lift(); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  void Lift() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST(FileBatch, WritesRefusedByTheDiskAreWrittenWhenTriedAgain) {
  TempDirectory dir;
  const std::string path = dir / "ENTRIES.DAT";
  File file(::open(path.c_str(), O_RDWR | O_CREAT, 0644), kBinary);
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

}  // namespace
}  // namespace vrk
