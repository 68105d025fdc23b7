#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <csignal>
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

#include "fakes/FakeFileSystem.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "support/IndexFile.h"
#include "support/IndexFormat.h"
#include "support/IndexStore.h"

namespace vrk::lib {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::int32_t>;

// A result and the entry number that came with it; the entry stays 0 when the call fails.
using Answer = std::pair<std::int16_t, std::int32_t>;
const Answer kEnd{kNdxEnd, 0};
Answer Ok(std::int32_t entry) { return {kNdxOk, entry}; }
Answer Answered(const std::function<std::int16_t(std::int32_t&)>& call) {
  std::int32_t entry = 0;
  const std::int16_t result = call(entry);
  return {result, entry};
}
struct Filed {
  std::string key;
  std::int32_t entry;
  std::int32_t sequence = 0;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
ndx::Page ReadPage(const std::string& path, std::uint32_t number) {
  ndx::Page page{};
  const std::string bytes = ReadBytes(path).substr(number * ndx::kPageSize, ndx::kPageSize);
  std::copy(bytes.begin(), bytes.end(), page.begin());
  return page;
}
// Writes a page back sealed, so that only its structure can give a change away.
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

// Every test works in a directory of its own and leaves no index open behind it.
class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    dir_ = fs::temp_directory_path() / ("vrk-index-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    InitIndexes(indexes);
    fs::remove_all(dir_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  // The files in the test's directory, so that a test can tell that no spilled run was left behind.
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& file : fs::directory_iterator(dir_)) names.insert(file.path().filename().string());
    return names;
  }
  std::int16_t Open(const std::string& name, std::int16_t mode = kNdxOpen) {
    std::int16_t handle = -1;
    EXPECT_EQ(OpenNDX(indexes, handle, PathOf(name), mode), kNdxOk) << name;
    return handle;
  }
  std::int16_t Create(const std::string& name) { return Open(name, kNdxCreate); }
  // The result of opening the file; closes it again.
  std::int16_t OpenResult(const std::string& path) {
    std::int16_t h = -1;
    const std::int16_t result = OpenNDX(indexes, h, path, kNdxOpen);
    if (result == kNdxOk) {
      EXPECT_EQ(CloseNDX(indexes, h), kNdxOk);
    }
    return result;
  }

  // Calls on a handle, and walks, as answers.
  Answer First(std::int16_t h) {
    return Answered([&](std::int32_t& e) { return GetFirst(indexes, h, e); });
  }
  Answer Next(std::int16_t h) {
    return Answered([&](std::int32_t& e) { return GetNext(indexes, h, e); });
  }
  Answer Prev(std::int16_t h) {
    return Answered([&](std::int32_t& e) { return GetPrev(indexes, h, e); });
  }
  Answer Key(std::int16_t h, std::string_view key) {
    return Answered([&](std::int32_t& e) { return GetKey(indexes, h, key, e); });
  }

  void Add(std::int16_t h, std::initializer_list<Filed> items) {
    for (const Filed& f : items) EXPECT_EQ(AddKey(indexes, h, f.key, f.entry, f.sequence), kNdxOk) << f.key;
  }

  // The entries of a walk from the first key on (at most `limit`), and the result that ended it.
  std::pair<Entries, std::int16_t> Walk(std::int16_t h, std::size_t limit = SIZE_MAX) {
    std::pair<Entries, std::int16_t> walked;
    std::int32_t entry = 0;
    for (walked.second = GetFirst(indexes, h, entry); walked.second == kNdxOk && walked.first.size() < limit;
         walked.second = GetNext(indexes, h, entry)) {
      walked.first.push_back(entry);
    }
    return walked;
  }
  Entries All(std::int16_t h) {
    const auto [entries, end] = Walk(h);
    EXPECT_EQ(end, kNdxEnd);
    return entries;
  }

