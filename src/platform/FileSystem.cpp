#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>
#include <utility>

namespace vrk::sys {
namespace {

// The fault a test has set: what happens to which change.
struct Fault {
  FaultKind kind = FaultKind::kNone;
  long at = 0;
  int error = EIO;
  long changes = 0;
};
Fault fault;

// What happens to the change about to be made: 0 to make it, an error number to fail it, or -1 to
// drop it silently.
int NextChange() {
  ++fault.changes;
  switch (fault.kind) {
    case FaultKind::kNone: return 0;
    case FaultKind::kFail: return fault.changes == fault.at ? fault.error : 0;
    case FaultKind::kStop: return fault.changes >= fault.at ? -1 : 0;
  }
  return 0;
}
constexpr int kDropped = -1;

template <typename Call>
int Retrying(Call call) {
  int result;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result < 0 ? errno : 0;
}

}  // namespace

FileHandle::FileHandle(FileHandle&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), writable_(other.writable_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    CloseFile(*this);
    descriptor_ = std::exchange(other.descriptor_, -1);
    writable_ = other.writable_;
  }
  return *this;
}

FileHandle::~FileHandle() { CloseFile(*this); }

int OpenFile(const std::string& path, Access access, Creation creation, FileHandle& file) {
  CloseFile(file);
  int flags = O_CLOEXEC | O_NONBLOCK | (access == Access::kRead ? O_RDONLY : O_RDWR);
  if (creation != Creation::kExisting) {
    struct stat status {};
    const bool exists = ::stat(path.c_str(), &status) == 0;
    const bool changes = !exists || (creation == Creation::kReplace && status.st_size > 0);
    const int change = changes ? NextChange() : 0;
    if (change > 0) return change;
    if (change == kDropped && !exists) return EIO;
    if (change != kDropped) flags |= O_CREAT | (creation == Creation::kReplace ? O_TRUNC : 0);
  }
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), flags, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return errno;
  struct stat status {};
  const int error = ::fstat(descriptor, &status) != 0 ? errno : S_ISREG(status.st_mode) ? 0 : kNotAFile;
  if (error != 0) {
    ::close(descriptor);
    return error;
  }
  // Reads and writes wait for the disk as usual; the flag only kept a FIFO from blocking the open.
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  file.descriptor_ = descriptor;
  file.writable_ = access == Access::kReadWrite;
  return 0;
}

int CreateUniqueFile(const std::string& prefix, const std::string& suffix, std::string& path, FileHandle& file) {
  CloseFile(file);
  if (const int change = NextChange(); change != 0) return change == kDropped ? EIO : change;
  std::string name = prefix + "XXXXXX" + suffix;
  const int descriptor = ::mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
  if (descriptor < 0) return errno;
  file.descriptor_ = descriptor;
  file.writable_ = true;
  path = name;
  return 0;
}

int CloseFile(FileHandle& file) {
  if (file.descriptor_ < 0) return 0;
  const int result = ::close(std::exchange(file.descriptor_, -1));
  return result != 0 && errno != EINTR ? errno : 0;
}

int ReadAt(const FileHandle& file, std::uint64_t offset, void* data, std::size_t size, std::size_t& got) {
  got = 0;
  auto* bytes = static_cast<char*>(data);
  while (got < size) {
    ssize_t n;
    do {
      n = ::pread(file.descriptor(), bytes + got, size - got, static_cast<off_t>(offset + got));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return errno;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return 0;
}

int WriteAt(const FileHandle& file, std::uint64_t offset, const void* data, std::size_t size) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    ssize_t n;
    do {
      n = ::pwrite(file.descriptor(), bytes + done, size - done, static_cast<off_t>(offset + done));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

int SyncFile(const FileHandle& file) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return Retrying([&] { return ::fdatasync(file.descriptor()); });
}

int TruncateFile(const FileHandle& file, std::uint64_t size) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return Retrying([&] { return ::ftruncate(file.descriptor(), static_cast<off_t>(size)); });
}

int FileSize(const FileHandle& file, std::uint64_t& size) {
  struct stat status {};
  if (::fstat(file.descriptor(), &status) != 0) return errno;
  size = static_cast<std::uint64_t>(status.st_size);
  return 0;
}

int HoleBytes(const FileHandle& file, std::uint64_t& holes) {
  holes = 0;
  struct stat status {};
  if (::fstat(file.descriptor(), &status) != 0) return errno;
  for (off_t at = 0; at < status.st_size;) {
    const off_t data = ::lseek(file.descriptor(), at, SEEK_DATA);
    if (data < 0 && errno == ENXIO) {  // a hole up to the end
      holes += static_cast<std::uint64_t>(status.st_size - at);
      break;
    }
    if (data < 0) return errno == EINVAL ? 0 : errno;  // a file system that cannot tell has no holes
    holes += static_cast<std::uint64_t>(data - at);
    if ((at = ::lseek(file.descriptor(), data, SEEK_HOLE)) < 0) return errno;
  }
  return 0;
}

int ModificationTime(const FileHandle& file, std::int64_t& seconds) {
  struct stat status {};
  if (::fstat(file.descriptor(), &status) != 0) return errno;
  seconds = static_cast<std::int64_t>(status.st_mtime);
  return 0;
}

int IdOf(const FileHandle& file, FileId& id) {
  struct stat status {};
  if (::fstat(file.descriptor(), &status) != 0) return errno;
  id = {status.st_dev, status.st_ino};
  return 0;
}

int IdOfPath(const std::string& path, FileId& id) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return errno;
  id = {status.st_dev, status.st_ino};
  return 0;
}

