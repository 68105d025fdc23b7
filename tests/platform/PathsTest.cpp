#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/TempDirectory.h"

namespace vrk {
namespace {

using test::TempDirectory;

TEST(ProgramDirectory, VrkHomeThenAWritableExecutableDirectoryThenTheUsersDataFolder) {
  TempDirectory dir;
  ProgramPlaces places{.vrkHome = dir / "home/",
                       .executableDirectory = "/opt/vrk/bin",
                       .executableDirectoryWritable = true,
                       .dataHome = dir / "data",
                       .home = dir / "user"};
  EXPECT_EQ(ProgramDirectory(places), dir / "home");
  EXPECT_FALSE(IsUserDataFolder(places));

  places.vrkHome.clear();
  EXPECT_EQ(ProgramDirectory(places), "/opt/vrk/bin");
  EXPECT_FALSE(IsUserDataFolder(places));

  // Installed: the executable's directory may not be written.
  places.executableDirectoryWritable = false;
  EXPECT_TRUE(IsUserDataFolder(places));
  EXPECT_EQ(ProgramDirectory(places), dir / "data/vrk");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "data/vrk"));

  // Without XDG_DATA_HOME, or with a relative one (which does not count), the folder is under HOME.
  for (const char* dataHome : {"", "relative/data"}) {
    places.dataHome = dataHome;
    EXPECT_EQ(ProgramDirectory(places), dir / "user/.local/share/vrk");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "user/.local/share/vrk"));
  }

  // With no home at all the executable's directory stays, and writes there fail with their messages.
  places.home.clear();
  EXPECT_FALSE(IsUserDataFolder(places));
  EXPECT_EQ(ProgramDirectory(places), "/opt/vrk/bin");
}

}  // namespace
}  // namespace vrk