  fs::path dir_;
  test::FakeFileSystem files;
  Indexes indexes{files};
};

// ---- Keys ------------------------------------------------------------------------------------------

TEST_F(IndexTest, KeysOrderByUpperCasedTrimmedKeyThenSequenceThenEntry) {
  const std::int16_t h = Create("ORDER.WDX");
  Add(h, {{"lo", 1}, {"m", 2}, {"LO", 3}, {"la  ", 4}, {"Lo", 5}, {"lo b", 6}, {"\xE9t\xE9", 7}, {"\xC9T\xC9", 8}});
  Add(h, {{"same", 30, 3}, {"SAME", 10, 1}, {"Same  ", 22, 2}, {"same", 21, 2}, {"same", 9, 0}});
  // "été" files as "ÉTÉ", after the plain letters; a blank inside a key counts.
  EXPECT_EQ(All(h), (Entries{4, 1, 3, 5, 6, 2, 9, 10, 21, 22, 30, 7, 8}));
}

TEST_F(IndexTest, KeysOfEveryLength) {
  const std::int16_t h = Create("LEN.WDX");
  const std::string key24 = "ABCDEFGHIJKLMNOPQRSTUVWX";
  Add(h, {{"", 1}, {"   ", 2}, {key24, 3}, {key24 + "ZZZZZZ", 4}, {key24.substr(0, 23), 5}});
  EXPECT_EQ(All(h), (Entries{1, 2, 5, 3, 4}));
  EXPECT_EQ(Key(h, key24 + "AAAA"), Ok(3));  // only the first 24 characters count
  EXPECT_EQ(DeleteKey(indexes, h, key24, 4), kNdxOk);
  EXPECT_EQ(DeleteKey(indexes, h, "", 2), kNdxOk);
  EXPECT_EQ(All(h), (Entries{1, 5, 3}));
}

TEST_F(IndexTest, DeleteKeyMatchesWhateverCaseBlanksAndSequence) {
  const std::int16_t h = Create("DEL.WDX");
  Add(h, {{"ABC   ", 7, 7}, {"abc", 8}, {"abc", 9, 4}, {"abd", 9}});  // a bulk build keeps blank padding
  EXPECT_EQ(DeleteKey(indexes, h, "ABC", 7), kNdxOk);
  EXPECT_EQ(DeleteKey(indexes, h, "Abc  ", 9), kNdxOk);  // neither sequence 0 nor the entry number
  EXPECT_NE(DeleteKey(indexes, h, "abc", 9), kNdxOk);
  EXPECT_NE(DeleteKey(indexes, h, "abc", 99), kNdxOk);
  EXPECT_NE(DeleteKey(indexes, h, "ab", 8), kNdxOk);
  EXPECT_EQ(All(h), (Entries{8, 9}));
}

// ---- Positions -------------------------------------------------------------------------------------

TEST_F(IndexTest, GetKeyAndTheEndsKeepAPositionToWalkOnFrom) {
  const std::int16_t h = Create("POS.WDX");
  Add(h, {{"B", 2}, {"b", 3}, {"D", 4}, {"A", 1}, {"C", 5}});
  EXPECT_EQ(Prev(h), Ok(4));  // unpositioned: from the last key
  EXPECT_EQ(Next(h), kEnd);
  EXPECT_EQ(Next(h), kEnd);
  EXPECT_EQ(Prev(h), Ok(5));
  EXPECT_EQ(Key(h, "b   "), Ok(2));
  EXPECT_EQ(Next(h), Ok(3));
  EXPECT_EQ(Key(h, "BA"), Ok(5));
  EXPECT_EQ(Key(h, "E"), kEnd);
  EXPECT_EQ(Next(h), Ok(4));  // still at "C"
  EXPECT_EQ(Key(h, ""), Ok(1));
  EXPECT_EQ(Prev(h), kEnd);
  EXPECT_EQ(Next(h), Ok(2));
  // After changes the walk goes on from the item returned last, though it is gone.
  EXPECT_EQ(DeleteKey(indexes, h, "b", 2), kNdxOk);
  EXPECT_EQ(DeleteKey(indexes, h, "b", 3), kNdxOk);
  EXPECT_EQ(Next(h), Ok(5));
  EXPECT_EQ(Next(Open("POS.WDX")), Ok(1));  // every handle has a position of its own
}

TEST_F(IndexTest, AnEmptyIndexAnswersEveryCall) {
  const std::int16_t h = Create("EMPTY.WDX");
  EXPECT_NE(First(h).first, kNdxOk);
  EXPECT_EQ(Next(h), kEnd);
  EXPECT_EQ(Prev(h), kEnd);
  EXPECT_EQ(Key(h, "A"), kEnd);
  EXPECT_NE(DeleteKey(indexes, h, "A", 1), kNdxOk);
}

// ---- Files and handles -----------------------------------------------------------------------------

TEST_F(IndexTest, OpeningAndCreating) {
  std::int16_t h = 7;
  EXPECT_EQ(OpenNDX(indexes, h, PathOf("NONE.WDX"), kNdxOpen), kNdxMissing);
  EXPECT_EQ(h, -1);
  EXPECT_EQ(OpenNDX(indexes, h, PathOf("ODD.WDX"), 1), kNdxFailed);
  EXPECT_EQ(OpenNDX(indexes, h, PathOf("NODIR/NEW.WDX"), kNdxCreate), kNdxIoError);
  EXPECT_EQ(OpenNDX(indexes, h, dir_.string(), kNdxOpen), kNdxDamaged);  // a directory is no index

  h = Create("MUSICX00.WDX");
  Add(h, {{"kept", 1}});
  ASSERT_EQ(CloseNDX(indexes, h), kNdxOk);
  h = Open("musicx00.wdx");  // found whatever its letter case
  EXPECT_EQ(All(h), Entries{1});
  ASSERT_EQ(CloseNDX(indexes, h), kNdxOk);
  h = Create("MUSICX00.WDX");  // replaces the file
  EXPECT_EQ(All(h), Entries{});
}

TEST_F(IndexTest, HandlesAreSixtyFourSmallNumbers) {
  std::vector<std::int16_t> open;
  for (int i = 0; i < 64; ++i) open.push_back(Create("F" + std::to_string(i) + ".WDX"));
  EXPECT_EQ(open.front(), 1);
  EXPECT_EQ(open.back(), 64);
  std::int16_t extra = 0;
  EXPECT_EQ(OpenNDX(indexes, extra, PathOf("EXTRA.WDX"), kNdxCreate), kNdxFailed);
  EXPECT_EQ(extra, -1);
  EXPECT_EQ(CloseNDX(indexes, open[10]), kNdxOk);
  for (const std::int16_t bad : {open[10], std::int16_t{-1}, std::int16_t{0}, std::int16_t{65}}) {
    EXPECT_EQ(AddKey(indexes, bad, "A", 1, 0), kNdxFailed);
    EXPECT_EQ(Next(bad), Answer(kNdxFailed, 0));
    EXPECT_EQ(CloseNDX(indexes, bad), kNdxFailed);
  }
  EXPECT_EQ(OpenNDX(indexes, extra, PathOf("EXTRA.WDX"), kNdxCreate), kNdxOk);
  EXPECT_EQ(extra, open[10]);
}

// The browsing handle stays open while upkeep opens the same file, changes it and closes it.
TEST_F(IndexTest, HandlesOnOneFileShareItsKeys) {
  const std::int16_t browse = Create("SHARED.WDX");
  Add(browse, {{"K1", 1}, {"K2", 2}, {"K3", 3}, {"K4", 4}});
  EXPECT_EQ(Key(browse, "K2"), Ok(2));
  const std::int16_t upkeep = Open("SHARED.WDX");
  EXPECT_EQ(DeleteKey(indexes, upkeep, "K3", 3), kNdxOk);
  Add(upkeep, {{"K25", 25}});
  ASSERT_EQ(CloseNDX(indexes, upkeep), kNdxOk);
  EXPECT_EQ(Next(browse), Ok(25));
  EXPECT_EQ(Next(browse), Ok(4));

  // Closing the upkeep handle put everything on disk, though the file is still open.
  fs::copy_file(PathOf("SHARED.WDX"), PathOf("COPY.WDX"));
  EXPECT_EQ(All(Open("COPY.WDX")), (Entries{1, 2, 25, 4}));

  // Creating the file anew empties it for the handle still open, keys held back for it included.
  Add(browse, {{"HELD", 10}});
  const std::int16_t created = Create("SHARED.WDX");
  EXPECT_EQ(All(created), Entries{});
  Add(created, {{"NEW", 9, 1}});
  EXPECT_EQ(Next(browse), Ok(9));
}

TEST_F(IndexTest, AscendingBuildsFillTheirPagesAndWriteOnlyAtClose) {
  const std::int32_t count = 50'000;
  const std::int16_t h = Create("BULK.WDX");
  for (std::int32_t e = 1; e <= count; ++e) ASSERT_EQ(AddKey(indexes, h, "K" + std::to_string(100'000 + e), e, e), 0);
  EXPECT_EQ(fs::file_size(PathOf("BULK.WDX")), 2 * ndx::kPageSize);  // all still in the cache
  ASSERT_EQ(CloseNDX(indexes, h), kNdxOk);
  const std::size_t leaves = (count + ndx::kLeafCapacity - 1) / ndx::kLeafCapacity;
  const std::size_t inner = (leaves + ndx::kInnerCapacity - 1) / ndx::kInnerCapacity + 1;
  EXPECT_EQ(fs::file_size(PathOf("BULK.WDX")), (1 + leaves + inner) * ndx::kPageSize);
  const Entries entries = All(Open("BULK.WDX"));
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(count));
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));
  EXPECT_EQ(ReadHeader(PathOf("BULK.WDX")).itemCount, static_cast<std::uint64_t>(count));
}

// Keys added in a row are held back and filed together: into an empty index as a tree built from
// the bottom up out of runs spilled to a file and merged, into a filled one in order. Either way the
// walk must give the model's order, and no spilled run stays behind.
TEST_F(IndexTest, KeysAddedInARowAreFiledInOrder) {
  indexes.tuning.cachePages = ndx::kMinCachePages;  // the filled index must survive writing its pages back early
  indexes.tuning.runLength = 5'000;                 // six runs spilled and merged, each sorted in buckets
  std::mt19937 random(11);
  std::multiset<std::tuple<std::string, std::int32_t, std::int32_t>> model;
  const std::int16_t h = Create("ROW.WDX");
  const auto addRow = [&](std::int32_t from, std::int32_t to) {
    for (std::int32_t e = from; e < to; ++e) {
      std::string key(1 + random() % 3, 'a');
      for (char& c : key) c = "aAbB \xE9"[random() % 6];  // \xE9 upper-cases to \xC9: a key byte above 127
      const auto sequence = static_cast<std::int32_t>(random() % 4);
      ASSERT_EQ(AddKey(indexes, h, key, e, sequence), kNdxOk);
      std::string stored = UpperAnsi(key);
      while (!stored.empty() && stored.back() == ' ') stored.pop_back();
      model.emplace(stored, sequence, e);
    }
  };
  const auto expected = [&] {
    Entries entries;
    for (const auto& item : model) entries.push_back(std::get<2>(item));
    return entries;
  };
  addRow(1, 30'000);
  EXPECT_EQ(All(h), expected());
  addRow(30'000, 40'000);
  EXPECT_EQ(All(h), expected());
  ASSERT_EQ(CloseNDX(indexes, h), kNdxOk);
  const std::int16_t again = Open("ROW.WDX");
  EXPECT_EQ(All(again), expected());
  EXPECT_EQ(ReadHeader(PathOf("ROW.WDX")).itemCount, model.size());
  EXPECT_EQ(Files(), std::set<std::string>{"ROW.WDX"});
}

// A build that spills runs, stopped at each of its writes as a killed program would be: the index is
// marked as being changed until the end, so that every stop leaves a file that is refused (and
// rebuilt by the program); a build not stopped gives every key. A disk that refuses a write makes
// the build fail, and the spilled runs go with it.
TEST_F(IndexTest, AStoppedBuildLeavesTheIndexMarked) {
  indexes.tuning.runLength = 300;
  const std::int32_t count = 3'000;
  const auto build = [&] {
    std::int16_t h = -1;
    std::int16_t result = OpenNDX(indexes, h, PathOf("BUILD.WDX"), kNdxCreate);
    for (std::int32_t e = 1; e <= count && result == kNdxOk; ++e) {
      result = AddKey(indexes, h, "K" + std::to_string(e % 97), e, 0);
    }
    const std::int16_t closed = CloseNDX(indexes, h);
    return result == kNdxOk ? closed : result;
  };
  files.SetWriteFault(test::FaultKind::kNone);
  ASSERT_EQ(build(), kNdxOk);
  const long changes = files.ChangesSoFar();
  ASSERT_GT(changes, 10);
  for (long at = 1; at <= changes; ++at) {
    SCOPED_TRACE(at);
    fs::remove(PathOf("BUILD.WDX"));
    files.SetWriteFault(test::FaultKind::kStop, at);
    build();
    files.SetWriteFault(test::FaultKind::kNone);
    const std::int16_t opened = OpenResult(PathOf("BUILD.WDX"));
    EXPECT_TRUE(opened == kNdxDamaged || opened == kNdxMissing) << opened;
  }
  for (const long at : {5L, changes / 2, changes - 1}) {
    SCOPED_TRACE(at);
    files.SetWriteFault(test::FaultKind::kFail, at);
    EXPECT_NE(build(), kNdxOk);
    files.SetWriteFault(test::FaultKind::kNone);
    EXPECT_NE(OpenResult(PathOf("BUILD.WDX")), kNdxOk);
    EXPECT_EQ(Files(), std::set<std::string>{"BUILD.WDX"});
  }
  fs::remove(PathOf("BUILD.WDX"));
  ASSERT_EQ(build(), kNdxOk);
  EXPECT_EQ(All(Open("BUILD.WDX")).size(), static_cast<std::size_t>(count));
}

// An append to an index that knows what it follows writes nothing before it closes, and then its
// pages before the header with the new count. One whose pages must be written early (keys all over
// the tree, eight cached pages) is marked first: stopped at any write, the file is either refused or
// as it was. One without a count is marked at once.
TEST_F(IndexTest, AnAppendIsUnmarkedOnlyWhileItWritesNothing) {
  indexes.tuning.cachePages = ndx::kMinCachePages;
  const std::string path = PathOf("APPEND.WDX");
  const auto key = [](std::int32_t e) { return "K" + std::to_string(100'000 + e % 2'000); };
  const auto append = [&](std::int32_t from, std::int32_t to, bool record) {
    const std::int16_t h = Open("APPEND.WDX");
    std::int16_t result = BeginAppend(indexes, h);
    for (std::int32_t e = from; e <= to && result == kNdxOk; ++e) result = AddKey(indexes, h, key(e * 7919), e, 0);
    if (result == kNdxOk) result = First(h).first;
    if (result == kNdxOk && record) result = SetCovers(indexes, h, static_cast<std::uint64_t>(to));
    const std::int16_t closed = CloseNDX(indexes, h);
    return result == kNdxOk ? closed : result;
  };
  const std::int16_t h = Create("APPEND.WDX");
  for (std::int32_t e = 1; e <= 2'000; ++e) ASSERT_EQ(AddKey(indexes, h, key(e), e, 0), kNdxOk);
  ASSERT_EQ(SetCovers(indexes, h, 2'000), kNdxOk);
  ASSERT_EQ(CloseNDX(indexes, h), kNdxOk);

  files.SetWriteFault(test::FaultKind::kStop, 1);  // nothing may be written before the close
  const std::int16_t one = Open("APPEND.WDX");
  ASSERT_EQ(BeginAppend(indexes, one), kNdxOk);
  ASSERT_EQ(AddKey(indexes, one, "AAA", 2'001, 0), kNdxOk);
  ASSERT_EQ(First(one), Ok(2'001));
  EXPECT_EQ(files.ChangesSoFar(), 0);
  files.SetWriteFault(test::FaultKind::kNone);
  ASSERT_EQ(SetCovers(indexes, one, 2'001), kNdxOk);
  ASSERT_EQ(CloseNDX(indexes, one), kNdxOk);
  EXPECT_FALSE(ReadHeader(path).unclean);
  EXPECT_EQ(ReadHeader(path).covers, 2'001u);

  const std::string before = ReadBytes(path);
  const Entries entries = All(Open("APPEND.WDX"));
  ASSERT_EQ(InitIndexes(indexes), kNdxOk);
  files.SetWriteFault(test::FaultKind::kNone);
  ASSERT_EQ(append(2'002, 2'400, true), kNdxOk);
  const long changes = files.ChangesSoFar();
  for (long at = 1; at <= changes; ++at) {
    SCOPED_TRACE(at);
    WriteBytes(path, before);
    files.SetWriteFault(test::FaultKind::kStop, at);
    static_cast<void>(append(2'002, 2'400, true));
    files.SetWriteFault(test::FaultKind::kNone);
    if (OpenResult(path) == kNdxDamaged) continue;
    EXPECT_EQ(ReadHeader(path).covers, 2'001u);
    EXPECT_EQ(All(Open("APPEND.WDX")), entries);
    ASSERT_EQ(InitIndexes(indexes), kNdxOk);
  }

  WriteBytes(path, before);
  ASSERT_EQ(append(2'002, 2'400, false), kNdxOk);
  EXPECT_EQ(ReadHeader(path).covers, std::nullopt);  // none recorded
  files.SetWriteFault(test::FaultKind::kStop, 2);    // only the mark reaches the disk
  static_cast<void>(append(2'401, 2'401, true));
  files.SetWriteFault(test::FaultKind::kNone);
  EXPECT_EQ(OpenResult(path), kNdxDamaged);
}

// ---- Damaged and foreign files ---------------------------------------------------------------------

class DamagedIndexTest : public IndexTest {
 protected:
  // An index of `count` ascending keys, closed.
  std::string Build(std::int32_t count) {
    const std::int16_t h = Create("GOOD.WDX");
    for (std::int32_t e = 1; e <= count; ++e) EXPECT_EQ(AddKey(indexes, h, KeyOf(e), e, e), kNdxOk);
    EXPECT_EQ(CloseNDX(indexes, h), kNdxOk);
    return PathOf("GOOD.WDX");
  }
  static std::string KeyOf(std::int32_t e) { return "KEY" + std::to_string(100'000 + e); }
};

TEST_F(DamagedIndexTest, ForeignAndCutFilesAreRefused) {
  const std::string path = Build(500);
  const std::string good = ReadBytes(path);
  std::mt19937 random(7);
  std::string garbage(3 * ndx::kPageSize, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  std::string flipped = good;
  flipped[56] ^= 1;  // the item count in the header: only the checksum shows it
  for (const std::string& bytes :
       {std::string(), std::string("Not an index\r\n"), garbage, std::string(2 * ndx::kPageSize, '\0'),
        good.substr(0, good.size() - 100), good.substr(0, good.size() - ndx::kPageSize), good + garbage, flipped}) {
    WriteBytes(path, bytes);
    EXPECT_EQ(OpenResult(path), kNdxDamaged) << bytes.size() << " bytes";
  }
}

TEST_F(DamagedIndexTest, HeadersThatDisagreeWithTheFileAreRefused) {
  const std::string path = Build(500);
  const std::string good = ReadBytes(path);
  const ndx::Header header = ReadHeader(path);
  const auto withHeader = [&](const std::function<void(ndx::Header&)>& change) {
    WriteBytes(path, good);
    ndx::Header changed = header;
    change(changed);
    ndx::Page page;
    ndx::EncodeHeader(changed, page);
    WriteSealed(path, 0, page);
    return OpenResult(path);
  };
  EXPECT_EQ(withHeader([](ndx::Header&) {}), kNdxOk);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.pageCount += 1; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.pageCount = 0xFFFFFFFF; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.root = h.pageCount; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.root = 0; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.height += 1; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.height = 200; }), kNdxDamaged);
  EXPECT_EQ(withHeader([](ndx::Header& h) { h.unclean = true; }), kNdxDamaged);  // not closed cleanly
}

// Tree pages changed in ways their checksum cannot show: each is found when it is read, the index
// then answers every call with kNdxDamaged, and the next open refuses the file.
TEST_F(DamagedIndexTest, DamagedTreePagesAreFoundWhenRead) {
  const std::int32_t count = 20'000;  // three levels
  const std::string path = Build(count);
  const std::string good = ReadBytes(path);
  const ndx::Header header = ReadHeader(path);
  ASSERT_EQ(header.height, 3u);
  const std::uint32_t innerNumber = ndx::NodeView(ReadPage(path, header.root)).child(0);
  const std::uint32_t leafNumber = ndx::NodeView(ReadPage(path, innerNumber)).child(1);
  const auto setChild = [](ndx::Page& page, std::size_t slot, std::uint32_t child) {
    ndx::Node node(page);
    ndx::EncodeSlot(node.slot(slot), node.item(slot), child);
  };
  const auto swapItems = [](ndx::Page& page) {
    ndx::Node node(page);
    const ndx::Item first = node.item(0);
    ndx::EncodeSlot(node.slot(0), node.item(1), 0);
    ndx::EncodeSlot(node.slot(1), first, 0);
  };
  const std::vector<std::tuple<const char*, std::uint32_t, std::function<void(ndx::Page&)>>> damages = {
      {"child beyond the file", innerNumber, [&](ndx::Page& p) { setChild(p, 1, header.pageCount + 3); }},
      {"child pointing to itself", innerNumber, [&](ndx::Page& p) { setChild(p, 1, innerNumber); }},
      {"child pointing to its left neighbour", innerNumber,
       [&](ndx::Page& p) { setChild(p, 1, ndx::NodeView(p).child(0)); }},
      {"count beyond capacity", innerNumber, [](ndx::Page& p) { p[ndx::kCountAt] = 200; }},
      {"wrong level", innerNumber, [](ndx::Page& p) { p[ndx::kLevelAt] = 2; }},
      {"leaf items out of order", leafNumber, swapItems},
      {"leaf key in lower case", leafNumber, [](ndx::Page& p) { p[ndx::kPageHeadSize] = 'k'; }},
      {"empty leaf", leafNumber, [](ndx::Page& p) { p[ndx::kCountAt] = 0; }},
      {"leaf of another place", leafNumber, [&](ndx::Page& p) { p = ReadPage(path, leafNumber + 7); }},
  };
  for (const auto& [what, number, change] : damages) {
    SCOPED_TRACE(what);
    WriteBytes(path, good);
    ndx::Page page = ReadPage(path, number);
    change(page);
    WriteSealed(path, number, page);
    const std::int16_t h = Open("GOOD.WDX");
    EXPECT_EQ(Walk(h, count).second, kNdxDamaged);
    EXPECT_EQ(Key(h, KeyOf(1)), Answer(kNdxDamaged, 0));
    EXPECT_EQ(AddKey(indexes, h, "A", 1, 0), kNdxDamaged);
    EXPECT_EQ(CloseNDX(indexes, h), kNdxDamaged);
    EXPECT_EQ(OpenResult(path), kNdxDamaged);
  }
  std::string flipped = good;  // an entry number in a leaf: only the checksum shows it
  flipped[leafNumber * ndx::kPageSize + ndx::kPageHeadSize + ndx::kLeafSlotSize + kMaxKeyLength + 5] ^= 0x10;
  WriteBytes(path, flipped);
  EXPECT_EQ(Walk(Open("GOOD.WDX"), count).second, kNdxDamaged);
}

// Random bits changed anywhere, pages sealed again: every call still answers, never a crash or an
// endless walk.
TEST_F(DamagedIndexTest, ScrambledPagesNeverCrash) {
  const std::int32_t count = 3'000;
  const std::string path = Build(count);
  const std::string good = ReadBytes(path);
  const auto answers = [](std::int16_t r) { return r == kNdxOk || r == kNdxEnd || r == kNdxDamaged; };
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    WriteBytes(path, good);
    const std::uint32_t number = random() % (good.size() / ndx::kPageSize);
    ndx::Page page = ReadPage(path, number);
    for (int flips = 1 + random() % 4; flips > 0; --flips) page[random() % page.size()] ^= 1 << random() % 8;
    WriteSealed(path, number, page);
    std::int16_t h = -1;
    if (OpenNDX(indexes, h, path, kNdxOpen) != kNdxOk) continue;
    const auto [entries, end] = Walk(h, count + 1);
    EXPECT_TRUE(answers(end)) << end;
    EXPECT_LE(entries.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < 20; ++i) {
      EXPECT_TRUE(answers(random() % 2 ? Key(h, KeyOf(random() % count)).first : Prev(h).first));
      EXPECT_TRUE(answers(random() % 2 ? AddKey(indexes, h, KeyOf(random() % count), 1, 0)
                                       : DeleteKey(indexes, h, KeyOf(i), i)));
    }
    EXPECT_TRUE(answers(CloseNDX(indexes, h)));
  }
}

// A disk that refuses to let the file grow: the failure is reported, and the half-written file is
// refused afterwards.
TEST_F(DamagedIndexTest, AFullDiskIsReportedAndTheFileRefusedLater) {
  const std::string path = Build(1'000);
  indexes.tuning.cachePages = ndx::kMinCachePages;  // write pages back early
  const std::int16_t h = Open("GOOD.WDX");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit limited = saved;
  limited.rlim_cur = fs::file_size(path);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::int16_t failure = kNdxOk;
  for (std::int32_t e = 0; e < 20'000 && failure == kNdxOk; ++e) failure = AddKey(indexes, h, KeyOf(-e), e, 0);
  // Keys added in a row are filed by the next other call.
  if (failure == kNdxOk) failure = First(h).first;
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, handler);

  EXPECT_EQ(failure, kNdxIoError);
  EXPECT_EQ(First(h), Answer(kNdxIoError, 0));
  static_cast<void>(CloseNDX(indexes, h));  // the file is broken: its close fails as well
  EXPECT_EQ(OpenResult(path), kNdxDamaged);
}

// ---- The index against a model ---------------------------------------------------------------------

// The index as callers see it: items of (stored key, sequence, entry) in order, and for each handle
// the item it returned last.
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
  // Removes the item of sequence 0, else of sequence == entry, else the first of that key and entry.
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

  Answer First(Cursor& c) { return Place(c, items_.begin()); }
  Answer Key(Cursor& c, std::string_view key) { return Place(c, items_.lower_bound({Stored(key), INT_MIN, INT_MIN})); }
  Answer Next(Cursor& c) {
    if (!c.positioned) return Place(c, items_.begin());
    return Place(c, c.generation == generation_ ? std::next(c.at) : items_.upper_bound(c.last));
  }
  Answer Prev(Cursor& c) {
    auto it = items_.end();
    if (c.positioned) it = c.generation == generation_ ? c.at : items_.lower_bound(c.last);
    return it == items_.begin() ? kEnd : Place(c, std::prev(it));
  }
  std::size_t size() const { return items_.size(); }

 private:
  Answer Place(Cursor& c, Items::iterator it) {
    if (it == items_.end()) return kEnd;
    c = {true, *it, it, generation_};
    return Ok(std::get<2>(*it));
  }

  Items items_;
  std::uint64_t generation_ = 0;
};

// Keys of a few letters in both cases, blanks and an accented letter, so that equal keys, trailing
// blanks and case variants are frequent; now and then one longer than 24 characters.
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

// The cache's pages and the run length of held keys: small ones write pages back early and spill
// and merge runs, or file full runs into a filled index, whenever a few keys are added in a row.
class IndexModelTest : public IndexTest, public ::testing::WithParamInterface<std::pair<std::size_t, std::size_t>> {};

// Two handles on one file, reopened now and then. Phases of 20,000 operations alternately grow the
// index and empty it again, so that pages split, empty pages leave the tree and free pages are used
// again; the other operations seek and walk.
TEST_P(IndexModelTest, HundredThousandRandomOperations) {
  indexes.tuning.cachePages = GetParam().first;
  indexes.tuning.runLength = GetParam().second;
  std::mt19937 random(2024);
  Model model;
  std::array<std::int16_t, 2> handles = {Create("MODEL.WDX"), Open("MODEL.WDX")};
  std::array<Model::Cursor, 2> cursors;
  std::vector<std::pair<std::string, std::int32_t>> added;
  std::size_t largest = 0;
  for (int op = 0; op < 100'000; ++op) {
    const bool growing = (op / 20'000) % 2 == 0;
    const unsigned adds = growing ? 450 : 100, deletes = growing ? 100 : 550;
    const std::size_t which = random() % 2;
    const std::int16_t h = handles[which];
    Model::Cursor& cursor = cursors[which];
    const unsigned dice = random() % 1000;
    if (dice < adds) {
      const std::string key = RandomKey(random);
      const std::int32_t entry = 1 + static_cast<std::int32_t>(random() % 200);
      const unsigned kind = random() % 4;  // upkeep, a build in file order, another build
      const std::int32_t sequence = kind < 2 ? 0 : kind == 2 ? entry : static_cast<std::int32_t>(random() % 20);
      ASSERT_EQ(AddKey(indexes, h, key, entry, sequence), kNdxOk) << "operation " << op;
      model.Add(key, entry, sequence);
      added.emplace_back(key, entry);
    } else if (dice < adds + deletes) {
      std::string key = RandomKey(random);
      std::int32_t entry = 1 + static_cast<std::int32_t>(random() % 200);
      if (!added.empty() && random() % 10 != 0) {
        std::swap(added[random() % added.size()], added.back());
        key = Variant(added.back().first, random);
        entry = added.back().second;
        added.pop_back();
      }
      ASSERT_EQ(DeleteKey(indexes, h, key, entry) == kNdxOk, model.Delete(key, entry)) << "operation " << op;
    } else if (dice < adds + deletes + 100) {
      const std::string key = RandomKey(random);
      ASSERT_EQ(Key(h, key), model.Key(cursor, key)) << "operation " << op;
    } else if (dice < adds + deletes + 220) {
      ASSERT_EQ(Next(h), model.Next(cursor)) << "operation " << op;
    } else if (dice < adds + deletes + 330) {
      ASSERT_EQ(Prev(h), model.Prev(cursor)) << "operation " << op;
    } else if (dice < 998) {
      ASSERT_EQ(First(h), model.First(cursor)) << "operation " << op;
    } else {
      // Close one handle, or both and walk the whole index as read back from the file.
      const bool both = random() % 2 == 0;
      for (std::size_t i = 0; i < 2; ++i) {
        if (!both && i != which) continue;
        ASSERT_EQ(CloseNDX(indexes, handles[i]), kNdxOk) << "operation " << op;
        handles[i] = Open("MODEL.WDX");
        cursors[i] = {};
      }
      Answer expected = model.First(cursors[0]);
      ASSERT_EQ(First(handles[0]), expected) << "operation " << op;
      while (both && expected != kEnd) {
        expected = model.Next(cursors[0]);
        ASSERT_EQ(Next(handles[0]), expected) << "operation " << op;
      }
    }
    largest = std::max(largest, model.size());
  }
  EXPECT_GT(largest, 5'000u);
}

// A visit of every entry reads leaf after leaf in key order, stops where it is told to, and leaves the
// handle's position as it was.
TEST_F(IndexTest, VisitingEntriesGoesThroughEveryLeafInKeyOrder) {
  const std::int16_t h = Create("VISIT.WDX");
  Entries visited;
  const auto visit = [&](std::int32_t entry) {
    visited.push_back(entry);
    return true;
  };
  EXPECT_EQ(VisitEntries(indexes, h, visit), kNdxOk);
  EXPECT_TRUE(visited.empty());
  for (std::int32_t entry = 1; entry <= 2000; ++entry) {
    ASSERT_EQ(AddKey(indexes, h, std::to_string(3000 - entry), entry, 0), kNdxOk);
  }
  EXPECT_EQ(Key(h, "1500"), Ok(1500));
  EXPECT_EQ(VisitEntries(indexes, h, visit), kNdxOk);
  EXPECT_EQ(visited, All(h));
  EXPECT_EQ(visited.size(), 2000u);
  EXPECT_EQ(Key(h, "1500"), Ok(1500));
  visited.clear();
  EXPECT_EQ(VisitEntries(indexes, h, [&](std::int32_t entry) { return visit(entry) && visited.size() < 300; }),
            kNdxEnd);
  EXPECT_EQ(visited.size(), 300u);
  EXPECT_EQ(Next(h), Ok(1499));
}

// Many entries' keys moved at once leave what each entry's DeleteKey and AddKey in turn leave: keys
// kept, changed or taken out, keys filed with other sequence numbers, keys the index lacks; in a
// small cache, so that pages are written back and read again meanwhile.
TEST_F(IndexTest, MovedKeysAgreeWithDeletingAndAddingEachInTurn) {
  indexes.tuning.cachePages = ndx::kMinCachePages;
  std::mt19937 random(11);
  Model model;
  const std::int16_t h = Create("MOVE.WDX");
  std::vector<std::string> keyOf(3001);
  for (std::int32_t entry = 1; entry <= 3000; ++entry) {
    keyOf[entry] = RandomKey(random);
    const unsigned kind = random() % 3;
    const std::int32_t sequence = kind == 0 ? 0 : kind == 1 ? entry : static_cast<std::int32_t>(random() % 50);
    ASSERT_EQ(AddKey(indexes, h, keyOf[entry], entry, sequence), kNdxOk);
    model.Add(keyOf[entry], entry, sequence);
  }
  for (int round = 0; round < 3; ++round) {
    std::vector<std::pair<std::string, std::string>> texts;
    std::vector<KeyMove> moves;
    for (std::int32_t entry = 1 + round; entry <= 3000; entry += 1 + static_cast<std::int32_t>(random() % 3)) {
      const unsigned kind = random() % 4;  // kept, changed, taken out, a key the index lacks
      std::string from = kind == 3 ? "Z" + RandomKey(random) : Variant(keyOf[entry], random);
      std::string to = kind == 0 ? Variant(keyOf[entry], random) : RandomKey(random);
      model.Delete(from, entry);
      if (kind != 2) model.Add(to, entry, 0);
      keyOf[entry] = kind == 2 ? "Z" : to;
      texts.emplace_back(std::move(from), std::move(to));
      moves.push_back({{}, {}, entry, kind != 2});
    }
    for (std::size_t i = 0; i < moves.size(); ++i) {
      moves[i].from = texts[i].first;
      moves[i].to = texts[i].second;
    }
    ASSERT_EQ(MoveKeys(indexes, h, moves), kNdxOk) << round;
    Entries expected;
    Model::Cursor cursor;
    for (Answer a = model.First(cursor); a != kEnd; a = model.Next(cursor)) expected.push_back(a.second);
    ASSERT_EQ(All(h), expected) << round;
  }
  ASSERT_EQ(CloseNDX(indexes, h), kNdxOk);
  EXPECT_EQ(All(Open("MOVE.WDX")).size(), model.size());
}

INSTANTIATE_TEST_SUITE_P(CacheSizes, IndexModelTest,
                         ::testing::Values(std::pair{ndx::kDefaultCachePages, ndx::kDefaultRunLength},
                                           std::pair{ndx::kMinCachePages, ndx::kDefaultRunLength},
                                           std::pair{ndx::kMinCachePages, std::size_t{3}}));

}  // namespace
}  // namespace vrk::lib
