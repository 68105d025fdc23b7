#include "support/IndexStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <vector>

namespace vrk::lib::ndx {
namespace {

std::size_t cachePages = kDefaultCachePages;

std::int16_t OpenFailure(int error, bool create) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return create ? kNdxIoError : kNdxMissing;
    case EISDIR: return kNdxDamaged;
    case EMFILE:
    case ENFILE:
    case ENAMETOOLONG: return kNdxFailed;
    default: return kNdxIoError;
  }
}

}  // namespace

void SetCachePages(std::size_t pages) { cachePages = std::max(pages, kMinCachePages); }

File File::Open(const std::string& nativePath, bool create) {
  // O_NONBLOCK keeps a FIFO given as an index from blocking the open; regular files ignore it.
  const int flags = O_CLOEXEC | O_NONBLOCK;
  int fd = ::open(nativePath.c_str(), flags | O_RDWR | (create ? O_CREAT : 0), 0666);
  bool writable = true;
  if (fd < 0 && !create && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd = ::open(nativePath.c_str(), flags | O_RDONLY);
    writable = false;
  }
  if (fd < 0) throw Fault{OpenFailure(errno, create)};
  File file(fd, writable);
  struct stat status {};
  if (::fstat(fd, &status) != 0) throw Fault{kNdxIoError};
  if (!S_ISREG(status.st_mode)) throw Fault{kNdxDamaged};
  file.id_ = {status.st_dev, status.st_ino};
  return file;
}

File::File(File&& other) noexcept : fd_(other.fd_), writable_(other.writable_), id_(other.id_) { other.fd_ = -1; }

File::~File() {
  if (fd_ >= 0) ::close(fd_);
}

