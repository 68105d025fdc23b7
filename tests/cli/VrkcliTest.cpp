// vrkcli as a script sees it: its output lines, its messages and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/Locale.h"
#include "fakes/TempDirectory.h"
#include "platform/CodePage.h"

namespace vrk {
namespace {

using test::TempDirectory;
namespace fs = std::filesystem;

// A total as vrkcli writes it: the Standard format of the locale (the tests' own), in UTF-8.
std::string Total(const std::string& us) { return Utf8FromAnsi(test::Standard(us)); }

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class VrkcliTest : public ::testing::Test {
 protected:
  // Runs vrkcli with the arguments; or, without `program`, the command line as it is.
  Outcome Cli(const std::string& arguments, bool program = true) {
    const std::string errPath = dir / "stderr.txt";
    const std::string command = (program ? std::string(VRKCLI) + " " : "") + arguments + " 2>" + errPath;
    Outcome run{};
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = TempDirectory::ReadFile(errPath);
    return run;
  }
  std::string Base() { return dir / "music"; }
  std::string At(const std::string& name) { return dir / name; }
  // Another catalog of the test's directory, made with the fields and entries of `new` and `add`.
  void Make(const std::string& name, const std::string& fields, const std::vector<std::string>& entries) {
    ASSERT_EQ(Cli("new " + At(name) + " " + fields).status, 0);
    for (const std::string& entry : entries) ASSERT_EQ(Cli("add " + At(name) + " " + entry).status, 0);
  }
  void MakeMusic() {
    ASSERT_EQ(
        Cli("new " + Base() + " Artist:20:key Title:25:key Year:4 Price:8:sum Qty:3:sum Value:10:sum:calc=D*E").status,
        0);
    ASSERT_EQ(Cli("add " + Base() + " Artist=Zappa Title='Hot Rats' Year=1969 Price=9.50 Qty=2").out, "1\n");
    ASSERT_EQ(Cli("add " + Base() + " artist=abba 2=Arrival 3=1976 price=7.25 qty=1").out, "2\n");
    ASSERT_EQ(Cli("add " + Base() + " 1='Bj\xC3\xB6rk' Title=Debut Price=1,000").out, "3\n");
  }

  TempDirectory dir;
};

TEST_F(VrkcliTest, NewAddAndInfo) {
  MakeMusic();
  const Outcome info = Cli("info " + Base());
  EXPECT_EQ(info.status, 0);
  EXPECT_EQ(info.out.substr(0, info.out.find("7\t")),
            "entries\t3\nentry-length\t87\nsorted\tno\n1\tArtist\t20\tkey\t\n2\tTitle\t25\tkey\t\n3\tYear\t4\tplain\t\n"
            "4\tPrice\t8\tsum\t\n5\tQty\t3\tsum\t\n6\tValue\t10\tsum\tD*E\n");
  EXPECT_NE(info.out.find("21\tLine 21\t0\tplain\t\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "MUSIC.DAT"));
}

TEST_F(VrkcliTest, AnEmptyEntryFileIsSaidNotPassedOver) {
  MakeMusic();
  TempDirectory::WriteFile(dir / "MUSIC.DAT", "");
  for (const std::string command : {"info ", "dump ", "add "}) {
    const Outcome run = Cli(command + Base() + (command == "add " ? " Artist=x" : ""));
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(run.err, "vrkcli: cannot open " + Base() + ": its entry or setup file is empty or gone\n") << command;
  }
}

// The help lists the commands that run, and each one says its own usage when its arguments are missing.
TEST_F(VrkcliTest, EveryCommandTheHelpListsRunsAndGivesItsUsage) {
  const Outcome help = Cli("--help");
  EXPECT_EQ(help.status, 0);
  const Outcome usage = Cli("");
  EXPECT_EQ(usage.status, 2);
  std::vector<std::string> names;
  for (std::size_t at = 0; (at = usage.err.find("\n  vrkcli ", at)) != std::string::npos;) {
    at += 10;
    names.push_back(usage.err.substr(at, usage.err.find_first_of(" \n", at) - at));
  }
  EXPECT_GT(names.size(), 30u);
  for (const std::string& name : names) {
    const Outcome run = Cli(name);
    EXPECT_EQ(run.status, 2) << name;
    EXPECT_EQ(run.err.rfind("usage: vrkcli " + name + " ", 0), 0u) << run.err;
    EXPECT_NE(help.out.find("  vrkcli " + name + " "), std::string::npos) << name;
  }
  const Outcome unknown = Cli("frobnicate");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err.rfind("vrkcli: unknown command frobnicate\nusage: vrkcli ", 0), 0u) << unknown.err;
  EXPECT_EQ(Cli("--version").out.rfind("vrkcli ", 0), 0u);
}

TEST_F(VrkcliTest, DumpWalkAndTotals) {
  MakeMusic();
  EXPECT_EQ(Cli("dump " + Base()).out,
            "1\tactive\tZappa\tHot Rats\t1969\t9.50\t2\t19\n"
            "2\tactive\tabba\tArrival\t1976\t7.25\t1\t7.25\n"
            "3\tactive\tBj\xC3\xB6rk\tDebut\t\t1,000\t\t0\n");
  EXPECT_EQ(Cli("walk " + Base() + " artist").out,
            "2\tactive\tabba\tArrival\t1976\t7.25\t1\t7.25\n"
            "3\tactive\tBj\xC3\xB6rk\tDebut\t\t1,000\t\t0\n"
            "1\tactive\tZappa\tHot Rats\t1969\t9.50\t2\t19\n");
  EXPECT_EQ(Cli("totals " + Base()).out,
            "Price\t" + Total("17.75") + "\nQty\t" + Total("3.00") + "\nValue\t" + Total("26.25") + "\n");
}

TEST_F(VrkcliTest, ListFiltersAndOrdersTheRows) {
  MakeMusic();
  const std::string zappa = "1\tactive\tZappa\tHot Rats\t1969\t9.50\t2\t19\n";
  const std::string abba = "2\tactive\tabba\tArrival\t1976\t7.25\t1\t7.25\n";
  const std::string bjork = "3\tactive\tBj\xC3\xB6rk\tDebut\t\t1,000\t\t0\n";
  const struct {
    std::string options;
    std::string out;
  } cases[] = {
      {"", zappa + abba + bjork},
      {" --filter A --order price", abba + zappa},
      {" --filter 'ti:arr'", abba},
      {" --filter 'a ti:hot'", zappa},
      {" --order artist:desc", zappa + bjork + abba},
      {" --order year", bjork + zappa + abba},
      {" --order value:desc", zappa + abba + bjork},
      {" --order number:desc", bjork + abba + zappa},
  };
  for (const auto& c : cases) {
    const Outcome run = Cli("list " + Base() + c.options);
    EXPECT_EQ(run.status, 0) << c.options << run.err;
    EXPECT_EQ(run.out, c.out) << c.options;
  }
  ASSERT_EQ(Cli("delete " + Base() + " 2").status, 0);
  EXPECT_EQ(Cli("list " + Base() + " --hide-deleted").out, zappa + bjork);
  const Outcome bad = Cli("list " + Base() + " --order nosuch");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "vrkcli: no such field: nosuch\n");
}

// The user's case: vrkcli under a decimal-comma locale reads and computes with the period and writes
// only the totals in the locale's Standard format.
TEST_F(VrkcliTest, DecimalCommaLocaleChangesOnlyTheTotals) {
  if (!test::LocaleScope("de_DE.UTF-8").Selected()) GTEST_SKIP() << "the locale de_DE.UTF-8 is missing";
  MakeMusic();
  ASSERT_EQ(Cli("add " + Base() + " Artist=Various Price=1234.5 Qty=2").out, "4\n");
  const std::string german = "LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 ";
  EXPECT_EQ(Cli(german + VRKCLI + " add " + Base() + " Artist=Lokal Price=2.50 Qty=4", false).out, "5\n");
  EXPECT_EQ(Cli(german + VRKCLI + " dump " + Base(), false).out,
            "1\tactive\tZappa\tHot Rats\t1969\t9.50\t2\t19\n"
            "2\tactive\tabba\tArrival\t1976\t7.25\t1\t7.25\n"
            "3\tactive\tBj\xC3\xB6rk\tDebut\t\t1,000\t\t0\n"
            "4\tactive\tVarious\t\t\t1234.5\t2\t2469\n"
            "5\tactive\tLokal\t\t\t2.50\t4\t10\n");
  EXPECT_EQ(Cli(german + VRKCLI + " totals " + Base(), false).out, "Price\t1.254,75\nQty\t9,00\nValue\t2.505,25\n");
  EXPECT_EQ(Cli("LANG=C LC_ALL=C " + std::string(VRKCLI) + " totals " + Base(), false).out,
            "Price\t1,254.75\nQty\t9.00\nValue\t2,505.25\n");
}

TEST_F(VrkcliTest, DeleteUndeleteAndReindex) {
  MakeMusic();
  EXPECT_EQ(Cli("delete " + Base() + " 2").status, 0);
  EXPECT_EQ(Cli("walk " + Base() + " 1").out.find("abba"), std::string::npos);
  EXPECT_NE(Cli("dump " + Base()).out.find("2\tdeleted\tabba"), std::string::npos);
  EXPECT_EQ(Cli("undelete " + Base() + " 2").status, 0);
  EXPECT_NE(Cli("walk " + Base() + " 1").out.find("abba"), std::string::npos);
  std::filesystem::remove(dir / "MUSICX01.WDX");
  EXPECT_EQ(Cli("reindex " + Base()).status, 0);
  EXPECT_EQ(Cli("walk " + Base() + " Title").out.substr(0, 2), "2\t");
}

TEST_F(VrkcliTest, ReplacePrintsTheFieldsChangedAndKeepsTheKeysInOrder) {
  MakeMusic();
  const Outcome field = Cli("replace " + Base() + " a O --field Artist --from 2 --case");
  EXPECT_EQ(field.status, 0) << field.err;
  EXPECT_EQ(field.out, "1\n");                                           // abba, not Zappa before entry 2
  EXPECT_EQ(Cli("walk " + Base() + " Artist").out.substr(0, 2), "3\t");  // Björk before ObbO
  const Outcome none = Cli("replace " + Base() + " xyz q");
  EXPECT_EQ(none.status, 3);
  EXPECT_EQ(none.err, "vrkcli: No Matches Found\n");
  EXPECT_EQ(Cli("replace " + Base() + " x y --from 4").err, "Starting Record is too large!\n");
  EXPECT_EQ(Cli("replace " + Base() + " '' y").status, 2);
  EXPECT_EQ(Cli("replace " + Base() + " x y --field Nope").status, 2);
}

TEST_F(VrkcliTest, ASecondDeleteSavesTheEntryAgainAsItWas) {
  MakeMusic();
  ASSERT_EQ(Cli("delete " + Base() + " 1").status, 0);
  ASSERT_EQ(Cli("delete " + Base() + " 1").status, 0);
  EXPECT_EQ(Cli("dump " + Base()).out.substr(0, 39), "1\tactive\tZappa\tHot Rats\t1969\t9.50\t2\t19\n");
}

TEST_F(VrkcliTest, AFailureOfAnIndexEndsWithStatusOne) {
  MakeMusic();
  std::filesystem::remove(dir / "MUSICX00.WDX");
  std::filesystem::create_directory(dir / "MUSICX00.WDX");
  for (const std::string& command :
       {"add " + Base() + " Artist=x", "delete " + Base() + " 1", "reindex " + Base(), "walk " + Base() + " Artist"}) {
    const Outcome run = Cli(command);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find("ERROR OPENING INDEX FILE"), std::string::npos) << command << ": " << run.err;
  }
  EXPECT_EQ(Cli("dump " + Base()).out.find("1\tdeleted"), std::string::npos);  // nothing was changed
}

TEST_F(VrkcliTest, ADamagedOrForeignIndexIsRebuilt) {
  MakeMusic();
  TempDirectory::WriteFile(dir / "MUSICX00.WDX", std::string(8192, 'x'));
  const Outcome walk = Cli("walk " + Base() + " Artist");
  EXPECT_EQ(walk.status, 0);
  EXPECT_EQ(walk.err, "The key indexes of MUSIC were left incomplete; they are rebuilt now.\n");
  EXPECT_EQ(walk.out.substr(0, 2), "2\t");

  // The index of another catalog of that name, larger or as large: it names entries this one does
  // not have, or its keys are not the texts of the entries they name.
  std::filesystem::create_directory(dir / "other");
  ASSERT_EQ(Cli("new " + (dir / "other/music") + " Artist:20:key").status, 0);
  for (const std::vector<std::string>& artists : {std::vector<std::string>{"A", "B", "C"}, {"D", "E"}}) {
    for (const std::string& artist : artists) Cli("add " + (dir / "other/music") + " Artist=" + artist);
    std::filesystem::copy_file(dir / "other/MUSICX00.WDX", dir / "MUSICX00.WDX",
                               std::filesystem::copy_options::overwrite_existing);
    const Outcome foreign = Cli("walk " + Base() + " Artist");
    EXPECT_EQ(foreign.status, 0);
    EXPECT_EQ(foreign.err, walk.err);
    EXPECT_EQ(foreign.out, walk.out);
  }
}

TEST_F(VrkcliTest, ValuesAndPathsAsTheUserGivesThem) {
  const std::string japanese = dir / "\xE6\x97\xA5\xE6\x9C\xAC";  // a directory code page 1252 cannot name
  std::filesystem::create_directory(japanese);
  ASSERT_EQ(Cli("new " + japanese + "/cat T:10:key").status, 0);
  EXPECT_TRUE(std::filesystem::exists(japanese + "/CAT.DAT"));
  const Outcome tab = Cli("add " + japanese + "/cat \"T=$(printf 'a\\tb')\"");
  EXPECT_EQ(tab.status, 2);
  EXPECT_NE(tab.err.find("control character"), std::string::npos);
  // A control character a foreign program stored prints as a blank.
  ASSERT_EQ(Cli("add " + japanese + "/cat T=abc").status, 0);
  std::string entries = TempDirectory::ReadFile(japanese + "/CAT.DAT");
  entries[entries.size() - 54 + 5] = '\t';
  TempDirectory::WriteFile(japanese + "/CAT.DAT", entries);
  EXPECT_EQ(Cli("dump " + japanese + "/cat").out, "1\tactive\ta c\n");
}

TEST_F(VrkcliTest, NoTargetDestroysACatalogFile) {
  MakeMusic();
  std::filesystem::create_symlink(dir / "MUSICX00.WDX", dir / "LINK.DBF");
  const std::string index = TempDirectory::ReadFile(dir / "MUSICX00.WDX");
  EXPECT_EQ(Cli("export-dbf " + Base() + " " + (dir / "LINK.DBF") + " --overwrite").status, 2);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "MUSICX00.WDX"), index);

  std::filesystem::create_directory(dir / "X.DAT");
  EXPECT_EQ(Cli("new " + (dir / "x") + " A:5").status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "X.SET"));
  TempDirectory::WriteFile(dir / "Y.SET", "kept");
  const Outcome replace = Cli("new " + (dir / "y") + " A:5");
  EXPECT_EQ(replace.status, 1);
  EXPECT_NE(replace.err.find("Replace contents of"), std::string::npos);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "Y.SET"), "kept");
}

