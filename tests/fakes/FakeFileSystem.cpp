#include "fakes/FakeFileSystem.h"

#include <algorithm>

namespace vrk::test {

void FakeFileSystem::SetWriteFault(FaultKind kind, long at, int error) {
  kind_ = kind;
  at_ = at;
  error_ = error;
  changes_ = 0;
}

int FakeFileSystem::NextChange() {
  ++changes_;
  switch (kind_) {
    case FaultKind::kNone: return 0;
    case FaultKind::kFail: return changes_ == at_ ? error_ : 0;
    case FaultKind::kStop: return changes_ >= at_ ? kDropped : 0;
  }
  return 0;
}

int FakeFileSystem::Open(const std::string& path, sys::Access access, sys::Creation creation, sys::FileHandle& file) {
  if (creation == sys::Creation::kExisting) return system_.Open(path, access, creation, file);
  // Only an open that makes a file or empties one changes what is stored.
  const sys::PathStatus status = sys::StatusOfPath(path);
  const bool exists = status.kind != sys::PathKind::kMissing;
  const bool changes = !exists || (creation == sys::Creation::kReplace && status.size > 0);
  const int change = changes ? NextChange() : 0;
  if (change > 0) return change;
  if (change == kDropped && !exists) return EIO;
  return system_.Open(path, access, change == kDropped ? sys::Creation::kExisting : creation, file);
}

int FakeFileSystem::CreateUnique(const std::string& prefix, const std::string& suffix, std::string& path,
                                 sys::FileHandle& file) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? EIO : change;
  return system_.CreateUnique(prefix, suffix, path, file);
}

int FakeFileSystem::Write(const sys::FileHandle& file, std::uint64_t offset, const void* data, std::size_t size) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return system_.Write(file, offset, data, size);
}

int FakeFileSystem::Sync(const sys::FileHandle& file) {
  ++syncs_;
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return syncing ? system_.Sync(file) : 0;
}

int FakeFileSystem::Truncate(const sys::FileHandle& file, std::uint64_t size) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return system_.Truncate(file, size);
}

void FakeFileSystem::AwaitLockCalls(long count) {
  std::unique_lock<std::mutex> hold(lockMutex_);
  lockCalled_.wait(hold, [&] { return lockCalls_ >= count; });
}

int FakeFileSystem::Lock(const sys::FileHandle& file, sys::Lock lock, std::chrono::milliseconds wait) {
  {
    const std::lock_guard<std::mutex> hold(lockMutex_);
    ++lockCalls_;
  }
  lockCalled_.notify_all();
  return system_.Lock(file, lock, lockWait ? std::min(wait, *lockWait) : wait);
}

int FakeFileSystem::Remove(const std::string& path) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return system_.Remove(path);
}

int FakeFileSystem::Rename(const std::string& from, const std::string& to) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return system_.Rename(from, to);
}

int FakeFileSystem::RenameNew(const std::string& from, const std::string& to) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return system_.RenameNew(from, to);
}

int FakeFileSystem::SyncDirectory(const std::string& path) {
  ++syncs_;
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return syncing ? system_.SyncDirectory(path) : 0;
}

int FakeFileSystem::MakeDirectory(const std::string& path) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return system_.MakeDirectory(path);
}

}  // namespace vrk::test
