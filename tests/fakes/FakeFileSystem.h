// A file system that does what the machine's does, except what a test asks of it: the Nth change
// fails or never reaches the disk, a lock held elsewhere is waited for less long, syncs are skipped.
// Every call that changes what is stored counts as one change, in the order the program makes them.
#pragma once

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "platform/FileSystem.h"

namespace vrk::test {

enum class FaultKind {
  kNone,
  kFail,  // change number `at` fails with `error`; the others go on
  kStop,  // change number `at` and every later one never reach the disk, as if the program had been
          // killed just before it; the calls still report success (an open that would create a file fails)
};

class FakeFileSystem : public sys::FileSystem {
 public:
  // Counts the changes from now on and applies the fault to change number `at` (counted from 1).
  void SetWriteFault(FaultKind kind, long at = 0, int error = EIO);
  // Changes made (or dropped) since the last SetWriteFault.
  long ChangesSoFar() const { return changes_; }
  // Syncs made (or skipped).
  long Syncs() const { return syncs_; }
  // Returns once `count` locks have been asked for: another thread has come as far as its lock.
  void AwaitLockCalls(long count);

  std::optional<std::chrono::milliseconds> lockWait;  // set: the longest any lock is waited for
  bool syncing = true;                                // false: file and directory syncs do nothing

  int Open(const std::string& path, sys::Access access, sys::Creation creation, sys::FileHandle& file) override;
  int CreateUnique(const std::string& prefix, const std::string& suffix, std::string& path,
                   sys::FileHandle& file) override;
  int Write(const sys::FileHandle& file, std::uint64_t offset, const void* data, std::size_t size) override;
  int Sync(const sys::FileHandle& file) override;
  int Truncate(const sys::FileHandle& file, std::uint64_t size) override;
  int Lock(const sys::FileHandle& file, sys::Lock lock, std::chrono::milliseconds wait) override;
  int Remove(const std::string& path) override;
  int Rename(const std::string& from, const std::string& to) override;
  int RenameNew(const std::string& from, const std::string& to) override;
  int SyncDirectory(const std::string& path) override;
  int MakeDirectory(const std::string& path) override;

 private:
  static constexpr int kDropped = -1;
  // What happens to the change about to be made: 0 to make it, an error number to fail it, or
  // kDropped to drop it silently.
  int NextChange();

  sys::SystemFileSystem system_;
  FaultKind kind_ = FaultKind::kNone;
  long at_ = 0;
  int error_ = EIO;
  long changes_ = 0;
  long syncs_ = 0;
  std::mutex lockMutex_;
  std::condition_variable lockCalled_;
  long lockCalls_ = 0;
};

}  // namespace vrk::test