bool File::Lock() {
  // Only another holder refuses; a file system without locks still lets the index open.
  return ::flock(fd_, (writable_ ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

std::uint64_t File::Size() {
  struct stat status {};
  if (::fstat(fd_, &status) != 0) throw Fault{kNdxIoError};
  return static_cast<std::uint64_t>(status.st_size);
}

bool File::Read(std::uint64_t offset, Page& page) {
  std::size_t done = 0;
  while (done < page.size()) {
    const ssize_t n = ::pread(fd_, page.data() + done, page.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Fault{kNdxIoError};
    if (n == 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void File::Write(std::uint64_t offset, const Page& page) {
  if (!writable_) throw Fault{kNdxIoError};
  std::size_t done = 0;
  while (done < page.size()) {
    const ssize_t n = ::pwrite(fd_, page.data() + done, page.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw Fault{kNdxIoError};
    done += static_cast<std::size_t>(n);
  }
}

void File::Truncate() {
  if (!writable_ || ::ftruncate(fd_, 0) != 0) throw Fault{kNdxIoError};
}

void File::Sync() {
  if (::fdatasync(fd_) != 0) throw Fault{kNdxIoError};
}

Store::Store(File file, bool create) : file_(std::move(file)), capacity_(cachePages) {
  if (!file_.Lock()) throw Fault{kNdxFailed};
  if (create) {
    Format();
    return;
  }
  Page page;
  const std::uint64_t size = file_.Size();
  // A file left "not closed cleanly" may hold half-written changes: the program rebuilds it.
  if (size < kPageSize || !file_.Read(0, page) || !DecodeHeader(page, size, header_) || header_.unclean) {
    throw Fault{kNdxDamaged};
  }
}

void Store::Break(std::int16_t result) {
  if (broken_ != kNdxOk) return;
  broken_ = result;
  // Best effort: mark the file so that the next open reports it damaged rather than trusting it.
  try {
    if (writable() && !header_.unclean) MarkUnclean();
  } catch (const Fault&) {
  }
}

Page& Store::Fetch(std::uint32_t number, bool write) {
  if (number == 0 || number >= header_.pageCount) throw Fault{kNdxDamaged};
  if (write && !header_.unclean) MarkUnclean();
  if (number < frameOf_.size() && frameOf_[number] != 0) {
    const std::uint32_t index = frameOf_[number] - 1;
    Frame& frame = frames_[index];
    frame.dirty |= write;
    frame.used = true;
    Remember(index);
    return frame.bytes;
  }
  const std::uint32_t index = Take();
  Page& bytes = frames_[index].bytes;
  if (!file_.Read(std::uint64_t{number} * kPageSize, bytes) || !ValidPage(bytes, number, header_.pageCount)) {
    throw Fault{kNdxDamaged};
  }
  return Register(index, number, write);
}

std::uint32_t Store::Allocate() {
  if (header_.freeHead != 0) {
    const std::uint32_t number = header_.freeHead;
    Page& page = Fetch(number, true);
    if (NodeView(page).kind() != Kind::kFree) throw Fault{kNdxDamaged};
    header_.freeHead = FreeNext(page);
    page.fill(0);
    return number;
  }
  if (header_.pageCount == std::numeric_limits<std::uint32_t>::max()) throw Fault{kNdxFailed};
  if (!header_.unclean) MarkUnclean();
  const std::uint32_t index = Take();
  frames_[index].bytes.fill(0);
  const std::uint32_t number = header_.pageCount++;
  Register(index, number, true);
  return number;
}

void Store::Release(std::uint32_t number) {
  MakeFree(Fetch(number, true), header_.freeHead);
  header_.freeHead = number;
}

void Store::Flush() {
  if (!header_.unclean) return;
  std::vector<Frame*> dirty;
  for (Frame& frame : frames_) {
    if (frame.dirty) dirty.push_back(&frame);
  }
  std::sort(dirty.begin(), dirty.end(), [](const Frame* a, const Frame* b) { return a->number < b->number; });
  for (Frame* frame : dirty) WriteFrame(*frame);
  // The pages must be on disk before a header that calls the file clean.
  file_.Sync();
  header_.unclean = false;
  WriteHeader();
}

void Store::Format() {
  file_.Truncate();
  frames_.clear();
  frameOf_.clear();
  hand_ = 0;
  recent_ = {};
  header_ = Header{};
  Page page;
  Node(page).Reset(0);
  Seal(page, header_.root);
  file_.Write(std::uint64_t{header_.root} * kPageSize, page);
  WriteHeader();
  broken_ = kNdxOk;
  Changed();
}

std::uint32_t Store::Take() {
  if (frames_.size() < capacity_) {
    frames_.emplace_back();
    return static_cast<std::uint32_t>(frames_.size() - 1);
  }
  for (;; hand_ = (hand_ + 1) % frames_.size()) {
    const auto index = static_cast<std::uint32_t>(hand_);
    Frame& frame = frames_[index];
    if (index + 1 == recent_[0] || index + 1 == recent_[1]) continue;
    if (frame.used) {
      frame.used = false;
      continue;
    }
    if (frame.number != 0) {
      if (frame.dirty) WriteFrame(frame);
      frameOf_[frame.number] = 0;
      frame.number = 0;
    }
    return index;
  }
}

Page& Store::Register(std::uint32_t index, std::uint32_t number, bool dirty) {
  Frame& frame = frames_[index];
  frame.number = number;
  frame.dirty = dirty;
  frame.used = true;
  if (number >= frameOf_.size()) frameOf_.resize(std::max<std::size_t>(number + 1, frameOf_.size() * 2), 0);
  frameOf_[number] = index + 1;
  Remember(index);
  return frame.bytes;
}

void Store::Remember(std::uint32_t index) {
  if (recent_[0] == index + 1) return;
  recent_[1] = recent_[0];
  recent_[0] = index + 1;
}

void Store::WriteFrame(Frame& frame) {
  Seal(frame.bytes, frame.number);
  file_.Write(std::uint64_t{frame.number} * kPageSize, frame.bytes);
  frame.dirty = false;
}

void Store::WriteHeader() {
  Page page;
  EncodeHeader(header_, page);
  Seal(page, 0);
  file_.Write(0, page);
}

void Store::MarkUnclean() {
  header_.unclean = true;
  WriteHeader();
  // The mark must be on disk before any changed page is.
  file_.Sync();
}

}  // namespace vrk::lib::ndx