TEST_F(VrkcliTest, BadInputSaysWhyAndWritesNothing) {
  EXPECT_EQ(Cli("frobnicate").status, 2);
  EXPECT_EQ(Cli("info " + Base()).status, 2);
  EXPECT_EQ(Cli("new " + Base() + " Title").status, 2);
  EXPECT_EQ(Cli("new " + Base() + " Title:81").err, "vrkcli: Field Length Maximum is 80\n");
  EXPECT_EQ(Cli("new " + Base() + " Title:0").err, "vrkcli: Must Specify at lease one nozero length field.\n");
  EXPECT_EQ(Cli("new " + Base() + " A:5 B:5:key:calc=A+A").err,
            "vrkcli: A computed field may not be used as an index\n");
  EXPECT_EQ(Cli("new " + Base() + " A:5:calc=A%B").status, 2);
  EXPECT_EQ(Cli("new " + (dir / "toolongname") + " A:5").status, 2);
  EXPECT_FALSE(std::filesystem::exists(dir / "MUSIC.DAT"));

  MakeMusic();
  const std::string before = TempDirectory::ReadFile(dir / "MUSIC.DAT");
  EXPECT_EQ(Cli("new " + Base() + " A:5").err, "vrkcli: Catalog already exists. NEW Aborted.\n");
  EXPECT_EQ(Cli("add " + Base() + " Nothing=1").status, 2);
  EXPECT_EQ(Cli("add " + Base() + " Value=3").status, 2);     // computed
  EXPECT_EQ(Cli("add " + Base() + " Year=12345").status, 2);  // longer than the field
  EXPECT_EQ(Cli("delete " + Base() + " 0").err, "vrkcli: Entry number is out of range.\n");
  EXPECT_EQ(Cli("delete " + Base() + " 4").status, 2);
  EXPECT_EQ(Cli("undelete " + Base() + " x").status, 2);
  EXPECT_EQ(Cli("walk " + Base() + " Year").err, "vrkcli: field 3 is not a key field\n");
  EXPECT_EQ(TempDirectory::ReadFile(dir / "MUSIC.DAT"), before);
}

