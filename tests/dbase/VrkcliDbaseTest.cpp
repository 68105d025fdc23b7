#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "dbase/DbfEngine.h"
#include "fakes/Catalogs.h"
#include "fakes/FakeUi.h"
#include "fakes/FileSizeLimit.h"
#include "fakes/ForeignTable.h"
#include "fakes/Layouts.h"
#include "fakes/Locale.h"
#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using test::ForeignTable;
using test::TempDirectory;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class VrkcliDbaseTest : public ::testing::Test {
 protected:
  // Runs vrkcli with the arguments, each quoted for the shell, under the tests' locale or the one named.
  Outcome Vrkcli(std::initializer_list<std::string> arguments, const std::string& locale = "") const {
    std::string command = (locale.empty() ? "" : "LANG=" + locale + " LC_ALL=" + locale + " ") + "'" + VRKCLI + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    command += " >'" + dir / "stdout" + "' 2>'" + dir / "stderr" + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDirectory::ReadFile(dir / "stdout"),
            TempDirectory::ReadFile(dir / "stderr")};
  }
  void MakeCatalog(const std::string& name, const std::string& fieldName) {
    test::FakeUi ui;
    CatalogStore store(ui);
    test::MakeCurrentCatalog(store, dir.path(), name, test::MakeLayout({{fieldName, 6}, {"Year", 4}}),
                             {{{"Dune", "1965"}}, {{"Emma", "1815"}, kStatusDeleted}});
  }

  TempDirectory dir;
};

TEST_F(VrkcliDbaseTest, ImportMakesANewCatalogOnly) {
  const std::string table = dir / "IN.DBF";
  TempDirectory::WriteFile(table, ForeignTable(0x03, {{"NAME", 'C', 4}}, {" abcd", "*efgh"}));
  const Outcome made = Vrkcli({"import-dbf", table, dir / "new"});
  EXPECT_EQ(made.status, 0);
  EXPECT_EQ(made.err, "DBASE contains 2 Records\n");
  EXPECT_EQ(test::ReadCatalog(dir.path(), "NEW").entries.size(), 2u);

  const std::string before = TempDirectory::ReadFile(dir / "NEW.DAT");
  const Outcome again = Vrkcli({"import-dbf", table, dir / "NEW"});
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err, "vrkcli: Catalog already exists. Import Aborted.\n");
  EXPECT_EQ(TempDirectory::ReadFile(dir / "NEW.DAT"), before);

  for (const auto& refused :
       {Vrkcli({"import-dbf", dir / "NONE.DBF", dir / "OTHER"}), Vrkcli({"import-dbf", table, dir / "nodir/OTHER"}),
        Vrkcli({"import-dbf", table, dir / "TOO-LONG-NAME"}), Vrkcli({"import-dbf", table})}) {
    EXPECT_EQ(refused.status, 2) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
  }
  EXPECT_FALSE(fs::exists(dir / "OTHER.SET"));

  TempDirectory::WriteFile(table, "");
  const Outcome damaged = Vrkcli({"import-dbf", table, dir / "EMPTY"});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(damaged.err, "Error 115 Invalid file type; file is not a DBFWhen Opening DBaseIII File: " + table +
                             "\nDBASE contains 0 Records\n");
}

// Dates follow the user's date format in vrkcli as in vrk: vrkcli sets the user's locale first.
TEST_F(VrkcliDbaseTest, ImportedDatesTakeTheUsersDateSeparator) {
  const std::string table = dir / "DAYS.DBF";
  TempDirectory::WriteFile(table, ForeignTable(0x03, {{"DAY", 'D', 8}}, {" 19980307", "         "}));
  ASSERT_EQ(Vrkcli({"import-dbf", table, dir / "DAYS"}).status, 0);
  const std::string separator = DbfLocaleDateFormat().separator;  // the locale the tests run in
  const test::CatalogOnDisk days = test::ReadCatalog(dir.path(), "DAYS");
  ASSERT_EQ(days.entries.size(), 2u);
  EXPECT_EQ(days.entries[0].Field[0], "03" + separator + "07" + separator + "98");
  EXPECT_EQ(days.entries[1].Field[0], "        ");

  if (!test::LocaleScope("de_DE.UTF-8").Selected()) GTEST_SKIP() << "the locale de_DE.UTF-8 is missing";
  const Outcome german = Vrkcli({"import-dbf", table, dir / "TAGE"}, "de_DE.UTF-8");
  ASSERT_EQ(german.status, 0) << german.err;
  EXPECT_EQ(test::ReadCatalog(dir.path(), "TAGE").entries[0].Field[0], "03.07.98");
}

