#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/CodePage.h"
#include "support/IndexFormat.h"
#include "support/IndexStore.h"
#include "support/Support.h"

namespace vrk::lib {
namespace {

namespace fs = std::filesystem;

// Every test works in a directory of its own and leaves no index open behind it.
class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    dir_ = fs::temp_directory_path() / ("vrk-index-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    InitIndexes();
    ndx::SetCachePages(ndx::kDefaultCachePages);
    fs::remove_all(dir_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::int16_t Open(const std::string& name, std::int16_t mode = kNdxOpen) {
    std::int16_t handle = -1;
    EXPECT_EQ(OpenNDX(handle, PathOf(name), mode), kNdxOk) << name;
    return handle;
  }
  std::int16_t Create(const std::string& name) { return Open(name, kNdxCreate); }

  fs::path dir_;
};

// The entries of a walk from the first key on, and the result that ended it.
struct Walked {
  std::vector<std::int32_t> entries;
  std::int16_t end = kNdxOk;
};

Walked WalkForward(std::int16_t handle, std::size_t limit = 1'000'000) {
  Walked walked;
  std::int32_t entry = 0;
  for (walked.end = GetFirst(handle, entry); walked.end == kNdxOk && walked.entries.size() < limit;
       walked.end = GetNext(handle, entry)) {
    walked.entries.push_back(entry);
  }
  return walked;
}

std::vector<std::int32_t> Entries(std::int16_t handle) {
  const Walked walked = WalkForward(handle);
  EXPECT_EQ(walked.end, kNdxEnd);
  return walked.entries;
}

std::vector<std::int32_t> Range(std::int32_t first, std::int32_t last) {
  std::vector<std::int32_t> range;
  for (std::int32_t e = first; e <= last; ++e) range.push_back(e);
  return range;
}

ndx::Page ReadPage(const std::string& path, std::uint32_t number) {
  ndx::Page page{};
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(number) * ndx::kPageSize);
  in.read(reinterpret_cast<char*>(page.data()), page.size());
  return page;
}

// Writes a page back, sealed so that only its structure can give it away.
void WriteSealed(const std::string& path, std::uint32_t number, ndx::Page page) {
  ndx::Seal(page, number);
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(static_cast<std::streamoff>(number) * ndx::kPageSize);
  out.write(reinterpret_cast<const char*>(page.data()), page.size());
}

ndx::Header ReadHeader(const std::string& path) {
  ndx::Header header;
  EXPECT_TRUE(ndx::DecodeHeader(ReadPage(path, 0), fs::file_size(path), header));
  return header;
}

void WriteHeader(const std::string& path, const ndx::Header& header) {
  ndx::Page page{};
  ndx::EncodeHeader(header, page);
  WriteSealed(path, 0, page);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- Order and matching of keys ------------------------------------------------------------------

TEST_F(IndexTest, KeysOrderIgnoringLetterCaseAndTrailingBlanks) {
  const std::int16_t h = Create("ORDER.WDX");
  ASSERT_EQ(AddKey(h, "lo", 1, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "m", 2, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "LO", 3, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "la  ", 4, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "Lo", 5, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "lo b", 6, 0), kNdxOk);       // a blank inside the key counts
  ASSERT_EQ(AddKey(h, "\xE9t\xE9", 7, 0), kNdxOk);  // "été" files as "ÉTÉ", after the plain letters
  ASSERT_EQ(AddKey(h, "\xC9T\xC9", 8, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "Z", 9, 0), kNdxOk);
  EXPECT_EQ(Entries(h), (std::vector<std::int32_t>{4, 1, 3, 5, 6, 2, 9, 7, 8}));
}

TEST_F(IndexTest, EqualKeysComeBackBySequenceThenEntry) {
  const std::int16_t h = Create("SEQ.WDX");
  ASSERT_EQ(AddKey(h, "same", 30, 3), kNdxOk);
  ASSERT_EQ(AddKey(h, "SAME", 10, 1), kNdxOk);
  ASSERT_EQ(AddKey(h, "Same  ", 22, 2), kNdxOk);
  ASSERT_EQ(AddKey(h, "same", 21, 2), kNdxOk);
  ASSERT_EQ(AddKey(h, "same", 5, 0), kNdxOk);
  EXPECT_EQ(Entries(h), (std::vector<std::int32_t>{5, 10, 21, 22, 30}));
}

TEST_F(IndexTest, DeleteKeyMatchesWhateverCaseBlanksAndSequence) {
  const std::int16_t h = Create("DEL.WDX");
  ASSERT_EQ(AddKey(h, "ABC   ", 7, 7), kNdxOk);  // a bulk build files the blank padding
  ASSERT_EQ(AddKey(h, "abc", 8, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "abc", 9, 4), kNdxOk);
  ASSERT_EQ(AddKey(h, "abd", 9, 0), kNdxOk);
  EXPECT_EQ(DeleteKey(h, "ABC", 7), kNdxOk);
  EXPECT_EQ(DeleteKey(h, "Abc  ", 9), kNdxOk);  // neither sequence 0 nor the entry number
  EXPECT_NE(DeleteKey(h, "abc", 9), kNdxOk);
  EXPECT_NE(DeleteKey(h, "abc", 99), kNdxOk);
  EXPECT_NE(DeleteKey(h, "ab", 8), kNdxOk);
  EXPECT_EQ(Entries(h), (std::vector<std::int32_t>{8, 9}));
}

TEST_F(IndexTest, KeysOfEveryLength) {
  const std::int16_t h = Create("LEN.WDX");
  const std::string key24 = "ABCDEFGHIJKLMNOPQRSTUVWX";
  ASSERT_EQ(AddKey(h, "", 1, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "   ", 2, 0), kNdxOk);  // only blanks: the empty key
  ASSERT_EQ(AddKey(h, key24, 3, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, key24 + "ZZZZZZ", 4, 0), kNdxOk);  // the first 24 characters count
  ASSERT_EQ(AddKey(h, key24.substr(0, 23), 5, 0), kNdxOk);
  EXPECT_EQ(Entries(h), (std::vector<std::int32_t>{1, 2, 5, 3, 4}));
  std::int32_t entry = 0;
  EXPECT_EQ(GetKey(h, key24 + "AAAA", entry), kNdxOk);
  EXPECT_EQ(entry, 3);
  EXPECT_EQ(DeleteKey(h, key24, 4), kNdxOk);
  EXPECT_EQ(DeleteKey(h, "", 2), kNdxOk);
  EXPECT_EQ(Entries(h), (std::vector<std::int32_t>{1, 5, 3}));
}

// ---- Positioning ---------------------------------------------------------------------------------

TEST_F(IndexTest, GetKeyFindsTheFirstKeyNotBelow) {
  const std::int16_t h = Create("SEEK.WDX");
  ASSERT_EQ(AddKey(h, "B", 2, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "b", 3, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "D", 4, 0), kNdxOk);
  ASSERT_EQ(AddKey(h, "A", 1, 0), kNdxOk);
  std::int32_t entry = 0;
  EXPECT_EQ(GetKey(h, "b   ", entry), kNdxOk);
  EXPECT_EQ(entry, 2);
  EXPECT_EQ(GetNext(h, entry), kNdxOk);
  EXPECT_EQ(entry, 3);
  EXPECT_EQ(GetKey(h, "BA", entry), kNdxOk);
  EXPECT_EQ(entry, 4);
  EXPECT_EQ(GetPrev(h, entry), kNdxOk);
  EXPECT_EQ(entry, 3);
  EXPECT_EQ(GetKey(h, "", entry), kNdxOk);
  EXPECT_EQ(entry, 1);
  entry = 0;
  EXPECT_EQ(GetKey(h, "E", entry), kNdxEnd);
  EXPECT_EQ(entry, 0);
  EXPECT_EQ(GetNext(h, entry), kNdxOk);  // a failed GetKey left the position at "A"
  EXPECT_EQ(entry, 2);
}

TEST_F(IndexTest, TheEndsKeepThePosition) {
  const std::int16_t h = Create("ENDS.WDX");
  for (std::int32_t e = 1; e <= 3; ++e)
    ASSERT_EQ(AddKey(h, std::string(1, static_cast<char>('A' + e)), e, 0), 0);
  std::int32_t entry = 0;
  EXPECT_EQ(GetPrev(h, entry), kNdxOk);  // unpositioned: from the end
  EXPECT_EQ(entry, 3);
  EXPECT_EQ(GetNext(h, entry), kNdxEnd);
  EXPECT_EQ(GetNext(h, entry), kNdxEnd);
  EXPECT_EQ(GetPrev(h, entry), kNdxOk);
  EXPECT_EQ(entry, 2);
  EXPECT_EQ(GetPrev(h, entry), kNdxOk);
  EXPECT_EQ(GetPrev(h, entry), kNdxEnd);
  EXPECT_EQ(GetNext(h, entry), kNdxOk);
  EXPECT_EQ(entry, 2);

  const std::int16_t other = Open("ENDS.WDX");  // a handle of its own starts unpositioned
  EXPECT_EQ(GetNext(other, entry), kNdxOk);
  EXPECT_EQ(entry, 1);
}

TEST_F(IndexTest, WalksGoOnFromTheLastItemAfterChanges) {
  const std::int16_t h = Create("CHANGE.WDX");
  for (std::int32_t e = 1; e <= 9; ++e) ASSERT_EQ(AddKey(h, "K" + std::to_string(e), e, 0), kNdxOk);
  std::int32_t entry = 0;
  ASSERT_EQ(GetKey(h, "K5", entry), kNdxOk);
  ASSERT_EQ(DeleteKey(h, "K5", 5), kNdxOk);
  ASSERT_EQ(DeleteKey(h, "K6", 6), kNdxOk);
  EXPECT_EQ(GetNext(h, entry), kNdxOk);
  EXPECT_EQ(entry, 7);
  ASSERT_EQ(DeleteKey(h, "K7", 7), kNdxOk);
  ASSERT_EQ(AddKey(h, "K55", 55, 0), kNdxOk);
  EXPECT_EQ(GetPrev(h, entry), kNdxOk);
  EXPECT_EQ(entry, 55);
  for (std::int32_t e = 1; e <= 9; ++e) DeleteKey(h, "K" + std::to_string(e), e);
  DeleteKey(h, "K55", 55);
  EXPECT_EQ(GetNext(h, entry), kNdxEnd);
  EXPECT_EQ(GetPrev(h, entry), kNdxEnd);
  EXPECT_NE(GetFirst(h, entry), kNdxOk);
}

TEST_F(IndexTest, AnEmptyIndexAnswersEveryCall) {
  const std::int16_t h = Create("EMPTY.WDX");
  std::int32_t entry = 0;
  EXPECT_NE(GetFirst(h, entry), kNdxOk);
  EXPECT_EQ(GetNext(h, entry), kNdxEnd);
  EXPECT_EQ(GetPrev(h, entry), kNdxEnd);
  EXPECT_EQ(GetKey(h, "A", entry), kNdxEnd);
  EXPECT_NE(DeleteKey(h, "A", 1), kNdxOk);
  EXPECT_EQ(CloseNDX(h), kNdxOk);
  const std::int16_t again = Open("EMPTY.WDX");
  EXPECT_NE(GetFirst(again, entry), kNdxOk);
}

// ---- Files and handles ---------------------------------------------------------------------------

TEST_F(IndexTest, OpeningAndCreating) {
  std::int16_t h = 7;
  EXPECT_EQ(OpenNDX(h, PathOf("NONE.WDX"), kNdxOpen), kNdxMissing);
  EXPECT_EQ(h, -1);
  EXPECT_EQ(OpenNDX(h, PathOf("ODD.WDX"), 1), kNdxFailed);
  EXPECT_EQ(OpenNDX(h, PathOf("NODIR/NEW.WDX"), kNdxCreate), kNdxIoError);
  EXPECT_EQ(OpenNDX(h, dir_.string(), kNdxOpen), kNdxDamaged);  // a directory is no index

  h = Create("MUSICX00.WDX");
  ASSERT_EQ(AddKey(h, "kept", 1, 0), kNdxOk);
  ASSERT_EQ(CloseNDX(h), kNdxOk);
  h = Open("musicx00.wdx");  // found whatever its letter case
  EXPECT_EQ(Entries(h), std::vector<std::int32_t>{1});
  ASSERT_EQ(CloseNDX(h), kNdxOk);
  h = Create("MUSICX00.WDX");  // replaces the file
  EXPECT_EQ(Entries(h), std::vector<std::int32_t>{});
  ASSERT_EQ(CloseNDX(h), kNdxOk);
  EXPECT_EQ(fs::file_size(PathOf("MUSICX00.WDX")), 2 * ndx::kPageSize);
}

TEST_F(IndexTest, UnknownHandlesAreRefused) {
  const std::int16_t h = Create("H.WDX");
  ASSERT_EQ(CloseNDX(h), kNdxOk);
  std::int32_t entry = 0;
  for (const std::int16_t bad :
       {h, std::int16_t{-1}, std::int16_t{0}, std::int16_t{65}, std::int16_t{32767}}) {
    EXPECT_EQ(CloseNDX(bad), kNdxFailed);
    EXPECT_EQ(AddKey(bad, "A", 1, 0), kNdxFailed);
    EXPECT_EQ(DeleteKey(bad, "A", 1), kNdxFailed);
    EXPECT_EQ(GetFirst(bad, entry), kNdxFailed);
    EXPECT_EQ(GetNext(bad, entry), kNdxFailed);
    EXPECT_EQ(GetPrev(bad, entry), kNdxFailed);
    EXPECT_EQ(GetKey(bad, "A", entry), kNdxFailed);
  }
}

TEST_F(IndexTest, SixtyFourHandlesAtOnce) {
  std::vector<std::int16_t> open;
  for (int i = 0; i < 64; ++i) {
    open.push_back(Create("F" + std::to_string(i) + ".WDX"));
    ASSERT_GE(open.back(), 1);
  }
  std::int16_t extra = 0;
  EXPECT_EQ(OpenNDX(extra, PathOf("EXTRA.WDX"), kNdxCreate), kNdxFailed);
  EXPECT_EQ(extra, -1);
  EXPECT_EQ(CloseNDX(open[10]), kNdxOk);
  EXPECT_EQ(OpenNDX(extra, PathOf("EXTRA.WDX"), kNdxCreate), kNdxOk);
  EXPECT_EQ(extra, open[10]);
}

// The browsing handle stays open while upkeep opens the same file, changes it and closes it again.
TEST_F(IndexTest, HandlesOnOneFileShareItsKeys) {
  const std::int16_t browse = Create("SHARED.WDX");
  for (std::int32_t e = 1; e <= 5; ++e) ASSERT_EQ(AddKey(browse, "K" + std::to_string(e), e, 0), kNdxOk);
  std::int32_t entry = 0;
  ASSERT_EQ(GetKey(browse, "K2", entry), kNdxOk);

  const std::int16_t upkeep = Open("SHARED.WDX");
  ASSERT_NE(upkeep, browse);
  ASSERT_EQ(DeleteKey(upkeep, "K3", 3), kNdxOk);
  ASSERT_EQ(AddKey(upkeep, "K25", 25, 0), kNdxOk);
  ASSERT_EQ(CloseNDX(upkeep), kNdxOk);
  EXPECT_EQ(GetNext(browse, entry), kNdxOk);
  EXPECT_EQ(entry, 25);
  EXPECT_EQ(GetNext(browse, entry), kNdxOk);
  EXPECT_EQ(entry, 4);

  // Closing the upkeep handle put everything on disk, though the file is still open.
  fs::copy_file(PathOf("SHARED.WDX"), PathOf("COPY.WDX"));
  const std::int16_t copy = Open("COPY.WDX");
  EXPECT_EQ(Entries(copy), (std::vector<std::int32_t>{1, 2, 25, 4, 5}));

  // Creating the file anew empties it for the handle still open.
  const std::int16_t rebuild = Create("SHARED.WDX");
  EXPECT_EQ(GetNext(browse, entry), kNdxEnd);
  ASSERT_EQ(AddKey(rebuild, "NEW", 9, 1), kNdxOk);
  EXPECT_EQ(Entries(browse), std::vector<std::int32_t>{9});
}

TEST_F(IndexTest, AscendingBuildsFillTheirPagesAndWriteOnlyAtClose) {
  const std::int32_t count = 50'000;
  const std::int16_t h = Create("BULK.WDX");
  char key[16];
  for (std::int32_t e = 1; e <= count; ++e) {
    std::snprintf(key, sizeof key, "KEY%08d", e);
    ASSERT_EQ(AddKey(h, key, e, e), kNdxOk);
  }
  EXPECT_EQ(fs::file_size(PathOf("BULK.WDX")), 2 * ndx::kPageSize);  // all still in the cache
  ASSERT_EQ(CloseNDX(h), kNdxOk);
  const std::size_t leaves = (count + ndx::kLeafCapacity - 1) / ndx::kLeafCapacity;
  const std::size_t inner = (leaves + ndx::kInnerCapacity - 1) / ndx::kInnerCapacity + 1;
  EXPECT_EQ(fs::file_size(PathOf("BULK.WDX")), (1 + leaves + inner) * ndx::kPageSize);
  const std::int16_t again = Open("BULK.WDX");
  EXPECT_EQ(Entries(again), Range(1, count));
  EXPECT_EQ(ReadHeader(PathOf("BULK.WDX")).itemCount, static_cast<std::uint64_t>(count));
}

// ---- Damaged and foreign files -------------------------------------------------------------------

class DamagedIndexTest : public IndexTest {
 protected:
  // An index of `count` ascending keys, closed; returns its path.
  std::string Build(std::int32_t count) {
    const std::int16_t h = Create("GOOD.WDX");
    for (std::int32_t e = 1; e <= count; ++e) EXPECT_EQ(AddKey(h, Key(e), e, e), kNdxOk);
    EXPECT_EQ(CloseNDX(h), kNdxOk);
    return PathOf("GOOD.WDX");
  }
  static std::string Key(std::int32_t e) { return "KEY" + std::to_string(100000 + e); }
  static std::int16_t OpenResult(const std::string& path) {
    std::int16_t h = -1;
    const std::int16_t result = OpenNDX(h, path, kNdxOpen);
    if (result == kNdxOk) CloseNDX(h);
    return result;
  }
};

TEST_F(DamagedIndexTest, ForeignFilesAreRefused) {
  const std::string path = PathOf("X.WDX");
  std::mt19937 random(7);
  std::string garbage(3 * ndx::kPageSize, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  for (const std::string& bytes :
       {std::string(), std::string("Not an index\r\n"), garbage, std::string(ndx::kPageSize * 2, '\0')}) {
    WriteBytes(path, bytes);
    EXPECT_EQ(OpenResult(path), kNdxDamaged) << bytes.size() << " bytes";
  }
}

TEST_F(DamagedIndexTest, HeadersThatDisagreeWithTheFileAreRefused) {
  const std::string path = Build(500);
  const std::string good = ReadBytes(path);
  WriteBytes(path, good.substr(0, good.size() - ndx::kPageSize));
  EXPECT_EQ(OpenResult(path), kNdxDamaged) << "a page short";
  WriteBytes(path, good.substr(0, good.size() - 100));
  EXPECT_EQ(OpenResult(path), kNdxDamaged) << "cut inside a page";
  WriteBytes(path, good + std::string(ndx::kPageSize, '\0'));
  EXPECT_EQ(OpenResult(path), kNdxDamaged) << "a page too long";

  WriteBytes(path, good);
  const ndx::Header header = ReadHeader(path);
  const auto withHeader = [&](auto change) {
    WriteBytes(path, good);
    ndx::Header changed = header;
    change(changed);
    WriteHeader(path, changed);
    return OpenResult(path);
  };
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.pageCount += 1; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.pageCount = 0xFFFFFFFF; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.root = h.pageCount; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.root = 0; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.height += 1; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.height = 200; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.unclean = true; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header&) {}), kNdxOk);
  WriteBytes(path, good);
  std::string flipped = good;
  flipped[56] ^= 1;  // the item count: only the checksum shows the change
  WriteBytes(path, flipped);
  EXPECT_EQ(OpenResult(path), kNdxDamaged);
}

// Inner and leaf pages changed in ways their checksum cannot show: each is found when it is read, the
// index then answers every call with kNdxDamaged, and the next open refuses the file.
TEST_F(DamagedIndexTest, DamagedTreePagesAreFoundWhenRead) {
  const std::int32_t count = 20'000;  // three levels
  const std::string path = Build(count);
  const std::string good = ReadBytes(path);
  const ndx::Header header = ReadHeader(path);
  ASSERT_EQ(header.height, 3u);
  ndx::Page rootPage = ReadPage(path, header.root);
  const std::uint32_t innerNumber = ndx::NodeView(rootPage).child(0);
  const ndx::Page inner = ReadPage(path, innerNumber);
  const std::uint32_t leafNumber = ndx::NodeView(inner).child(1);
  const ndx::Page leaf = ReadPage(path, leafNumber);

  struct Damage {
    const char* what;
    std::uint32_t number;
    std::function<void(ndx::Page&)> change;
  };
  const auto setChild = [](ndx::Page& page, std::size_t slot, std::uint32_t child) {
    ndx::Node node(page);
    ndx::EncodeSlot(node.slot(slot), node.item(slot), child);
  };
  const std::vector<Damage> damages = {
      {"child beyond the file", innerNumber, [&](ndx::Page& p) { setChild(p, 1, header.pageCount + 3); }},
      {"child pointing to itself", innerNumber, [&](ndx::Page& p) { setChild(p, 1, innerNumber); }},
      {"child pointing to the root", innerNumber, [&](ndx::Page& p) { setChild(p, 1, header.root); }},
      {"child pointing to its left neighbour", innerNumber,
       [&](ndx::Page& p) { setChild(p, 1, ndx::NodeView(p).child(0)); }},
      {"child pointing to the header", innerNumber, [&](ndx::Page& p) { setChild(p, 1, 0); }},
      {"children swapped", innerNumber,
       [&](ndx::Page& p) {
         const ndx::NodeView node(p);
         const std::uint32_t first = node.child(0), second = node.child(1);
         setChild(p, 0, second);
         setChild(p, 1, first);
       }},
      {"count beyond capacity", innerNumber, [](ndx::Page& p) { p[ndx::kCountAt] = 200; }},
      {"inner page without children", innerNumber, [](ndx::Page& p) { p[ndx::kCountAt] = 0; }},
      {"inner page turned leaf", innerNumber, [](ndx::Page& p) { p[ndx::kKindAt] = 'L'; }},
      {"inner page turned free", innerNumber, [](ndx::Page& p) { p[ndx::kKindAt] = 'F'; }},
      {"wrong level", innerNumber, [](ndx::Page& p) { p[ndx::kLevelAt] = 2; }},
      {"leaf items out of order", leafNumber,
       [](ndx::Page& p) {
         ndx::Node node(p);
         const ndx::Item first = node.item(0);
         ndx::EncodeSlot(node.slot(0), node.item(1), 0);
         ndx::EncodeSlot(node.slot(1), first, 0);
       }},
      {"leaf key in lower case", leafNumber, [](ndx::Page& p) { p[ndx::kPageHeadSize] = 'k'; }},
      {"leaf key too long", leafNumber, [](ndx::Page& p) { p[ndx::kPageHeadSize + kMaxKeyLength] = 25; }},
      {"empty leaf", leafNumber, [](ndx::Page& p) { p[ndx::kCountAt] = 0; }},
      {"leaf of another place", leafNumber, [&](ndx::Page& p) { p = ReadPage(path, leafNumber + 7); }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    WriteBytes(path, good);
    ndx::Page page = damage.number == innerNumber ? inner : leaf;
    damage.change(page);
    WriteSealed(path, damage.number, page);
    const std::int16_t h = Open("GOOD.WDX");
    const Walked walked = WalkForward(h, count + 1);
    EXPECT_EQ(walked.end, kNdxDamaged);
    std::int32_t entry = 0;
    EXPECT_EQ(GetKey(h, Key(1), entry), kNdxDamaged);
    EXPECT_EQ(AddKey(h, "A", 1, 0), kNdxDamaged);
    EXPECT_EQ(CloseNDX(h), kNdxDamaged);
    EXPECT_EQ(OpenResult(path), kNdxDamaged);
  }
  WriteBytes(path, good);
  std::string flipped = good;
  // The entry number of a leaf's second item: only the checksum shows the change.
  flipped[leafNumber * ndx::kPageSize + ndx::kPageHeadSize + ndx::kLeafSlotSize + kMaxKeyLength + 5] ^= 0x10;
  WriteBytes(path, flipped);
  const std::int16_t h = Open("GOOD.WDX");
  EXPECT_EQ(WalkForward(h, count + 1).end, kNdxDamaged);
}

// Random bytes changed anywhere, pages sealed again: every call still gives an answer, never a crash
// or a walk without end.
TEST_F(DamagedIndexTest, ScrambledPagesNeverCrash) {
  const std::int32_t count = 3'000;
  const std::string path = Build(count);
  const std::string good = ReadBytes(path);
  const std::uint32_t pages = static_cast<std::uint32_t>(good.size() / ndx::kPageSize);
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    WriteBytes(path, good);
    const std::uint32_t number = random() % pages;
    ndx::Page page = ReadPage(path, number);
    for (int flips = 1 + random() % 4; flips > 0; --flips)
      page[random() % ndx::kPageSize] ^= 1 << (random() % 8);
    WriteSealed(path, number, page);
    std::int16_t h = -1;
    const std::int16_t opened = OpenNDX(h, path, kNdxOpen);
    ASSERT_TRUE(opened == kNdxOk || opened == kNdxDamaged) << opened;
    if (opened != kNdxOk) continue;
    const Walked walked = WalkForward(h, count + 1);
    EXPECT_TRUE(walked.end == kNdxEnd || walked.end == kNdxDamaged) << walked.end;
    EXPECT_LE(walked.entries.size(), static_cast<std::size_t>(count));
    std::int32_t entry = 0;
    for (int i = 0; i < 20; ++i) {
      const std::int16_t result = random() % 2 ? GetKey(h, Key(random() % count), entry) : GetPrev(h, entry);
      EXPECT_TRUE(result == kNdxOk || result == kNdxEnd || result == kNdxDamaged) << result;
      const std::int16_t changed =
          random() % 2 ? AddKey(h, Key(random() % count), 1, 0) : DeleteKey(h, Key(random() % count), 5);
      EXPECT_TRUE(changed == kNdxOk || changed == kNdxEnd || changed == kNdxDamaged) << changed;
    }
    const std::int16_t closed = CloseNDX(h);
    EXPECT_TRUE(closed == kNdxOk || closed == kNdxDamaged) << closed;
  }
}

// A disk that refuses to grow the file: the failure is reported, and the half-written file is not
// trusted afterwards.
TEST_F(DamagedIndexTest, AFullDiskIsReportedAndTheFileRefusedLater) {
  const std::string path = Build(1'000);
  ndx::SetCachePages(ndx::kMinCachePages);  // write pages back early
  const std::int16_t h = Open("GOOD.WDX");

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = fs::file_size(path);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::int16_t failure = kNdxOk;
  for (std::int32_t e = 0; e < 20'000 && failure == kNdxOk; ++e)
    failure = AddKey(h, "NEW" + std::to_string(e), e, 0);
  if (failure == kNdxOk) failure = CloseNDX(h);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(failure, kNdxIoError);
  std::int32_t entry = 0;
  EXPECT_EQ(GetFirst(h, entry), kNdxIoError);
  CloseNDX(h);
  EXPECT_EQ(OpenResult(path), kNdxDamaged);
}

// ---- The index against a model -----------------------------------------------------------------

// The index as the callers see it: items of (stored key, sequence, entry) in order, and for each
// handle the item it returned last.
class Model {
 public:
  using Item = std::tuple<std::string, std::int32_t, std::int32_t>;
  using Items = std::multiset<Item>;
  struct Cursor {
    bool positioned = false;
    Item last;
    Items::iterator at;
    std::uint64_t generation = 0;
  };

  static std::string Stored(std::string_view key) {
    std::string stored = UpperAnsi(key.substr(0, kMaxKeyLength));
    while (!stored.empty() && stored.back() == ' ') stored.pop_back();
    return stored;
  }

  void Add(std::string_view key, std::int32_t entry, std::int32_t sequence) {
    items_.insert({Stored(key), sequence, entry});
    ++generation_;
  }
  // The item of sequence 0, else of sequence == entry, else the first of the key with that entry.
  bool Delete(std::string_view key, std::int32_t entry) {
    const std::string stored = Stored(key);
    auto found = items_.find({stored, 0, entry});
    if (found == items_.end()) found = items_.find({stored, entry, entry});
    for (auto it = items_.lower_bound({stored, INT_MIN, INT_MIN});
         found == items_.end() && it != items_.end() && std::get<0>(*it) == stored; ++it) {
      if (std::get<2>(*it) == entry) found = it;
    }
    if (found == items_.end()) return false;
    items_.erase(found);
    ++generation_;
    return true;
  }

  std::optional<std::int32_t> First(Cursor& cursor) { return Place(cursor, items_.begin()); }
  std::optional<std::int32_t> Key(Cursor& cursor, std::string_view key) {
    return Place(cursor, items_.lower_bound({Stored(key), INT_MIN, INT_MIN}));
  }
  std::optional<std::int32_t> Next(Cursor& cursor) {
    if (!cursor.positioned) return Place(cursor, items_.begin());
    if (cursor.generation == generation_) return Place(cursor, std::next(cursor.at));
    return Place(cursor, items_.upper_bound(cursor.last));
  }
  std::optional<std::int32_t> Prev(Cursor& cursor) {
    auto it = items_.end();
    if (cursor.positioned)
      it = cursor.generation == generation_ ? cursor.at : items_.lower_bound(cursor.last);
    if (it == items_.begin()) return std::nullopt;
    return Place(cursor, std::prev(it));
  }
  std::size_t size() const { return items_.size(); }

 private:
  std::optional<std::int32_t> Place(Cursor& cursor, Items::iterator it) {
    if (it == items_.end()) return std::nullopt;
    cursor = {true, *it, it, generation_};
    return std::get<2>(*it);
  }

  Items items_;
  std::uint64_t generation_ = 0;
};

::testing::AssertionResult Same(std::int16_t result, std::int32_t entry,
                                std::optional<std::int32_t> expected) {
  if (result == (expected ? kNdxOk : kNdxEnd) && (!expected || entry == *expected)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "result " << result << " entry " << entry << ", expected "
                                       << (expected ? std::to_string(*expected) : "the end");
}

class IndexModelTest : public IndexTest, public ::testing::WithParamInterface<std::size_t> {};

// Random keys from a few letters in both cases, blanks and an accented letter, so that equal keys,
// trailing blanks and case variants are frequent; now and then one longer than 24 characters.
std::string RandomKey(std::mt19937& random) {
  static const std::string letters = "aAbB \xE9\xC9";
  std::string key = random() % 100 == 0 ? "LONG KEY LONG KEY LONG K" : "";
  for (std::size_t length = random() % 5; length > 0; --length) key += letters[random() % letters.size()];
  return key;
}

// The same key as a caller may give it again: other letter case, blanks added at the end.
std::string Variant(std::string key, std::mt19937& random) {
  for (char& c : key) {
    if (c != ' ' && random() % 2 == 0) c = static_cast<char>(c ^ 0x20);  // a/A, b/B, é/É
  }
  return key + std::string(random() % 3, ' ');
}

// Phases of 20,000 operations alternately grow the index and empty it again, so that pages split,
// empty pages leave the tree and free pages are used again. The rest of the operations walk and seek.
TEST_P(IndexModelTest, HundredThousandRandomOperations) {
  ndx::SetCachePages(GetParam());
  std::mt19937 random(2024);
  Model model;
  std::array<std::int16_t, 2> handles = {Create("MODEL.WDX"), Open("MODEL.WDX")};
  std::array<Model::Cursor, 2> cursors;
  std::vector<std::pair<std::string, std::int32_t>> added;
  std::size_t largest = 0;

  for (int op = 0; op < 100'000; ++op) {
    const bool growing = (op / 20'000) % 2 == 0;
    const unsigned adds = growing ? 450 : 100, deletes = growing ? 100 : 550;
    const int which = static_cast<int>(random() % 2);
    const std::int16_t h = handles[which];
    Model::Cursor& cursor = cursors[which];
    std::int32_t entry = 0;
    const unsigned dice = random() % 1000;
    if (dice < adds) {
      const std::string key = RandomKey(random);
      const std::int32_t e = 1 + static_cast<std::int32_t>(random() % 200);
      const unsigned kind = random() % 4;
      const std::int32_t sequence = kind < 2 ? 0 : kind == 2 ? e : static_cast<std::int32_t>(random() % 20);
      ASSERT_EQ(AddKey(h, key, e, sequence), kNdxOk) << "operation " << op;
      model.Add(key, e, sequence);
      added.emplace_back(key, e);
    } else if (dice < adds + deletes) {
      std::string key = RandomKey(random);
      std::int32_t e = 1 + static_cast<std::int32_t>(random() % 200);
      if (!added.empty() && random() % 10 != 0) {
        std::swap(added[random() % added.size()], added.back());
        key = Variant(added.back().first, random);
        e = added.back().second;
        added.pop_back();
      }
      ASSERT_EQ(DeleteKey(h, key, e) == kNdxOk, model.Delete(key, e)) << "operation " << op;
    } else if (dice < adds + deletes + 100) {
      const std::string key = RandomKey(random);
      const std::int16_t result = GetKey(h, key, entry);
      ASSERT_TRUE(Same(result, entry, model.Key(cursor, key))) << "operation " << op;
    } else if (dice < adds + deletes + 220) {
      const std::int16_t result = GetNext(h, entry);
      ASSERT_TRUE(Same(result, entry, model.Next(cursor))) << "operation " << op;
    } else if (dice < adds + deletes + 330) {
      const std::int16_t result = GetPrev(h, entry);
      ASSERT_TRUE(Same(result, entry, model.Prev(cursor))) << "operation " << op;
    } else if (dice < 998) {
      const std::int16_t result = GetFirst(h, entry);
      ASSERT_TRUE(Same(result, entry, model.First(cursor))) << "operation " << op;
    } else {
      // Close one handle, or both and walk the whole index as read back from the file.
      const bool both = random() % 2 == 0;
      for (int i = 0; i < 2; ++i) {
        if (!both && i != which) continue;
        ASSERT_EQ(CloseNDX(handles[i]), kNdxOk) << "operation " << op;
        handles[i] = Open("MODEL.WDX");
        cursors[i] = {};
      }
      std::optional<std::int32_t> expected = model.First(cursors[0]);
      std::int16_t result = GetFirst(handles[0], entry);
      ASSERT_TRUE(Same(result, entry, expected)) << "operation " << op;
      while (both && expected) {
        expected = model.Next(cursors[0]);
        result = GetNext(handles[0], entry);
        ASSERT_TRUE(Same(result, entry, expected)) << "operation " << op;
      }
    }
    largest = std::max(largest, model.size());
  }
  EXPECT_GT(largest, 5'000u);
}

INSTANTIATE_TEST_SUITE_P(CacheSizes, IndexModelTest,
                         ::testing::Values(ndx::kDefaultCachePages, ndx::kMinCachePages));

}  // namespace
}  // namespace vrk::lib