TEST_F(VrkcliTest, DamagedCatalogIsRefused) {
  MakeMusic();
  TempDirectory::WriteFile(dir / "MUSIC.DAT", std::string(200, '\x11'));
  const Outcome dump = Cli("dump " + Base());
  EXPECT_EQ(dump.status, 1);
  EXPECT_NE(dump.err.find("Cannot Read This Catalog"), std::string::npos);
}

// The catalog administration commands.
TEST_F(VrkcliTest, CatalogsRenameRemoveAndReserve) {
  Make("music", "Artist:20:key Title:30", {"Artist=Abba Title=Arrival", "Artist=Zappa"});
  Make("books", "Author:10", {});
  TempDirectory::WriteFile(dir / "LOST.DAT", "x");
  const Outcome listed = Cli("catalogs " + dir.path());
  EXPECT_EQ(listed.out, "BOOKS\t0\nMUSIC\t2\n");
  EXPECT_EQ(listed.err, "Error loading catalog LOST\n");
  EXPECT_EQ(listed.status, 1);
  EXPECT_EQ(Cli("rename " + At("music") + " books").status, 2);
  EXPECT_EQ(Cli("rename " + At("music") + " rock").status, 0);
  EXPECT_TRUE(fs::exists(dir / "ROCKXX00.WDX"));
  EXPECT_EQ(Cli("walk " + At("rock") + " Artist").out.substr(0, 2), "1\t");
  EXPECT_EQ(Cli("reserve " + At("rock") + " 150").out, "9.8 K\n");  // 150 entries of 67 bytes
  EXPECT_EQ(Cli("remove " + At("books")).status, 2);
  EXPECT_EQ(Cli("remove " + At("books") + " --yes").status, 0);
  EXPECT_FALSE(fs::exists(dir / "BOOKS.SET"));
  EXPECT_EQ(Cli("info " + At("rock")).out.substr(0, 10), "entries\t2\n");
}

