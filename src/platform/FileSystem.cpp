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
    : descriptor_(std::exchange(other.descriptor_, -1)), writable_(other.writable_), system_(other.system_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    CloseFile(*this);
    descriptor_ = std::exchange(other.descriptor_, -1);
    writable_ = other.writable_;
    system_ = other.system_;
  }
  return *this;
}

FileHandle::~FileHandle() { CloseFile(*this); }

FileSystem& SystemFiles() {
  static SystemFileSystem system;
  return system;
}

FileSystem& SystemOf(const FileHandle& file) { return file.system_ != nullptr ? *file.system_ : SystemFiles(); }

int OpenFile(FileSystem& system, const std::string& path, Access access, Creation creation, FileHandle& file) {
  CloseFile(file);
  const int error = system.Open(path, access, creation, file);
  if (error == 0) file.system_ = &system;
  return error;
}

int CreateUniqueFile(FileSystem& system, const std::string& prefix, const std::string& suffix, std::string& path,
                     FileHandle& file) {
  CloseFile(file);
  const int error = system.CreateUnique(prefix, suffix, path, file);
  if (error == 0) file.system_ = &system;
  return error;
}

int SystemFileSystem::Open(const std::string& path, Access access, Creation creation, FileHandle& file) {
  int flags = O_CLOEXEC | O_NONBLOCK | (access == Access::kRead ? O_RDONLY : O_RDWR);
  if (creation != Creation::kExisting) flags |= O_CREAT | (creation == Creation::kReplace ? O_TRUNC : 0);
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

int SystemFileSystem::CreateUnique(const std::string& prefix, const std::string& suffix, std::string& path,
                                   FileHandle& file) {
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
  return SystemOf(file).Write(file, offset, data, size);
}

int SystemFileSystem::Write(const FileHandle& file, std::uint64_t offset, const void* data, std::size_t size) {
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

int SyncFile(const FileHandle& file) { return SystemOf(file).Sync(file); }

int SystemFileSystem::Sync(const FileHandle& file) {
  return Retrying([&] { return ::fdatasync(file.descriptor()); });
}

int TruncateFile(const FileHandle& file, std::uint64_t size) { return SystemOf(file).Truncate(file, size); }

int SystemFileSystem::Truncate(const FileHandle& file, std::uint64_t size) {
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

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  return std::filesystem::absolute(path, error).lexically_normal().string();
}

PathStatus StatusOfPath(const std::string& path) {
  PathStatus result;
  struct stat status {};
  result.link = ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
  if (::stat(path.c_str(), &status) != 0) return result;
  result.kind = S_ISREG(status.st_mode)   ? PathKind::kFile
                : S_ISDIR(status.st_mode) ? PathKind::kDirectory
                                          : PathKind::kOther;
  result.size = result.kind == PathKind::kFile ? static_cast<std::uint64_t>(status.st_size) : 0;
  return result;
}

int LockFile(const FileHandle& file, Lock lock, std::chrono::milliseconds wait) {
  return SystemOf(file).Lock(file, lock, wait);
}

int SystemFileSystem::Lock(const FileHandle& file, sys::Lock lock, std::chrono::milliseconds wait) {
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

int RemoveFile(FileSystem& system, const std::string& path) { return system.Remove(path); }

int SystemFileSystem::Remove(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

int RenameFile(FileSystem& system, const std::string& from, const std::string& to) { return system.Rename(from, to); }

int SystemFileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RenameNew(FileSystem& system, const std::string& from, const std::string& to) { return system.RenameNew(from, to); }

int SystemFileSystem::RenameNew(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the no-replace rename: a new link fails where the name is taken.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  return ::unlink(from.c_str()) == 0 ? 0 : errno;
}

int WriteWholeFile(FileSystem& system, const std::string& path, std::string_view bytes) {
  const std::string temporary = path + ".new";
  FileHandle file;
  int error = OpenFile(system, temporary, Access::kReadWrite, Creation::kReplace, file);
  if (error == 0) error = WriteAt(file, 0, bytes.data(), bytes.size());
  if (error == 0) error = SyncFile(file);
  if (const int closed = CloseFile(file); error == 0) error = closed;
  if (error == 0) error = RenameFile(system, temporary, path);
  if (error != 0) (void)RemoveFile(system, temporary);
  return error;
}

int ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes) {
  bytes.clear();
  FileHandle file;
  std::uint64_t size = 0;
  int error = OpenFile(SystemFiles(), path, Access::kRead, Creation::kExisting, file);
  if (error == 0) error = FileSize(file, size);
  if (error != 0) return error;
  bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, limit)));
  std::size_t got = 0;
  error = ReadAt(file, 0, bytes.data(), bytes.size(), got);
  bytes.resize(got);
  return error;
}

int SyncDirectory(FileSystem& system, const std::string& path) { return system.SyncDirectory(path); }

int SystemFileSystem::SyncDirectory(const std::string& path) {
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

int MakeDirectory(FileSystem& system, const std::string& path) { return system.MakeDirectory(path); }

int SystemFileSystem::MakeDirectory(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno; }

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

}  // namespace vrk::sys
