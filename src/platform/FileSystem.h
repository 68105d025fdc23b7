// The file layer: every system call the program makes on files goes through these functions. Each
// returns 0 or the error number (errno) of its failure; each engine above turns the numbers into its
// own codes and texts. Paths are the file system's bytes.
//
// Every call that changes what is stored, waits for a lock or syncs goes to a FileSystem object: the
// one the caller names for a path, the one that opened it for a file. The program works on
// SystemFiles(); a test gives it another FileSystem (one that fails the Nth change, say) instead.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrk::sys {

// Which file a handle or path refers to, whatever the path that reached it.
struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  friend bool operator==(const FileId&, const FileId&) = default;
};

enum class Access { kRead, kReadWrite };
enum class Creation {
  kExisting,  // the file must exist
  kCreate,    // created empty when missing
  kReplace,   // created when missing, emptied when not
};
enum class Lock { kNone, kShared, kExclusive };

// Returned by OpenFile for anything that is not a regular file: a directory, a FIFO, a device.
inline constexpr int kNotAFile = EISDIR;

class FileSystem;

// An open file. Move-only; the descriptor is closed when the handle goes.
class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  bool isOpen() const { return descriptor_ >= 0; }
  bool writable() const { return writable_; }
  int descriptor() const { return descriptor_; }

 private:
  friend class SystemFileSystem;
  friend int OpenFile(FileSystem&, const std::string&, Access, Creation, FileHandle&);
  friend int CreateUniqueFile(FileSystem&, const std::string&, const std::string&, std::string&, FileHandle&);
  friend int CloseFile(FileHandle&);
  friend FileSystem& SystemOf(const FileHandle&);
  int descriptor_ = -1;
  bool writable_ = false;
  FileSystem* system_ = nullptr;  // the one that opened the file
};

// The calls that change what is stored, wait for a lock or sync. Each returns 0 or an errno; the free
// functions below are how the program calls them.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int Open(const std::string& path, Access access, Creation creation, FileHandle& file) = 0;
  virtual int CreateUnique(const std::string& prefix, const std::string& suffix, std::string& path,
                           FileHandle& file) = 0;
  virtual int Write(const FileHandle& file, std::uint64_t offset, const void* data, std::size_t size) = 0;
  virtual int Sync(const FileHandle& file) = 0;
  virtual int Truncate(const FileHandle& file, std::uint64_t size) = 0;
  virtual int Lock(const FileHandle& file, Lock lock, std::chrono::milliseconds wait) = 0;
  virtual int Remove(const std::string& path) = 0;
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  virtual int RenameNew(const std::string& from, const std::string& to) = 0;
  virtual int SyncDirectory(const std::string& path) = 0;
  virtual int MakeDirectory(const std::string& path) = 0;
};

// The machine's own file system. It keeps no state, so every part of the program may share it.
class SystemFileSystem : public FileSystem {
 public:
  int Open(const std::string& path, Access access, Creation creation, FileHandle& file) override;
  int CreateUnique(const std::string& prefix, const std::string& suffix, std::string& path, FileHandle& file) override;
  int Write(const FileHandle& file, std::uint64_t offset, const void* data, std::size_t size) override;
  int Sync(const FileHandle& file) override;
  int Truncate(const FileHandle& file, std::uint64_t size) override;
  int Lock(const FileHandle& file, sys::Lock lock, std::chrono::milliseconds wait) override;
  int Remove(const std::string& path) override;
  int Rename(const std::string& from, const std::string& to) override;
  int RenameNew(const std::string& from, const std::string& to) override;
  int SyncDirectory(const std::string& path) override;
  int MakeDirectory(const std::string& path) override;
};
FileSystem& SystemFiles();
// The file system that opened `file` (SystemFiles() for a handle that is not open).
FileSystem& SystemOf(const FileHandle& file);

// Opens a regular file; a FIFO given as a file never blocks the open.
[[nodiscard]] int OpenFile(FileSystem& system, const std::string& path, Access access, Creation creation,
                           FileHandle& file);
// Creates a new file, open for reading and writing, whose name no other file has: `prefix`, six
// characters the system chooses, then `suffix`; `path` is its name.
[[nodiscard]] int CreateUniqueFile(FileSystem& system, const std::string& prefix, const std::string& suffix,
                                   std::string& path, FileHandle& file);