TEST_F(VrkcliTest, SortUnsortEditLayoutAndEliminate) {
  Make("cat", "Name:10:key Year:4", {"Name=b Year=2", "Name=a Year=9", "Name=a Year=1"});
  EXPECT_EQ(Cli("sort " + At("cat") + " Name 2").status, 0);
  EXPECT_NE(Cli("info " + At("cat")).out.find("sorted\tyes"), std::string::npos);
  const Outcome twice = Cli("sort " + At("cat") + " Name name");
  EXPECT_EQ(twice.status, 2);
  EXPECT_EQ(twice.err, "Key already in use. Select another.\n");
  EXPECT_EQ(Cli("sort " + At("cat") + " 1 2 3 4 5 6 7 8 9 10").status, 2);
  EXPECT_EQ(Cli("unsort " + At("cat")).status, 0);
  EXPECT_NE(Cli("info " + At("cat")).out.find("sorted\tno"), std::string::npos);
  const Outcome edited = Cli("edit-layout " + At("cat") + " Name:3:key Year:4 Notes:5");
  EXPECT_EQ(edited.status, 0);
  EXPECT_EQ(edited.err, "Field lengths were changed. About to rebuild catalog.\n");
  EXPECT_EQ(Cli("dump " + At("cat")).out, "1\tactive\tb\t2\t\n2\tactive\ta\t9\t\n3\tactive\ta\t1\t\n");
  EXPECT_EQ(Cli("edit-layout " + At("cat") + " Name:99").status, 2);
  ASSERT_EQ(Cli("delete " + At("cat") + " 2").status, 0);
  EXPECT_EQ(Cli("eliminate " + At("cat")).status, 2);
  const Outcome eliminated = Cli("eliminate " + At("cat") + " --yes");
  EXPECT_EQ(eliminated.status, 0);
  EXPECT_EQ(eliminated.out, "1\n");
  EXPECT_EQ(Cli("walk " + At("cat") + " Name").out, "2\tactive\ta\t1\t\n1\tactive\tb\t2\t\n");
}

TEST_F(VrkcliTest, CopyEntriesWithAMappingAndTheSecurityCode) {
  Make("src", "Name:6 Code:4", {"Name=alpha Code=A1", "Name=beta Code=B2"});
  Make("dst", "Code:2:key Name:8", {"Code=zz Name=old"});
  const Outcome copied = Cli("copy-entries " + At("src") + " " + At("dst") + " Code=2");
  EXPECT_EQ(copied.status, 0);
  EXPECT_EQ(copied.out, "2 entries were copied from SRC to DST.\n");
  EXPECT_EQ(Cli("walk " + At("dst") + " 1").out, "2\tactive\tA1\talpha\n3\tactive\tB2\tbeta\n1\tactive\tzz\told\n");
  EXPECT_EQ(Cli("copy-entries " + At("src") + " " + At("dst") + " Code=Nothing").status, 2);
  const std::string home = "VRK_HOME='" + dir.path() + "' " + VRKCLI;
  EXPECT_EQ(Cli(home + " set-code 1000", false).status, 2);
  EXPECT_EQ(Cli(home + " set-code 300", false).status, 0);
  const std::string file = TempDirectory::ReadFile(dir / "VANTLOCK.SET");
  EXPECT_EQ(file.substr(84), std::string("\x2C\x01", 2));
  // A code that is set is changed only with it.
  EXPECT_EQ(Cli(home + " set-code 600", false).err, "vrkcli: a security code is set: --current N gives it\n");
  EXPECT_EQ(Cli(home + " set-code 600 --current 301", false).err,
            "vrkcli: --current does not give the security code\n");
  EXPECT_EQ(TempDirectory::ReadFile(dir / "VANTLOCK.SET"), file);
  EXPECT_EQ(Cli(home + " set-code 600 --current 300", false).status, 0);
  EXPECT_EQ(Cli(home + " set-code 200", false).status, 0);  // 600 asks nothing: no code is set
}

TEST_F(VrkcliTest, MemoMediaAndMacrosWithTheirStatuses) {
  std::string unused;
  for (int i = 2; i <= 20; ++i) unused += " F" + std::to_string(i) + ":0";
  Make("cat", "Title:20" + unused + " Media:25", {"Title=One"});
  const std::string base = At("cat");
  EXPECT_EQ(Cli("memo " + base + " 1 --set 'two\nlines'").status, 0);
  EXPECT_EQ(Cli("memo " + base + " 1").out, "two\nlines\n");
  EXPECT_EQ(TempDirectory::ReadFile(dir / "CAT.MEM").substr(0, 10), "two\r\nlines");
  EXPECT_EQ(Cli("memo " + base + " 1 --remove").status, 0);
  const Outcome none = Cli("memo " + base + " 1 --remove");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "No memo to delete.\n");

  EXPECT_EQ(Cli("media " + base + " 1 --picture p/one.bmp --sound one.wav").status, 0);
  EXPECT_EQ(Cli("media " + base + " 1").out, "picture\tp/one.bmp\nsound\tone.wav\n");
  const Outcome tooLong = Cli("media " + base + " 1 --picture p/a-much-longer-name.bmp");
  EXPECT_EQ(tooLong.status, 2);
  EXPECT_EQ(tooLong.err,
            "Field 21 holds 25 characters; make it 80 so that the paths fit?\n"  // answered No on a terminal
            "The length of the file paths are longer than the length of field 21. Please increase the size of field "
            "21.\n");
  EXPECT_EQ(Cli("media " + base + " 1 --picture 'p/\xE2\x82\xAC.bmp'").status, 2);
  EXPECT_EQ(Cli("media " + base + " 1").out, "picture\tp/one.bmp\nsound\tone.wav\n");

  EXPECT_EQ(Cli("macros " + base + " 1='Long playing record' z='a+b'").status, 0);
  const Outcome macros = Cli("macros " + base);
  EXPECT_EQ(macros.out.substr(0, 28), "Alt + 1\tLong playing record\n");
  EXPECT_NE(macros.out.find("\nAlt + Z\ta+b\n"), std::string::npos);
  EXPECT_EQ(std::count(macros.out.begin(), macros.out.end(), '\n'), 29);
  EXPECT_EQ(Cli("macros " + base + " e=menu").status, 2);
  EXPECT_EQ(Cli("macros " + base + " 2=").status, 2);
  EXPECT_EQ(Cli("macros " + base + " \"$(printf '3=a\\nb')\"").status, 2);  // a line end would break the listing
  EXPECT_EQ(Cli("macros " + base).out, macros.out);
}

