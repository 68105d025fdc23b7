// export-csv and import-csv as a script sees them: output, messages and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::TempDirectory;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class VrkcliCsvTest : public ::testing::Test {
 protected:
  // Runs vrkcli with the arguments, each quoted for the shell.
  Outcome Vrkcli(std::initializer_list<std::string> arguments) const {
    std::string command = std::string("'") + VRKCLI + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    command += " >'" + dir / "stdout" + "' 2>'" + dir / "stderr" + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDirectory::ReadFile(dir / "stdout"),
            TempDirectory::ReadFile(dir / "stderr")};
  }

  TempDirectory dir;
};

TEST_F(VrkcliCsvTest, ImportFilesTheKeysAndEveryRefusalHasItsStatus) {
  const std::string csv = dir / "in.csv";
  TempDirectory::WriteFile(csv, "Artist,Title\nZappa,Hot Rats\nabba,Arrival\nBj\xC3\xB6rk,Debut\n");
  const Outcome unknown = Vrkcli({"import-csv", csv, dir / "music", "--key", "Label"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "vrkcli: no column Label in " + csv + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "MUSIC.SET"));

  const Outcome made = Vrkcli({"import-csv", csv, dir / "music", "--key", "artist ", "--key", "2"});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "3 entries imported into " + dir / "music" + "\n");
  EXPECT_EQ(Vrkcli({"walk", dir / "music", "Artist"}).out,
            "2\tactive\tabba\tArrival\n3\tactive\tBj\xC3\xB6rk\tDebut\n1\tactive\tZappa\tHot Rats\n");
  EXPECT_EQ(Vrkcli({"walk", dir / "music", "Title"}).out.substr(0, 2), "2\t");

  EXPECT_EQ(Vrkcli({"export-csv", dir / "music", csv}).status, 2);
  const Outcome wrote = Vrkcli({"export-csv", dir / "music", csv, "--overwrite"});
  EXPECT_EQ(wrote.status, 0) << wrote.err;
  EXPECT_EQ(wrote.out, "3 entries written to " + csv + "\n");

  TempDirectory::WriteFile(csv, "a,b\n\"open\n");
  const Outcome malformed = Vrkcli({"import-csv", csv, dir / "bad"});
  EXPECT_EQ(malformed.status, 1);
  EXPECT_EQ(malformed.err, "CSV File: " + csv + ", line 2: a quoted value is never closed.\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "BAD.SET"));
}

}  // namespace
}  // namespace vrk
