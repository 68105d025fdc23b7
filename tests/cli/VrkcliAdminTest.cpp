// vrkcli's catalog administration commands as a script sees them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::TempDirectory;
namespace fs = std::filesystem;

class VrkcliAdminTest : public ::testing::Test {
 protected:
  struct Outcome {
    int status;
    std::string out;
    std::string err;
  };
  Outcome Cli(const std::string& arguments) {
    const std::string errPath = dir / "stderr.txt";
    const std::string command = "VRK_HOME='" + dir.path() + "' " + VRKCLI + " " + arguments + " 2>" + errPath;
    Outcome run{};
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = TempDirectory::ReadFile(errPath);
    return run;
  }
  std::string Base(const std::string& name) { return dir / name; }
  void Make(const std::string& name, const std::string& fields, const std::vector<std::string>& entries) {
    ASSERT_EQ(Cli("new " + Base(name) + " " + fields).status, 0);
    for (const std::string& entry : entries) ASSERT_EQ(Cli("add " + Base(name) + " " + entry).status, 0);
  }

  TempDirectory dir;
};

TEST_F(VrkcliAdminTest, CatalogsRenameRemoveAndReserve) {
  Make("music", "Artist:20:key Title:30", {"Artist=Abba Title=Arrival", "Artist=Zappa"});
  Make("books", "Author:10", {});
  TempDirectory::WriteFile(dir / "LOST.DAT", "x");
  const Outcome listed = Cli("catalogs " + dir.path());
  EXPECT_EQ(listed.out, "BOOKS\t0\nMUSIC\t2\n");
  EXPECT_EQ(listed.err, "Error loading catalog LOST\n");
  EXPECT_EQ(listed.status, 1);
  EXPECT_EQ(Cli("rename " + Base("music") + " books").status, 2);
  EXPECT_EQ(Cli("rename " + Base("music") + " rock").status, 0);
  EXPECT_TRUE(fs::exists(dir / "ROCKXX00.WDX"));
  EXPECT_EQ(Cli("walk " + Base("rock") + " Artist").out.substr(0, 2), "1\t");
  EXPECT_EQ(Cli("reserve " + Base("rock") + " 150").out, "9.8 K\n");  // 150 entries of 67 bytes
  EXPECT_EQ(Cli("remove " + Base("books")).status, 2);
  EXPECT_EQ(Cli("remove " + Base("books") + " --yes").status, 0);
  EXPECT_FALSE(fs::exists(dir / "BOOKS.SET"));
  EXPECT_EQ(Cli("info " + Base("rock")).out.substr(0, 10), "entries\t2\n");
}

TEST_F(VrkcliAdminTest, SortUnsortEditLayoutAndEliminate) {
  Make("cat", "Name:10:key Year:4", {"Name=b Year=2", "Name=a Year=9", "Name=a Year=1"});
  EXPECT_EQ(Cli("sort " + Base("cat") + " Name 2").status, 0);
  EXPECT_NE(Cli("info " + Base("cat")).out.find("sorted\tyes"), std::string::npos);
  const Outcome twice = Cli("sort " + Base("cat") + " Name name");
  EXPECT_EQ(twice.status, 2);
  EXPECT_EQ(twice.err, "Key already in use. Select another.\n");
  EXPECT_EQ(Cli("sort " + Base("cat") + " 1 2 3 4 5 6 7 8 9 10").status, 2);
  EXPECT_EQ(Cli("unsort " + Base("cat")).status, 0);
  EXPECT_NE(Cli("info " + Base("cat")).out.find("sorted\tno"), std::string::npos);
  const Outcome edited = Cli("edit-layout " + Base("cat") + " Name:3:key Year:4 Notes:5");
  EXPECT_EQ(edited.status, 0);
  EXPECT_EQ(edited.err, "Field lengths were changed. About to rebuild catalog.\n");
  EXPECT_EQ(Cli("dump " + Base("cat")).out, "1\tactive\tb\t2\t\n2\tactive\ta\t9\t\n3\tactive\ta\t1\t\n");
  EXPECT_EQ(Cli("edit-layout " + Base("cat") + " Name:99").status, 2);
  ASSERT_EQ(Cli("delete " + Base("cat") + " 2").status, 0);
  EXPECT_EQ(Cli("eliminate " + Base("cat")).status, 2);
  const Outcome eliminated = Cli("eliminate " + Base("cat") + " --yes");
  EXPECT_EQ(eliminated.status, 0);
  EXPECT_EQ(eliminated.out, "1\n");
  EXPECT_EQ(Cli("walk " + Base("cat") + " Name").out, "2\tactive\ta\t1\t\n1\tactive\tb\t2\t\n");
}

TEST_F(VrkcliAdminTest, CopyEntriesWithAMappingAndTheSecurityCode) {
  Make("src", "Name:6 Code:4", {"Name=alpha Code=A1", "Name=beta Code=B2"});
  Make("dst", "Code:2:key Name:8", {"Code=zz Name=old"});
  const Outcome copied = Cli("copy-entries " + Base("src") + " " + Base("dst") + " Code=2");
  EXPECT_EQ(copied.status, 0);
  EXPECT_EQ(copied.out, "2 entries were copied from SRC to DST.\n");
  EXPECT_EQ(Cli("walk " + Base("dst") + " 1").out, "2\tactive\tA1\talpha\n3\tactive\tB2\tbeta\n1\tactive\tzz\told\n");
  EXPECT_EQ(Cli("copy-entries " + Base("src") + " " + Base("dst") + " Code=Nothing").status, 2);
  EXPECT_EQ(Cli("set-code 1000").status, 2);
  EXPECT_EQ(Cli("set-code 300").status, 0);
  const std::string file = TempDirectory::ReadFile(dir / "VANTLOCK.SET");
  EXPECT_EQ(file.substr(84), std::string("\x2C\x01", 2));
}

}  // namespace
}  // namespace vrk