// Report formats and settings, in the program directory VRK_HOME names.
class VrkcliReportTest : public VrkcliTest {
 protected:
  Outcome Run(const std::string& arguments) {
    return Cli("VRK_HOME=" + dir.path() + " " + std::string(VRKCLI) + " " + arguments, false);
  }
};

TEST_F(VrkcliReportTest, FormatsAreMadeShownAndSelected) {
  MakeMusic();
  TempDirectory::WriteFile(dir / "VRK.INI", "[Database]\nCurrentDB=" + Base() + "\n");
  EXPECT_EQ(Run("format new list Artist@1:1:20 title@1:22:25 '#@2:1:6' --lines 2").status, 0);
  const Outcome shown = Run("format show LIST");
  EXPECT_EQ(shown.out.rfind("lines\t2\ntitles\t0\n1\t1\t1\t20\n2\t1\t22\t25\n3\t0\t0\t4\n", 0), 0u);
  EXPECT_NE(shown.out.find("\n#\t2\t1\t6\n"), std::string::npos);
  const Outcome close = Run("format new near Artist@1:1:20 Title@1:21:25");
  EXPECT_EQ(close.status, 2);
  const Outcome titles = Run("format new near Artist@1:1:20 Title@1:22:25 --titles");
  EXPECT_EQ(titles.status, 2);
  EXPECT_EQ(titles.err, "Artist is too close to another field. Increase spacing.\n");
  EXPECT_EQ(Run("format new list 1@1:1:5").err, "Report format already exists. NEW Aborted.\n");

  EXPECT_EQ(Run("format select " + Base() + " list").status, 0);
  EXPECT_NE(Run("info " + Base()).status, 2);
  TempDirectory::WriteFile(dir / "BAD.FMT", std::string(276, '\0'));
  for (const char* name : {"BAD", "NONE"}) {
    const Outcome refused = Run(std::string("format select ") + Base() + " " + name);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "Report is invalid.\n");
  }
}

TEST_F(VrkcliReportTest, SettingsTakeReportSetupsChecks) {
  MakeMusic();
  const Outcome set = Run("settings " + Base() + " page-length=100 top-margin=60 lock-top-line=2 page-numbers=1");
  EXPECT_EQ(set.status, 0);
  EXPECT_EQ(Run("settings " + Base()).out,
            "page-length\t100\ntop-margin\t60\ndashed-line\t0\ncolumn-headings\t0\nlock-top-line\t2\nprint-memos\t1\n"
            "page-numbers\t1\nqv-max-lines\t4011\nqv-column-width\t20\n");
  const Outcome margin = Run("settings " + Base() + " page-length=50");  // below the top margin
  EXPECT_EQ(margin.status, 2);
  EXPECT_EQ(margin.err, "Top Margin must be between 0 and Page Length.\n");
  EXPECT_EQ(Run("settings " + Base() + " qv-max-lines=4012").err,
            "Quick View can only be set for a maximum of 4000 entries.\n");
  EXPECT_EQ(Run("settings " + Base() + " lock-top-line=3").status, 2);
  EXPECT_EQ(Run("settings " + Base()).out.substr(0, 15), "page-length\t100");  // nothing refused was saved
}

// The entry numbers of vrkcli's entry lines.
std::vector<std::string> Numbers(const std::string& out) {
  std::vector<std::string> numbers;
  for (std::size_t at = 0; at < out.size(); at = out.find('\n', at) + 1)
    numbers.push_back(out.substr(at, out.find('\t', at) - at));
  return numbers;
}

TEST_F(VrkcliTest, SearchesAndListsPrintTheirEntriesInWalkOrder) {
  MakeMusic();
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Numbers(Cli("search " + Base() + " Artist=A --alpha Artist").out), Lines{"2"});
  EXPECT_EQ(Numbers(Cli("search " + Base() + " Title=r").out), (Lines{"1", "2"}));
  EXPECT_EQ(Numbers(Cli("list-alpha " + Base() + " Artist --end Artist=b").out), (Lines{"2", "3"}));
  EXPECT_EQ(Numbers(Cli("list-range " + Base() + " 2 3").out), (Lines{"2", "3"}));
  EXPECT_EQ(Numbers(Cli("global-search " + Base() + " RATS").out), Lines{"1"});
  ASSERT_EQ(Cli("delete " + Base() + " 2").status, 0);
  EXPECT_EQ(Numbers(Cli("find-deleted " + Base()).out), Lines{"2"});
  const Outcome none = Cli("global-search " + Base() + " RATS --case");
  EXPECT_EQ(none.status, 3);
  EXPECT_EQ(none.err, "vrkcli: No Matches Found\n");
  EXPECT_EQ(Cli("search " + Base() + " Artist=x").err, "vrkcli: No Matches Found!!!\n");
}

