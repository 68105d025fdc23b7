// The file layer: every system call the program makes on files goes through these functions. Each
// returns 0 or the error number (errno) of its failure; each engine above turns the numbers into its
// own codes and texts. Paths are the file system's bytes.
//
// The layer also lets a test decide what the disk does at the Nth change (WriteFault): every call
// that changes what is stored counts as one change, in the order the program makes them.
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
  friend int OpenFile(const std::string&, Access, Creation, FileHandle&);
  friend int CreateUniqueFile(const std::string&, const std::string&, std::string&, FileHandle&);
  friend int CloseFile(FileHandle&);
  int descriptor_ = -1;
  bool writable_ = false;
};

// Opens a regular file; a FIFO given as a file never blocks the open.
[[nodiscard]] int OpenFile(const std::string& path, Access access, Creation creation, FileHandle& file);
// Creates a new file, open for reading and writing, whose name no other file has: `prefix`, six
// characters the system chooses, then `suffix`; `path` is its name.
[[nodiscard]] int CreateUniqueFile(const std::string& prefix, const std::string& suffix, std::string& path,
                                   FileHandle& file);
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
// Takes, changes or gives up an advisory lock on the whole file, waiting up to `wait` for other
// programs to give up theirs: EWOULDBLOCK when another open file still holds a lock that conflicts.
// File systems without locks lock nothing and succeed.
[[nodiscard]] int LockFile(const FileHandle& file, Lock lock, std::chrono::milliseconds wait = {});
// True when the file at `path` may be written by this process (a read-only medium, or a file or
// directory without write permission, gives false).
bool MayWrite(const std::string& path);
[[nodiscard]] int RemoveFile(const std::string& path);
// Puts `from` in the place of `to` in one step.
[[nodiscard]] int RenameFile(const std::string& from, const std::string& to);
// Gives `from` the name `to`, which must not exist (EEXIST otherwise): nothing is ever replaced.
[[nodiscard]] int RenameNew(const std::string& from, const std::string& to);
// Writes `bytes` as the whole file `path`: into `path` + ".new", put on the disk and renamed over
// `path`, so that a failure at any step leaves the old file whole (the new one is removed then).
[[nodiscard]] int WriteWholeFile(const std::string& path, std::string_view bytes);
// Reads the file `path` into `bytes`, at most its first `limit` bytes.
[[nodiscard]] int ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes);
// Puts the directory's entries (files made, renamed or removed in it) on the disk.
[[nodiscard]] int SyncDirectory(const std::string& path);
// Makes a directory; EEXIST when something of that name is there.
[[nodiscard]] int MakeDirectory(const std::string& path);
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

// ---- What the disk does, for tests --------------------------------------------------------------------
enum class FaultKind {
  kNone,
  kFail,  // change number `at` fails with `error`; the others go on
  kStop,  // change number `at` and every later one never reach the disk, as if the program had been
          // killed just before it; the calls still report success (an open that would create a file fails)
};
// Counts the changes from now on and applies the fault to change number `at` (counted from 1).
void SetWriteFault(FaultKind kind, long at = 0, int error = EIO);
// Changes made (or dropped) since the last SetWriteFault.
long ChangesSoFar();

}  // namespace vrk::sys