// Closes the file now; the error of the close, when there was one.
int CloseFile(FileHandle& file);

// Reads `size` bytes at `offset`, or fewer where the file ends; `got` tells how many.
[[nodiscard]] int ReadAt(const FileHandle& file, std::uint64_t offset, void* data, std::size_t size, std::size_t& got);
// Writes all `size` bytes at `offset`.
[[nodiscard]] int WriteAt(const FileHandle& file, std::uint64_t offset, const void* data, std::size_t size);
// Puts the file's data on the disk.
[[nodiscard]] int SyncFile(const FileHandle& file);
[[nodiscard]] int TruncateFile(const FileHandle& file, std::uint64_t size);
[[nodiscard]] int FileSize(const FileHandle& file, std::uint64_t& size);
// How many of the file's bytes lie in holes, never written (a sparse file); 0 where the file system
// cannot tell.
[[nodiscard]] int HoleBytes(const FileHandle& file, std::uint64_t& holes);
// When the file's data last changed, in seconds since 1970.
[[nodiscard]] int ModificationTime(const FileHandle& file, std::int64_t& seconds);
[[nodiscard]] int IdOf(const FileHandle& file, FileId& id);
// The identity of the file a path names; ENOENT when there is none.
[[nodiscard]] int IdOfPath(const std::string& path, FileId& id);
// The path with every symbolic link and "." or ".." resolved, as far as the path exists (a file not made
// yet keeps its name under its resolved directory); empty when it cannot be resolved.
std::string ResolvedPath(const std::string& path);
// The path made absolute, "." and ".." taken out by its letters alone; empty when it cannot be.
std::string AbsolutePath(const std::string& path);
enum class PathKind { kMissing, kFile, kDirectory, kOther };
// What a path names, links followed; `link` tells whether the path itself is a symbolic link (one
// that leads nowhere too).
struct PathStatus {
  PathKind kind = PathKind::kMissing;
  bool link = false;
  std::uint64_t size = 0;  // of a file
};
PathStatus StatusOfPath(const std::string& path);
// Takes, changes or gives up an advisory lock on the whole file, waiting up to `wait` for other
// programs to give up theirs: EWOULDBLOCK when another open file still holds a lock that conflicts.
// File systems without locks lock nothing and succeed.
[[nodiscard]] int LockFile(const FileHandle& file, Lock lock, std::chrono::milliseconds wait = {});
// True when the file at `path` may be written by this process (a read-only medium, or a file or
// directory without write permission, gives false).
bool MayWrite(const std::string& path);
[[nodiscard]] int RemoveFile(FileSystem& system, const std::string& path);
// Puts `from` in the place of `to` in one step.
[[nodiscard]] int RenameFile(FileSystem& system, const std::string& from, const std::string& to);
// Gives `from` the name `to`, which must not exist (EEXIST otherwise): nothing is ever replaced.
[[nodiscard]] int RenameNew(FileSystem& system, const std::string& from, const std::string& to);
// Writes `bytes` as the whole file `path`: into `path` + ".new", put on the disk and renamed over
// `path`, so that a failure at any step leaves the old file whole (the new one is removed then).
[[nodiscard]] int WriteWholeFile(FileSystem& system, const std::string& path, std::string_view bytes);
// Reads the file `path` into `bytes`, at most its first `limit` bytes.
[[nodiscard]] int ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes);
// Puts the directory's entries (files made, renamed or removed in it) on the disk.
[[nodiscard]] int SyncDirectory(FileSystem& system, const std::string& path);
// Makes a directory; EEXIST when something of that name is there.
[[nodiscard]] int MakeDirectory(FileSystem& system, const std::string& path);
// The names in a directory (without "." and ".."), in no particular order.
[[nodiscard]] int ListDirectory(const std::string& path, std::vector<std::string>& names);

// ---- What belongs to the user --------------------------------------------------------------------------
// The user this process runs as.
uid_t UserId();
// Makes `path` a directory only this user may enter (mode 0700) when it is missing; a directory that is
// there must be one already: not a link, owned by this user, no access for anybody else (EACCES if not).
[[nodiscard]] int PrivateDirectory(const std::string& path);
// The user at the other end of a connected local socket.
[[nodiscard]] int PeerUserId(int socket, uid_t& user);

}  // namespace vrk::sys