TEST_F(VrkcliTest, SearchCommandsRefuseWhatTheDialogsRefuse) {
  MakeMusic();
  const auto refused = [&](const std::string& arguments, const std::string& message) {
    const Outcome run = Cli(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.err, "vrkcli: " + message + "\n") << arguments;
  };
  refused("list-range " + Base() + " '' 2", "Invalid Start #");
  refused("list-range " + Base() + " 0 2", "Start # must be greater than 0");
  refused("list-range " + Base() + " 3 2", "End # must be greater than or equal to Start #");
  refused("list-range " + Base() + " 2 4",
          "End # must not be greater than the number on entries. The catalog has 3 entries.");
  refused("global-search " + Base() + " ''", "No Search Text Specified");
  refused("search " + Base() + " --alpha Year", "field 3 is not a key field");
  refused("search " + Base() + " Label=x", "no such field: Label");
  refused("search " + Base() + " Title=Lo Title=Me", "field 2 is given twice: Title=Me");
  refused("search " + Base() + " Title=Lo --start A", "--start and --end go with --alpha KEYFIELD");
  refused("search " + Base() + " --end Artist=M", "--start and --end go with --alpha KEYFIELD");
}

TEST_F(VrkcliTest, SearchIntoADbaseTable) {
  MakeMusic();
  const Outcome run = Cli("search " + Base() + " Title=r --dbf " + At("found"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("Wrote 2 entries to DBASE III file: " + At("FOUND.DBF"), 0), 0u) << run.err;
  EXPECT_TRUE(fs::exists(At("FOUND.DBF")));
  EXPECT_EQ(Cli("find-deleted " + Base() + " --dbf " + At("gone")).status, 3);
  EXPECT_FALSE(fs::exists(At("GONE.DBF")));
  EXPECT_EQ(Cli("search " + Base() + " --dbf " + At("found")).status, 2);
}

// Report lines as a reader sees them: runs of blanks as one, no blanks at the ends, no empty lines (a
// PDF's text keeps words and their order, not every blank).
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (const char c : text + "\n") {
    if (c == '\n' || c == '\r' || c == '\f') {
      while (!line.empty() && line.back() == ' ') line.pop_back();
      if (!line.empty()) lines.push_back(line);
      line.clear();
    } else if (c != ' ' || (!line.empty() && line.back() != ' ')) {
      line += c;
    }
  }
  return lines;
}

TEST_F(VrkcliReportTest, ListsGoIntoAsciiReportsAndPdfFilesAlike) {
  MakeMusic();
  TempDirectory::WriteFile(dir / "VRK.INI", "[Database]\nCurrentDB=" + Base() + "\n");
  EXPECT_EQ(Run("list-range " + Base() + " 1 3 --ascii " + At("none.txt")).err.rfind("No report format selected.", 0),
            0u);
  ASSERT_EQ(Run("format new LIST Artist@1:1:20 Price@1:30:8 '#@2:5:6' --lines 2").status, 0);
  ASSERT_EQ(Run("format select " + Base() + " LIST").status, 0);
  ASSERT_EQ(Run("settings " + Base() + " dashed-line=1").status, 0);
  TempDirectory::WriteFile(At("report.txt"), "an older report");
  const Outcome ascii = Run("list-range " + Base() + " 1 3 --ascii " + At("report.txt"));
  EXPECT_EQ(ascii.status, 0);
  EXPECT_EQ(ascii.err.rfind("Wrote 3 entries to ASCII file: " + At("report.txt") + " TOTALS: Price", 0), 0u)
      << ascii.err;
  const std::string written = TempDirectory::ReadFile(At("report.txt"));
  EXPECT_EQ(written.rfind("-----------------------------------------------------------ENTRY:      1\r\nZappa", 0), 0u);
  EXPECT_EQ(Run("list-range " + Base() + " 1 3 --title T").status, 2);
  if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  const Outcome pdf = Run("list-range " + Base() + " 1 3 --pdf " + At("report.pdf") + " --paper single");
  if (pdf.err.find("built without Qt") != std::string::npos) GTEST_SKIP() << "this vrkcli prints no PDF files";
  EXPECT_EQ(pdf.status, 0);
  EXPECT_NE(pdf.err.find("Printed 3 entries."), std::string::npos) << pdf.err;
  EXPECT_EQ(Words(Cli("pdftotext -layout " + At("report.pdf") + " -", false).out), Words(Utf8FromAnsi(written)));
  // The PDF printer's own reason for a failure reaches the message.
  const Outcome unwritable = Run("list-range " + Base() + " 1 3 --pdf " + At("none/report.pdf"));
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("The PDF file " + At("none/report.pdf") + " could not be written."), std::string::npos)
      << unwritable.err;
}

// The outputs of vrkcli go through the check that keeps them off the program's own files.
TEST_F(VrkcliReportTest, NoOutputGoesOverTheCatalog) {
  MakeMusic();
  TempDirectory::WriteFile(dir / "VRK.INI", "[Database]\nCurrentDB=" + Base() + "\n");
  ASSERT_EQ(Run("format new LIST Artist@1:1:20").status, 0);
  ASSERT_EQ(Run("format select " + Base() + " LIST").status, 0);
  const std::string entries = TempDirectory::ReadFile(dir / "MUSIC.DAT");
  fs::create_symlink(dir / "MUSIC.DAT", dir / "link.txt");
  const Outcome ascii = Run("search " + Base() + " --ascii " + At("link.txt"));
  EXPECT_EQ(ascii.status, 1);
  EXPECT_EQ(ascii.err, At("link.txt") + " is MUSIC.DAT, a file of the catalog MUSIC: no output is written over it.\n");
  EXPECT_EQ(Run("export-csv " + Base() + " " + At("VRK.INI") + " --overwrite").status, 2);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "MUSIC.DAT"), entries);
  EXPECT_EQ(Run("info " + Base()).status, 0);
}

