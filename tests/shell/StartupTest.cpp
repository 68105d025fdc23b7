// The start-up and shut-down sequence on a temporary program directory.
#include <gtest/gtest.h>

#include <cstdlib>

#include "admin/CatalogFiles.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "fakes/Catalogs.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Sound.h"
#include "shell/DemoCatalog.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"

namespace vrk {
namespace {

using test::FakeUi;
using test::TempDirectory;

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    setenv("VRK_HOME", dir.path().c_str(), 1);
    SetProgramDirectory(program, ProgramDirectory("/nowhere/vrk"));
  }
  ~StartupTest() override { unsetenv("VRK_HOME"); }

  void SetCurrentCatalog(const std::string& value) {
    WritePrivateProfileString("Database", "CurrentDB", value, dir / "VRK.INI");
  }
  void Start() {
    ASSERT_TRUE(PrepareStartUp(program));
    OpenStartCatalog(program);
  }

  TempDirectory dir;
  FakeUi ui;
  TextScreen screen;
  test::FakeSound sound;
  test::FakePrinter printer;
  Program program{{ui, screen, sound, printer}};
};

TEST_F(StartupTest, WithoutVrkIniTheProgramStartsWithoutACatalogAndItsDefaults) {
  Start();
  EXPECT_EQ(program.programDirectory, dir.path());
  EXPECT_EQ(program.iniPath, dir / "VRK.INI");
  EXPECT_FALSE(program.CatalogOpen());
  EXPECT_EQ(program.report.destination, ReportDestination::kMainWindow);
  EXPECT_EQ(program.search.mode, SearchMode::kSequential);
  EXPECT_FALSE(screen.Enabled(Command::EditMenu));
  EXPECT_FALSE(screen.Enabled(Command::ViewMenu));
  EXPECT_FALSE(screen.Enabled(Command::ReIndex));
  EXPECT_FALSE(screen.Enabled(Command::Save));
  EXPECT_EQ(screen.Panel(Panel::CatName), "");
  EXPECT_EQ(screen.Panel(Panel::Sorted), "");
  EXPECT_EQ(screen.Panel(Panel::Entry), "Entry # 1");
  EXPECT_EQ(screen.Panel(Panel::SearchMode), "Make Entries");
  EXPECT_EQ(screen.layouts, 0);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.busyDepth, 0);
  EXPECT_FALSE(FileExists(dir / "VRK.INI"));  // nothing is written at start-up
}

// An installed program, whose directory may not be written, starts in the user's data folder.
TEST_F(StartupTest, TheFirstStartInTheUsersDataFolderMakesTheDemoCatalogOnce) {
  const ProgramPlaces places{.executableDirectory = "/usr/bin", .home = dir.path()};
  const std::string folder = dir / ".local/share/vrk";
  for (int start = 0; start < 2; ++start) {
    SetProgramDirectory(program, ProgramDirectory(places));
    PrepareUserDataFolder(program, IsUserDataFolder(places));
    Start();
    EXPECT_EQ(program.programDirectory, folder);
    ASSERT_TRUE(program.CatalogOpen());
    EXPECT_EQ(program.catalogName, "RECORDS");
    EXPECT_EQ(program.catalogDirectory, folder);
    EXPECT_EQ(program.header.Count(), 200);
    // Its lists can be printed at once.
    EXPECT_EQ(program.settings.ReportName, "RECORDS       ");
    EXPECT_EQ(program.reportFormatName, "RECORDS");
    ShutDown(program);
  }
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "", folder + "/VRK.INI"), "RECORDS");
  // A user who removed the demo catalog does not get it back.
  std::filesystem::remove(folder + "/RECORDS.DAT");
  PrepareUserDataFolder(program, IsUserDataFolder(places));
  EXPECT_FALSE(FileExists(folder + "/RECORDS.DAT"));
  EXPECT_TRUE(ui.messages.empty());
}

// Its first entries carry the sleeves and the chime it draws into media/ beside it, named by absolute
// paths; a short folder's paths fit field 21.
TEST_F(StartupTest, DemoMedia) {
  ASSERT_TRUE(MakeDemoCatalog(program, dir.path(), "RECORDS"));
  ASSERT_TRUE(UseCatalog(program, dir.path(), "RECORDS", CatalogAccess::kRead));
  EXPECT_EQ(program.header.FieldLength[kMediaField], 80);
  EntryRecord record;
  for (EntryNumber n = 1; n <= 7; ++n) {
    ASSERT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
    const std::string field21 = record.Field[kMediaField];
    const std::string cover = n <= 5 ? dir / ("media/cover" + std::to_string(n) + ".bmp") : "";
    EXPECT_EQ(StoredPicturePath(field21), cover) << n;
    if (!cover.empty()) EXPECT_EQ(TempDirectory::ReadFile(cover).substr(0, 2), "BM");
    if (n == 6) EXPECT_EQ(StoredSoundPath(field21), dir / "media/chime.wav");
  }
  EXPECT_EQ(TempDirectory::ReadFile(dir / "media/chime.wav").substr(0, 4), "RIFF");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartupTest, SettingsComeFromVrkIni) {
  WritePrivateProfileString("Reports", "ReportDest", "3", dir / "VRK.INI");
  WritePrivateProfileString("Search", "SearchMode", "0", dir / "VRK.INI");
  Start();
  EXPECT_EQ(program.report.destination, ReportDestination::kAsciiFile);
  EXPECT_EQ(program.search.mode, SearchMode::kAlphabetical);
}

