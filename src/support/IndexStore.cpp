#include "support/IndexStore.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <limits>
#include <vector>

namespace vrk::lib::ndx {
namespace {

// A program changing an index holds it only for a moment; this is how long another one waits for it.
constexpr auto kLockWait = std::chrono::seconds(2);

std::int16_t OpenFailure(int error, bool create) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return create ? kNdxIoError : kNdxMissing;
    case sys::kNotAFile: return kNdxDamaged;
    case EMFILE:
    case ENFILE:
    case ENAMETOOLONG: return kNdxFailed;
    default: return kNdxIoError;
  }
}

}  // namespace

PageFile PageFile::Open(sys::FileSystem& system, const std::string& nativePath, bool create) {
  const sys::Creation creation = create ? sys::Creation::kCreate : sys::Creation::kExisting;
  sys::FileHandle handle;
  int error = sys::OpenFile(system, nativePath, sys::Access::kReadWrite, creation, handle);
  if (!create && (error == EACCES || error == EROFS || error == EPERM)) {
    error = sys::OpenFile(system, nativePath, sys::Access::kRead, creation, handle);
  }
  if (error != 0) throw Fault{OpenFailure(error, create)};
  PageFile file(std::move(handle), nativePath);
  if (sys::IdOf(file.handle_, file.id_) != 0) throw Fault{kNdxIoError};
  return file;
}

void PageFile::Lock(sys::Lock lock) {
  if (sys::LockFile(handle_, lock, kLockWait) != 0) throw Fault{kNdxFailed};
}

std::uint64_t PageFile::Size() {
  std::uint64_t size = 0;
  if (sys::FileSize(handle_, size) != 0) throw Fault{kNdxIoError};
  return size;
}

bool PageFile::Read(std::uint64_t offset, Page& page) {
  std::size_t got = 0;
  if (sys::ReadAt(handle_, offset, page.data(), page.size(), got) != 0) throw Fault{kNdxIoError};
  return got == page.size();
}

void PageFile::Write(std::uint64_t offset, const Page& page) {
  if (!writable() || sys::WriteAt(handle_, offset, page.data(), page.size()) != 0) throw Fault{kNdxIoError};
}

void PageFile::Write(std::uint64_t offset, const std::uint8_t* pages, std::size_t count) {
  if (!writable() || sys::WriteAt(handle_, offset, pages, count * kPageSize) != 0) throw Fault{kNdxIoError};
}

void PageFile::Truncate(std::uint64_t size) {
  if (!writable() || sys::TruncateFile(handle_, size) != 0) throw Fault{kNdxIoError};
}

void PageFile::Sync() {
  if (sys::SyncFile(handle_) != 0) throw Fault{kNdxIoError};
}

// Runs of held keys spill to a file beside the index.
Store::Store(PageFile file, bool create, const IndexTuning& tuning)
    : file_(std::move(file)),
      capacity_(std::max(tuning.cachePages, kMinCachePages)),
      held_(file_.system(), file_.path() + ".runs", tuning.runLength) {
  file_.Lock(sys::Lock::kShared);
  if (create) {
    Format();
    return;
  }
  Page page;
  const std::uint64_t size = file_.Size();
  // A file left marked as being changed may hold half a change: the program rebuilds it.
  if (size < kPageSize || !file_.Read(0, page) || !DecodeHeader(page, size, header_) || header_.unclean) {
    throw Fault{kNdxDamaged};
  }
}

void Store::Break(std::int16_t result) {
  if (broken_ != kNdxOk) return;
  broken_ = result;
  held_.Clear();
  // Best effort: mark the file so that the next open reports it damaged rather than trusting it.
  try {
    if (writable()) BeginChanges();
  } catch (const Fault&) {
  }
}

Page& Store::Fetch(std::uint32_t number, bool write) {
  if (number == 0 || number >= header_.pageCount) throw Fault{kNdxDamaged};
  if (write) Changing();
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
  Changing();
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
  if (!header_.unclean && !appending_) return;
  std::vector<Frame*> dirty;
  for (Frame& frame : frames_) {
    if (frame.dirty) dirty.push_back(&frame);
  }
  std::sort(dirty.begin(), dirty.end(), [](const Frame* a, const Frame* b) { return a->number < b->number; });
  for (Frame* frame : dirty) WriteFrame(*frame);
  // The pages must be on disk before a header that calls the file whole.
  file_.Sync();
  header_.unclean = appending_ = false;
  WriteHeader();
  file_.Lock(sys::Lock::kShared);
}

void Store::BeginChanges() {
  if (header_.unclean) return;
  file_.Lock(sys::Lock::kExclusive);
  appending_ = false;
  header_.unclean = true;
  header_.covers.reset();  // until the change records what it follows
  WriteHeader();
  // The mark must be on disk before any changed page is.
  file_.Sync();
}

void Store::BeginAppend() {
  if (header_.unclean || appending_) return;
  // Without a count the file could not tell a half-made append: it is marked instead.
  if (!header_.covers) return BeginChanges();
  file_.Lock(sys::Lock::kExclusive);
  appending_ = true;
}

void Store::Changing() {
  if (!appending_) BeginChanges();
}

void Store::Format() {
  file_.Lock(sys::Lock::kExclusive);
  file_.Truncate(0);
  DropCache();
  held_.Clear();
  header_ = Header{};
  appending_ = false;
  header_.unclean = true;  // an index being built is not whole until it is flushed
  Page page;
  Node(page).Reset(0);
  Seal(page, header_.root);
  file_.Write(std::uint64_t{header_.root} * kPageSize, page);
  WriteHeader();
  file_.Sync();
  broken_ = kNdxOk;
  Changed();
}

void Store::StartBuild() {
  BeginChanges();
  DropCache();
}

void Store::WriteBuilt(std::uint32_t first, const std::uint8_t* pages, std::size_t count) {
  file_.Write(std::uint64_t{first} * kPageSize, pages, count);
}

void Store::EndBuild(std::uint32_t pages, std::uint32_t root, std::uint32_t height, std::uint64_t items) {
  if (header_.pageCount > pages + 1) file_.Truncate((std::uint64_t{pages} + 1) * kPageSize);
  header_.pageCount = pages + 1;
  header_.root = root;
  header_.height = height;
  header_.freeHead = 0;
  header_.itemCount = items;
  Changed();
}

void Store::DropCache() {
  frames_.clear();
  frameOf_.clear();
  hand_ = 0;
  recent_ = {};
}

std::uint32_t Store::Take() {
  if (frames_.size() < (sweeping_ ? std::min(capacity_, kSweepPages) : capacity_)) {
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
      if (frame.dirty) {
        // No page of an append is written before its entries are on the disk: the file is marked now.
        if (appending_) BeginChanges();
        WriteFrame(frame);
      }
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

}  // namespace vrk::lib::ndx