// Catalogs whose names begin with the same six letters would share their index files: every command
// that makes a catalog or gives one a new name refuses such a name, naming both, and makes nothing.
TEST_F(VrkcliTest, ANameWhoseIndexFilesAreAnotherCatalogsIsRefused) {
  Make("collectq", "Name:10:key", {"Name=Lamp"});
  Make("music", "Name:10:key", {"Name=Rain"});
  ASSERT_EQ(Cli("export-csv " + At("collectq") + " " + At("q.csv")).status, 0);
  ASSERT_EQ(Cli("export-dbf " + At("collectq") + " " + At("q.dbf")).status, 0);
  const std::string clash =
      "vrkcli: Catalog COLLECTZ would share its index files, COLLEC??.WDX, with catalog COLLECTQ. ";
  const struct {
    std::string command, aborted;
  } cases[] = {
      {"new " + At("collectz") + " Name:10:key", "NEW"},
      {"rename " + At("music") + " collectz", "Rename"},
      {"import-csv " + At("q.csv") + " " + At("collectz"), "Import"},
      {"import-dbf " + At("q.dbf") + " " + At("collectz"), "Import"},
  };
  for (const auto& c : cases) {
    const Outcome run = Cli(c.command);
    EXPECT_EQ(run.status, 2) << c.command;
    EXPECT_EQ(run.err, clash + c.aborted + " Aborted.\n") << c.command;
    EXPECT_FALSE(fs::exists(dir / "COLLECTZ.DAT")) << c.command;
  }
  EXPECT_EQ(Cli("walk " + At("music") + " Name").status, 0);
  // A catalog's own index files are no other's: it may take a name that keeps them.
  EXPECT_EQ(Cli("rename " + At("collectq") + " collectz").status, 0);
  EXPECT_EQ(Cli("walk " + At("collectz") + " Name").out, "1\tactive\tLamp\n");
}

// VRK.INI's current catalog follows the catalog it names through a rename and is cleared on its removal;
// one naming another catalog is left as it is.
TEST_F(VrkcliReportTest, RenameAndRemoveKeepTheCurrentCatalogRight) {
  Make("music", "Artist:20:key", {"Artist=Abba"});
  Make("books", "Author:10", {});
  const auto current = [&] { return TempDirectory::ReadFile(dir / "VRK.INI"); };
  TempDirectory::WriteFile(dir / "VRK.INI", "[Database]\nCurrentDB=" + At("music") + "\n");
  ASSERT_EQ(Run("rename " + At("books") + " novels").status, 0);
  EXPECT_EQ(current(), "[Database]\nCurrentDB=" + At("music") + "\n");
  ASSERT_EQ(Run("rename " + At("music") + " rock").status, 0);
  EXPECT_EQ(current(), "[Database]\nCurrentDB=" + At("ROCK") + "\n");
  ASSERT_EQ(Run("remove " + At("rock") + " --yes").status, 0);
  EXPECT_EQ(current(), "[Database]\nCurrentDB=\n");
}