TEST_F(StartupTest, ACurrentCatalogWithoutADirectoryIsInTheProgramDirectory) {
  test::WriteCatalog(dir.path(), "MUSIC", test::MakeLayout({{"Title", 10}}), {{{"One"}}, {{"Two"}}});
  SetCurrentCatalog("MUSIC");
  Start();
  ASSERT_TRUE(program.CatalogOpen());
  EXPECT_EQ(program.catalogDirectory, dir.path());
  EXPECT_EQ(screen.Panel(Panel::CatName), "MUSIC");
  EXPECT_EQ(screen.Panel(Panel::Sorted), "UNSORTED");
  EXPECT_EQ(screen.Panel(Panel::Entry), "Entry # 3");
  EXPECT_EQ(screen.layouts, 1);
  EXPECT_TRUE(screen.Enabled(Command::Save));
}

TEST_F(StartupTest, ACurrentCatalogInAnotherDirectoryMakesThatTheCatalogDirectory) {
  TempDirectory elsewhere;
  const std::string catalogs = elsewhere / "catalogs";
  std::filesystem::create_directories(catalogs);
  test::WriteCatalog(catalogs, "BOOKS", test::MakeLayout({{"Title", 10}}), {{{"One"}}});
  SetCurrentCatalog(catalogs + "/BOOKS");
  Start();
  ASSERT_TRUE(program.CatalogOpen());
  EXPECT_EQ(program.catalogDirectory, catalogs);
  EXPECT_EQ(program.catalogName, "BOOKS");
  EXPECT_EQ(program.programDirectory, dir.path());
}

TEST_F(StartupTest, AMissingCatalogGivesTheStateWithoutACatalogSilently) {
  SetCurrentCatalog("GONE");
  Start();
  EXPECT_FALSE(program.CatalogOpen());
  EXPECT_FALSE(screen.Enabled(Command::Next));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.incompatibleWindows, 0);
}

TEST_F(StartupTest, AnIncompatibleCatalogShowsItsWindowAndIsNotOpened) {
  test::WriteCatalog(dir.path(), "OLD", test::MakeLayout({{"Title", 10}}), {{{"One"}}});
  // An entry status this program never writes.
  std::string bytes = TempDirectory::ReadFile(dir / "OLD.DAT");
  bytes[static_cast<std::size_t>(EntryLengthFor(test::MakeLayout({{"Title", 10}}).lengths))] = 0x11;
  TempDirectory::WriteFile(dir / "OLD.DAT", bytes);
  SetCurrentCatalog("OLD");
  Start();
  EXPECT_EQ(ui.incompatibleWindows, 1);
  EXPECT_FALSE(program.CatalogOpen());
  EXPECT_EQ(program.entryFile, 0);
  EXPECT_FALSE(screen.Enabled(Command::Save));
  EXPECT_EQ(screen.Panel(Panel::CatName), "");
}

TEST_F(StartupTest, ShutDownWritesTheHeaderAndSaysWhetherACatalogWasOpen) {
  test::WriteCatalog(dir.path(), "MUSIC", test::MakeLayout({{"Title", 10}}), {{{"One"}}});
  SetCurrentCatalog("MUSIC");
  Start();
  // A count kept in memory reaches the file only with the header.
  program.header.EntryCount = 1;
  EntryRecord second = BlankEntry(program.header);
  second.Field[0] = "Two";
  second.Status = kStatusActive;
  ASSERT_TRUE(WriteEntry(program, second, program.header, 2, program.entryFile));
  program.header.EntryCount = 2;
  EXPECT_TRUE(ShutDown(program));
  EXPECT_EQ(program.files.OpenCount(), 0u);
  EXPECT_EQ(test::ReadCatalog(dir.path(), "MUSIC").header.Count(), 2);

  FakeUi otherUi;
  TextScreen otherScreen;
  SilentSound silent;
  Program empty{{otherUi, otherScreen, silent, printer}};
  EXPECT_FALSE(ShutDown(empty));
}

}  // namespace
}  // namespace vrk