TEST_F(VrkcliDbaseTest, ExportWritesEveryEntryAndReplacesOnlyWhenAsked) {
  MakeCatalog("CAT", "Title");
  const std::string table = dir / "out.dbf";
  const Outcome wrote = Vrkcli({"export-dbf", dir / "CAT", table});
  EXPECT_EQ(wrote.status, 0) << wrote.err;
  EXPECT_EQ(wrote.out, "Wrote 2 entries to DBASE III file: " + table + "\n");  // the file given, as given
  EXPECT_FALSE(fs::exists(dir / "OUT.DBF"));
  EXPECT_EQ(TempDirectory::ReadFile(dir / "out.cpg"), "1252");
  const std::string bytes = TempDirectory::ReadFile(table);
  EXPECT_EQ(bytes.substr(bytes.size() - 22), " Dune  1965 Emma  1815");

  TempDirectory::WriteFile(table, "keep");
  const Outcome kept = Vrkcli({"export-dbf", dir / "CAT", table});
  EXPECT_EQ(kept.status, 2);
  EXPECT_EQ(kept.out, "");
  EXPECT_EQ(std::count(kept.err.begin(), kept.err.end(), '\n'), 1) << kept.err;
  EXPECT_EQ(TempDirectory::ReadFile(table), "keep");
  EXPECT_EQ(Vrkcli({"export-dbf", dir / "CAT", table, "--overwrite"}).status, 0);
  EXPECT_EQ(TempDirectory::ReadFile(table), bytes);

  // A full disk half way leaves the table it was to replace as it was, and nothing beside it.
  TempDirectory::WriteFile(table, "keep");
  test::FileSizeLimit limit(bytes.size() - 10);
  const Outcome full = Vrkcli({"export-dbf", dir / "CAT", table, "--overwrite"});
  limit.Lift();
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.err, "");
  EXPECT_EQ(TempDirectory::ReadFile(table), "keep");
  EXPECT_FALSE(fs::exists(dir / "OUT.DBF.NEW"));

  const std::string catalog = TempDirectory::ReadFile(dir / "CAT.DAT");
  for (const auto& refused :
       {Vrkcli({"export-dbf", dir / "CAT", dir / "cat.dat", "--overwrite"}),
        Vrkcli({"export-dbf", dir / "NONE", dir / "x.dbf"}), Vrkcli({"export-dbf", dir / "CAT", dir / "nodir/x.dbf"}),
        Vrkcli({"export-dbf", dir / "CAT"})}) {
    EXPECT_EQ(refused.status, 2) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
  }
  EXPECT_EQ(TempDirectory::ReadFile(dir / "CAT.DAT"), catalog);
  EXPECT_FALSE(fs::exists(dir / "X.DBF"));
}

TEST_F(VrkcliDbaseTest, ExportOfFieldNamesTheEngineRefusesFails) {
  MakeCatalog("OWNERS", "1st Owner");
  const Outcome refused = Vrkcli({"export-dbf", dir / "OWNERS", dir / "owners.dbf"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  // The table is written beside its place first.
  EXPECT_EQ(refused.err, "Error 106 Invalid field nameWhen Creating DBaseIII File: " + dir / "OWNERS.DBF.NEW" + "\n");
  EXPECT_FALSE(fs::exists(dir / "OWNERS.DBF"));
  EXPECT_FALSE(fs::exists(dir / "OWNERS.DBF.NEW"));
}

}  // namespace
}  // namespace vrk