std::string ResolvedPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path resolved = fs::absolute(path, error);
  // A link to a file not made yet names the file that a write through it would make.
  for (int links = 0; !error && links < 40; ++links) {
    std::error_code missing;  // a file not there is no link
    if (!fs::is_symlink(fs::symlink_status(resolved, missing))) break;
    const fs::path to = fs::read_symlink(resolved, error);
    resolved = to.is_absolute() ? to : resolved.parent_path() / to;
  }
  if (!error) resolved = fs::weakly_canonical(resolved, error);
  return error ? std::string() : resolved.string();
}

int LockFile(const FileHandle& file, Lock lock, std::chrono::milliseconds wait) {
  constexpr auto kPause = std::chrono::milliseconds(20);
  const int operation = lock == Lock::kNone ? LOCK_UN : lock == Lock::kShared ? LOCK_SH : LOCK_EX;
  for (auto waited = std::chrono::milliseconds(0);; waited += kPause) {
    const int error = Retrying([&] { return ::flock(file.descriptor(), operation | LOCK_NB); });
    if (error == ENOLCK || error == EOPNOTSUPP) return 0;
    if (error != EWOULDBLOCK || waited >= wait) return error;
    std::this_thread::sleep_for(kPause);
  }
}

bool MayWrite(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

int RemoveFile(const std::string& path) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int RenameFile(const std::string& from, const std::string& to) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RenameNew(const std::string& from, const std::string& to) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the no-replace rename: a new link fails where the name is taken.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  return ::unlink(from.c_str()) == 0 ? 0 : errno;
}

int WriteWholeFile(const std::string& path, std::string_view bytes) {
  const std::string temporary = path + ".new";
  FileHandle file;
  int error = OpenFile(temporary, Access::kReadWrite, Creation::kReplace, file);
  if (error == 0) error = WriteAt(file, 0, bytes.data(), bytes.size());
  if (error == 0) error = SyncFile(file);
  if (const int closed = CloseFile(file); error == 0) error = closed;
  if (error == 0) error = RenameFile(temporary, path);
  if (error != 0) (void)RemoveFile(temporary);
  return error;
}

int ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes) {
  bytes.clear();
  FileHandle file;
  std::uint64_t size = 0;
  int error = OpenFile(path, Access::kRead, Creation::kExisting, file);
  if (error == 0) error = FileSize(file, size);
  if (error != 0) return error;
  bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, limit)));
  std::size_t got = 0;
  error = ReadAt(file, 0, bytes.data(), bytes.size(), got);
  bytes.resize(got);
  return error;
}

int SyncDirectory(const std::string& path) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return errno;
  int error = Retrying([&] { return ::fsync(descriptor); });
  if (error == EINVAL || error == EROFS) error = 0;  // a file system that keeps no directory data to sync
  ::close(descriptor);
  return error;
}

int MakeDirectory(const std::string& path) {
  if (const int change = NextChange(); change != 0) return change == kDropped ? 0 : change;
  return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
}

int ListDirectory(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  DIR* directory = ::opendir(path.c_str());
  if (directory == nullptr) return errno;
  errno = 0;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  const int error = errno;
  ::closedir(directory);
  return error;
}

uid_t UserId() { return ::getuid(); }

int PrivateDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return errno;
  if (!S_ISDIR(status.st_mode)) return ENOTDIR;
  return status.st_uid == ::getuid() && (status.st_mode & 077) == 0 ? 0 : EACCES;
}

int PeerUserId(int socket, uid_t& user) {
  struct ucred peer {};
  socklen_t size = sizeof peer;
  if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return errno;
  user = peer.uid;
  return 0;
}

void SetWriteFault(FaultKind kind, long at, int error) { fault = {kind, at, error, 0}; }

long ChangesSoFar() { return fault.changes; }

}  // namespace vrk::sys
