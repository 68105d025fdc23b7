#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Profile.h"

namespace vrk {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("vrk-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory_);
    path_ = (directory_ / "VRK.INI").string();
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Read() {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::filesystem::path directory_;
  std::string path_;
};

TEST_F(ProfileTest, MissingFileGivesDefaults) {
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "", path_), "");
  EXPECT_EQ(GetPrivateProfileInt("Search", "SearchMode", 1, path_), 1);
}

TEST_F(ProfileTest, SectionsAndKeysIgnoreCase) {
  Write("[database]\r\ncurrentdb = C:/CATS/MUSIC \r\n[Reports]\r\nReportDest=3\r\n");
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "", path_), "C:/CATS/MUSIC");
  EXPECT_EQ(GetPrivateProfileInt("REPORTS", "reportdest", 0, path_), 3);
  EXPECT_EQ(GetPrivateProfileInt("Reports", "Other", 7, path_), 7);
}

TEST_F(ProfileTest, IntegersReadTheirLeadingDigits) {
  Write("[S]\nA=12abc\nB=abc\nC=-4\nD=\n");
  EXPECT_EQ(GetPrivateProfileInt("S", "A", 9, path_), 12);
  EXPECT_EQ(GetPrivateProfileInt("S", "B", 9, path_), 0);
  EXPECT_EQ(GetPrivateProfileInt("S", "C", 9, path_), -4);
  EXPECT_EQ(GetPrivateProfileInt("S", "D", 9, path_), 0);
}

TEST_F(ProfileTest, WritingCreatesFileAndSection) {
  ASSERT_TRUE(WritePrivateProfileString("Search", "SearchMode", "0", path_));
  EXPECT_EQ(Read(), "[Search]\nSearchMode=0\n");
  ASSERT_TRUE(WritePrivateProfileString("Reports", "ReportDest", "2", path_));
  EXPECT_EQ(Read(), "[Search]\nSearchMode=0\n[Reports]\nReportDest=2\n");
}

TEST_F(ProfileTest, WritingKeepsEveryOtherLine) {
  Write("; comment\r\n[Database]\r\nCurrentDB=OLD\r\nOther=x\r\n\r\n[Search]\r\nSearchMode=1\r\n");
  ASSERT_TRUE(WritePrivateProfileString("DATABASE", "currentdb", "/cats/NEW", path_));
  ASSERT_TRUE(WritePrivateProfileString("Search", "Added", "5", path_));
  EXPECT_EQ(Read(),
            "; comment\r\n[Database]\r\ncurrentdb=/cats/NEW\r\nOther=x\r\n\r\n[Search]\r\nSearchMode=1\r\n"
            "Added=5\r\n");
}

TEST_F(ProfileTest, NewKeyGoesAtTheEndOfItsSection) {
  Write("[A]\nx=1\n\n[B]\ny=2\n");
  ASSERT_TRUE(WritePrivateProfileString("A", "z", "3", path_));
  EXPECT_EQ(Read(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n");
}

TEST_F(ProfileTest, UnwritableDirectoryReportsFailure) {
  EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", (directory_ / "missing" / "VRK.INI").string()));
  std::filesystem::create_directory(directory_ / "DIR.INI");
  EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", (directory_ / "DIR.INI").string()));
  EXPECT_TRUE(std::filesystem::is_directory(directory_ / "DIR.INI"));
}

TEST_F(ProfileTest, WritingKeepsEachLinesEndingAndALinkToTheFile) {
  const std::filesystem::path shared = directory_ / "shared.ini";
  std::ofstream(shared, std::ios::binary) << "[A]\r\nx=1\ny=2\r\n";
  std::filesystem::create_symlink(shared, path_);
  ASSERT_TRUE(WritePrivateProfileString("A", "y", "3", path_));
  ASSERT_TRUE(WritePrivateProfileString("B", "z", "4", path_));
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_EQ(Read(), "[A]\r\nx=1\ny=3\r\n[B]\r\nz=4\r\n");
}

}  // namespace
}  // namespace vrk