// A text that would lose a character on its way into the catalog's files is refused, naming where it
// goes and the first character lost, and nothing is written; --lossy stores the closest form and counts.
TEST_F(VrkcliTest, EveryWriteRefusesTextItWouldLose) {
  Make("cat", "Name:20:key", {"Name=Lamp"});
  const std::string base = At("cat");
  const std::string before = TempDirectory::ReadFile(dir / "CAT.DAT");
  const std::string lossy = "; --lossy stores the closest form\n";
  const struct {
    std::string arguments, message;
  } cases[] = {
      {"add " + base + " Name='\xCE\xA9mega'", "field 1 (Name) cannot keep the character \xCE\xA9" + lossy},
      {"add " + base + " Name='5 \xE2\x82\xAC'", "field 1 (Name) cannot keep the character \xE2\x82\xAC" + lossy},
      {"add " + base + " 1='a \xE2\x80\x93 b'", "field 1 (Name) cannot keep the character \xE2\x80\x93" + lossy},
      {"replace " + base + " Lamp '\xE6\x97\xA5\xE6\x9C\xAC'",
       "REPLACEMENT cannot keep the character \xE6\x97\xA5" + lossy},
      {"search " + base + " Name='\xF0\x9F\x98\x80'",
       "field 1 (Name) cannot keep the character \xF0\x9F\x98\x80" + lossy},
      {"global-search " + base + " '\xE2\x82\xAC'", "TEXT cannot keep the character \xE2\x82\xAC" + lossy},
      {"list-range " + base + " 1 1 --pdf " + At("a.pdf") + " --title '\xD0\x9F\xD1\x80'",
       "--title cannot keep the character \xD0\x9F" + lossy},
      {"macros " + base + " 4='\xCE\xA9'", "macro 4 cannot keep the character \xCE\xA9" + lossy},
      {"memo " + base + " 1 --set 'a\n\xCE\xA9'", "the memo cannot keep the character \xCE\xA9\n"},
      {"macros " + base + " 4=" + std::string(30, '+'),
       "macro 4: This macro takes 90 characters when stored; a macro holds at most 64.\n"},
  };
  for (const auto& c : cases) {
    const Outcome run = Cli(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_EQ(run.err, "vrkcli: " + c.message) << c.arguments;
  }
  EXPECT_EQ(TempDirectory::ReadFile(dir / "CAT.DAT"), before);
  EXPECT_FALSE(fs::exists(dir / "CAT.MCR"));
  EXPECT_FALSE(fs::exists(dir / "CAT.MEM"));
  // The € and the dash are code page 1252 characters that the entry file's code page 437 lacks.
  const Outcome kept = Cli("add " + base + " --lossy Name='\xCE\xA9mega \xE6\x97\xA5 \xE2\x82\xAC'");
  EXPECT_EQ(kept.status, 0);
  EXPECT_EQ(kept.err, "vrkcli: field 1 (Name): 3 characters stored in the closest form\n");
  EXPECT_EQ(Cli("dump " + base).out, "1\tactive\tLamp\n2\tactive\t?mega ? ?\n");
  // The key filed is that of the stored closest form, so the entry is found by it and leaves the
  // alphabetical order when deleted.
  ASSERT_EQ(Cli("add " + base + " --lossy Name='M\xC3\x8E'").status, 0);
  EXPECT_EQ(Cli("search " + base + " --lossy Name='M\xC3\x8E'").out, "3\tactive\tMI\n");
  ASSERT_EQ(Cli("delete " + base + " 3").status, 0);
  EXPECT_EQ(Cli("walk " + base + " Name").out, "2\tactive\t?mega ? ?\n1\tactive\tLamp\n");
}

// demo checks both folders before it writes anything, and names the one it cannot use.
TEST_F(VrkcliTest, DemoChecksItsFoldersFirst) {
  const Outcome noHome = Cli("VRK_HOME=" + At("gone") + " " + std::string(VRKCLI) + " demo " + At("rec"), false);
  EXPECT_EQ(noHome.status, 2);
  EXPECT_EQ(noHome.err, "vrkcli: cannot write into the program folder " + At("gone") +
                            ", where the demo's report format and VRK.INI go\n");
  EXPECT_EQ(Cli("demo " + At("gone") + "/rec").err, "vrkcli: cannot write into the folder " + At("gone") + "\n");
  EXPECT_FALSE(fs::exists(dir / "REC.DAT"));
  EXPECT_FALSE(fs::exists(dir / "media"));
  const Outcome made = Cli("VRK_HOME=" + dir.path() + " " + std::string(VRKCLI) + " demo " + At("rec"), false);
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_TRUE(fs::exists(dir / "REC.DAT"));
}

// The exit status of every command: 0 for what was done, 1 after a failure, 2 for refused input (and
// for its usage: EveryCommandTheHelpListsRunsAndGivesItsUsage), 3 when a search, list or replacement
// found nothing. A damaged catalog is the failure of the commands that read one.
TEST_F(VrkcliReportTest, EveryCommandExitsWithTheStatusOfWhatHappened) {
  Make("music", "Artist:20:key Title:20 Price:6:sum", {"Artist=Abba Title=Arrival Price=2", "Artist=Zappa"});
  Make("other", "Name:20", {});
  Make("bad", "A:5:key", {"A=x"});
  TempDirectory::WriteFile(dir / "BAD.DAT", std::string(200, '\x11'));
  const std::string music = At("music"), bad = At("bad");
  ASSERT_EQ(Run("export-csv " + music + " " + At("m.csv")).status, 0);
  ASSERT_EQ(Run("export-dbf " + music + " " + At("m.dbf")).status, 0);
  TempDirectory::WriteFile(dir / "broken.csv", "A,B\n\"x,y\n");
  TempDirectory::WriteFile(dir / "broken.dbf", std::string(40, '\x03'));
  fs::create_directory(dir / "X.DAT");
  TempDirectory::WriteFile(dir / "VRK.INI", "[Database]\nCurrentDB=" + music + "\n");
  fs::create_directory(dir / "lost");
  TempDirectory::WriteFile(dir / "lost/LOST.DAT", "x");
  TempDirectory::WriteFile(dir / "REC2.SET", "kept");
  const struct {
    std::string arguments;
    int status;
  } cases[] = {
      {"info " + music, 0},
      {"info " + bad, 1},
      {"dump " + music, 0},
      {"dump " + bad, 1},
      {"walk " + music + " Artist", 0},
      {"walk " + bad + " A", 1},
      {"totals " + music, 0},
      {"totals " + bad, 1},
      {"add " + music + " Artist=Cher", 0},
      {"add " + bad + " A=y", 1},
      {"delete " + music + " 3", 0},
      {"delete " + bad + " 1", 1},
      {"undelete " + music + " 3", 0},
      {"undelete " + bad + " 1", 1},
      {"reindex " + music, 0},
      {"reindex " + bad, 1},
      {"export-csv " + music + " " + At("n.csv"), 0},
      {"export-csv " + bad + " " + At("b.csv"), 1},
      {"export-dbf " + music + " " + At("n.dbf"), 0},
      {"export-dbf " + bad + " " + At("b.dbf"), 1},
      {"import-csv " + At("m.csv") + " " + At("fromcsv"), 0},
      {"import-csv " + At("broken.csv") + " " + At("nocsv"), 1},
      {"import-dbf " + At("m.dbf") + " " + At("fromdbf"), 0},
      {"import-dbf " + At("broken.dbf") + " " + At("nodbf"), 1},
      {"new " + At("fresh") + " A:5", 0},
      {"new " + At("x") + " A:5", 1},
      {"catalogs " + dir.path(), 0},
      {"edit-layout " + At("fresh") + " A:6:key", 0},
      {"edit-layout " + bad + " A:6:key", 1},
      {"reserve " + music + " 5", 0},
      {"reserve " + bad + " 5", 1},
      {"sort " + music + " Artist", 0},
      {"sort " + bad + " A", 1},
      {"unsort " + music, 0},
      {"unsort " + bad, 1},
      {"copy-entries " + music + " " + At("other") + " Name=Artist", 0},
      {"copy-entries " + bad + " " + At("other"), 1},
      {"eliminate " + At("other") + " --yes", 0},
      {"eliminate " + bad + " --yes", 1},
      {"memo " + music + " 1 --set note", 0},
      {"memo " + bad + " 1", 1},
      {"media " + music + " 1", 0},
      {"media " + bad + " 1", 1},
      {"macros " + music + " 1=one", 0},
      {"macros " + bad, 1},
      {"format new LIST Artist@1:1:20", 0},
      {"format select " + music + " LIST", 0},
      {"format select " + bad + " LIST", 1},
      {"settings " + music, 0},
      {"settings " + bad, 1},
      {"replace " + music + " Cher Sonny", 0},
      {"replace " + music + " Nobody x", 3},
      {"replace " + bad + " x y", 1},
      {"search " + music + " Artist=Abba", 0},
      {"search " + music + " Artist=Nobody", 3},
      {"search " + bad + " A=x", 1},
      {"list-range " + music + " 1 2", 0},
      {"list-range " + bad + " 1 1", 1},
      {"list-alpha " + music + " Artist", 0},
      {"list-alpha " + music + " Artist --start Q --end Artist=R", 3},
      {"list-alpha " + bad + " A", 1},
      {"global-search " + music + " Zap", 0},
      {"global-search " + music + " Nobody", 3},
      {"global-search " + bad + " x", 1},
      {"find-deleted " + music, 3},
      {"delete " + music + " 2", 0},
      {"find-deleted " + music, 0},
      {"find-deleted " + bad, 1},
      {"rename " + At("fresh") + " newer", 0},
      {"remove " + At("newer") + " --yes", 0},
      {"backup " + music, 0},
      {"set-code 600", 0},
      {"demo " + At("rec"), 0},
      {"demo " + At("rec2"), 1},
      {"catalogs " + At("lost"), 1},
      {"format show NOPE", 2},
  };
  for (const auto& c : cases) {
    const Outcome run = Run(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.err;
  }
}

}  // namespace
}  // namespace vrk
