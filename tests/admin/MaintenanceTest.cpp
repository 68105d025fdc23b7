// Catalog Maintenance's list and commands on catalogs of a directory.
#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "AdminFixture.h"
#include "admin/CatalogSetup.h"
#include "admin/EditCatalog.h"
#include "catalog/Layout.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Programs.h"
#include "shell/Maintenance.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

const CatalogLayout kMusic = MakeLayout({{"Artist", 20, kKeyField}, {"Title", 30, kKeyField}, {"Year", 4}});

using MaintenanceTest = AdminTest;

TEST_F(MaintenanceTest, TheListNamesCatalogsWithTheirCountsAndSaysWhichSetupFileIsMissing) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}, {{"B"}}});
  WriteCatalog(dir.path(), "BOOKS", kMusic, {});
  TempDirectory::WriteFile(dir / "lost.dat", "x");
  TempDirectory::WriteFile(dir / "notes.txt", "x");
  Use("MUSIC");
  for (int twice = 0; twice < 2; ++twice) BuildCatalogList(maintenance);
  ASSERT_EQ(maintenance.lines.size(), 2u);
  EXPECT_EQ(CatalogLineText(maintenance.lines[0]), "BOOKS   \t0");
  EXPECT_EQ(CatalogLineText(maintenance.lines[1]), "MUSIC   \t2");
  EXPECT_EQ(maintenance.highlighted, 1);  // the current catalog
  EXPECT_EQ(maintenance.currentName, "MUSIC");
  EXPECT_THAT(ui.texts(), ElementsAre("Error loading catalog LOST", "Error loading catalog LOST"));
  ChangeMaintenanceDirectory(maintenance, dir / "missing");
  EXPECT_TRUE(maintenance.lines.empty());
  EXPECT_FALSE(LineCommandsEnabled(maintenance));
}

TEST_F(MaintenanceTest, RenameMovesEveryFileAndThePaddedIndexNames) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"Abba", "Arrival"}}});
  TempDirectory::WriteFile(dir / "MUSIC.MEM", "memo");
  BuildCatalogList(maintenance);
  ui.promptAnswers = {"rock"};
  RenameCatalog(maintenance);
  for (const char* gone : {"MUSIC.DAT", "MUSIC.SET", "MUSIC.MEM", "MUSICX00.WDX", "MUSICX01.WDX"}) {
    EXPECT_FALSE(fs::exists(dir / gone)) << gone;
  }
  for (const char* made : {"ROCK.DAT", "ROCK.SET", "ROCK.MEM", "ROCKXX00.WDX", "ROCKXX01.WDX"}) {
    EXPECT_TRUE(fs::exists(dir / made)) << made;
  }
  EXPECT_EQ(ui.namePrompts.at(0).caption, "Rename Catalog");
  EXPECT_EQ(maintenance.lines.at(0).name, "ROCK");
  EXPECT_EQ(ReadCatalog(dir.path(), "ROCK").entries.size(), 1u);
  EXPECT_THAT(Walk(0, "ROCK"), ElementsAre(1));
}

// A name in use, or one whose index files would be another catalog's (the first six letters alike).
TEST_F(MaintenanceTest, RenameAndNewRefuseANameInUse) {
  WriteCatalog(dir.path(), "COLLECTQ", kMusic, {});
  WriteCatalog(dir.path(), "MUSIC", kMusic, {});
  WriteCatalog(dir.path(), "ROCK", kMusic, {});
  BuildCatalogList(maintenance);
  maintenance.highlighted = 1;
  ui.promptAnswers = {"ROCK", "rock", "collectz", "COLLECTZ"};
  RenameCatalog(maintenance);
  NewCatalog(maintenance);
  RenameCatalog(maintenance);
  NewCatalog(maintenance);
  const std::string clash =
      "message: Catalog COLLECTZ would share its index files, COLLEC??.WDX, with catalog COLLECTQ.";
  EXPECT_THAT(ui.events, ElementsAre("beep", "message: Catalog already exists. Rename Aborted.", "beep",
                                     "message: Catalog already exists. NEW Aborted.", "beep",
                                     clash + " Rename Aborted.", "beep", clash + " NEW Aborted."));
  EXPECT_TRUE(fs::exists(dir / "MUSIC.DAT"));
  EXPECT_FALSE(fs::exists(dir / "COLLECTZ.DAT"));
}

TEST_F(MaintenanceTest, ACatalogAnotherProgramHoldsIsNeitherRenamedNorDeleted) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}});
  files.lockWait = std::chrono::milliseconds(0);  // what another program holds is refused at once
  FakeUi otherUi;
  CatalogStore other(otherUi);
  ASSERT_NE(OpenCatalog(other, dir.path(), "MUSIC", CatalogAccess::kChange), 0);
  BuildCatalogList(maintenance);
  ui.dialogs.Register<CatalogSetup>([](CatalogSetup& setup) {
    setup.layout.lengths[0] = 40;
    return true;
  });
  ui.promptAnswers = {"ROCK"};
  RenameCatalog(maintenance);
  DeleteCatalog(maintenance);
  EditCatalog(maintenance);
  EXPECT_THAT(ui.texts(), ElementsAre("MUSIC is in use by another program.", "Really want to delete catalog MUSIC?",
                                      "MUSIC is in use by another program.", "MUSIC is in use by another program."));
  EXPECT_TRUE(ui.messages[1].defaultNo);
  EXPECT_EQ(ReadCatalog(dir.path(), "MUSIC").header.FieldLength[0], 20);
  EXPECT_TRUE(fs::exists(dir / "MUSIC.DAT"));
  EXPECT_FALSE(fs::exists(dir / "ROCK.DAT"));
}

// Runs File > Catalog Maintenance with `act` standing in for the user at the window.
void RunMaintenance(Program& program, FakeUi& ui, const std::function<void(CatalogMaintenance&)>& act) {
  ui.dialogs.Register<CatalogMaintenance>([&](CatalogMaintenance& m) {
    act(m);
    return true;
  });
  CatalogMaintenanceCommand(program);
}

int LineOf(const CatalogMaintenance& m, const std::string& name) {
  for (std::size_t i = 0; i < m.lines.size(); ++i) {
    if (m.lines[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

TEST_F(MaintenanceTest, DeletingTheCurrentCatalogLeavesNoCatalogAndNoCurrentDB) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}});
  WriteCatalog(dir.path(), "BOOKS", kMusic, {});
  WritePrivateProfileString("Database", "CurrentDB", dir / "MUSIC", program.iniPath);
  OpenStartCatalog(program);
  RunMaintenance(program, ui, [](CatalogMaintenance& m) {
    m.highlighted = LineOf(m, "MUSIC");
    DeleteCatalog(m);
    EXPECT_EQ(m.currentName, "");
    EXPECT_EQ(m.lines.size(), 1u);
  });
  EXPECT_FALSE(program.CatalogOpen());
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "-", program.iniPath), "");
  EXPECT_FALSE(screen.Enabled(Command::EditMenu));
  EXPECT_EQ(screen.Panel(Panel::CatName), "");
  for (const char* gone : {"MUSIC.DAT", "MUSIC.SET", "MUSICX00.WDX", "MUSICX01.WDX"})
    EXPECT_FALSE(fs::exists(dir / gone));
  EXPECT_TRUE(fs::exists(dir / "BOOKS.DAT"));
}

TEST_F(MaintenanceTest, SelectMakesTheCatalogCurrentOnTheScreenAndFailingKeepsTheOneBefore) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}});
  WriteCatalog(dir.path(), "BOOKS", MakeLayout({{"Author", 20}}), {{{"X"}}, {{"Y"}}});
  WritePrivateProfileString("Database", "CurrentDB", dir / "MUSIC", program.iniPath);
  program.readOnly = false;
  OpenStartCatalog(program);
  RunMaintenance(program, ui, [&](CatalogMaintenance& m) {
    m.highlighted = LineOf(m, "BOOKS");
    SelectCatalog(m);
    EXPECT_EQ(m.currentName, "BOOKS");
    // A catalog whose files went after the list was made.
    fs::remove(dir / "MUSIC.SET");
    m.highlighted = LineOf(m, "MUSIC");
    SelectCatalog(m);
    EXPECT_EQ(m.currentName, "BOOKS");
  });
  EXPECT_THAT(ui.texts(), ElementsAre("The default catalog is invalid or missing. No catalog selected."));
  EXPECT_EQ(ui.messages.at(0).icon, Icon::Exclamation);
  EXPECT_EQ(program.catalogName, "BOOKS");
  EXPECT_EQ(program.header.Count(), 2);
  EXPECT_EQ(program.currentEntryNumber, 3);
  EXPECT_EQ(screen.Panel(Panel::CatName), "BOOKS");
  EXPECT_EQ(screen.Panel(Panel::Sorted), "UNSORTED");
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "", program.iniPath), dir / "BOOKS");
}

// A catalog named on vrk's command line, or by a file manager through its setup file.
TEST_F(MaintenanceTest, SelectByPathTakesTheSetupFileAndKeepsTheCatalogBeforeWhenThePathNamesNone) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}});
  WriteCatalog(dir.path(), "BOOKS", MakeLayout({{"Author", 20}}), {{{"X"}}, {{"Y"}}});
  WritePrivateProfileString("Database", "CurrentDB", dir / "MUSIC", program.iniPath);
  OpenStartCatalog(program);
  EXPECT_TRUE(SelectCatalogByPath(program, dir / "books.set"));
  EXPECT_EQ(program.catalogName, "BOOKS");
  EXPECT_EQ(screen.Panel(Panel::CatName), "BOOKS");
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "", program.iniPath), dir / "BOOKS");
  EXPECT_FALSE(SelectCatalogByPath(program, dir / "NOTES.TXT"));
  EXPECT_FALSE(SelectCatalogByPath(program, dir / "GONE.DAT"));
  EXPECT_THAT(ui.texts(), ElementsAre(PathText(dir / "NOTES.TXT") + " is not a catalog.",
                                      "The default catalog is invalid or missing. No catalog selected."));
  EXPECT_EQ(program.catalogName, "BOOKS");
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "", program.iniPath), dir / "BOOKS");
}

TEST_F(MaintenanceTest, NewCopiesTheHighlightedFormatWhenAskedAndMakesNothingOnCancel) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}});
  BuildCatalogList(maintenance);
  std::vector<CatalogSetup> shown;
  bool confirm = false;
  ui.dialogs.Register<CatalogSetup>([&](CatalogSetup& setup) {
    shown.push_back(setup);
    return confirm;
  });
  ui.promptAnswers = {"rock", "jazz"};
  NewCatalog(maintenance);  // Yes to the question, then Cancel in the editor
  EXPECT_FALSE(fs::exists(dir / "ROCK.SET"));
  ui.answers = {Answer::No};
  confirm = true;
  NewCatalog(maintenance);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "Catalog Setup  (ROCK)");
  EXPECT_EQ(shown[0].layout.lengths[1], 30);
  EXPECT_EQ(shown[1].layout.lengths[1], 0);
  EXPECT_THAT(ui.texts(), ElementsAre("Copy format from highlighted catalog MUSIC?",
                                      "Copy format from highlighted catalog MUSIC?"));
  EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNo);
  EXPECT_EQ(ui.messages[0].icon, Icon::Question);
  // The default layout has no field in use: the editor would not have let it through, but the
  // catalog is made as the editor handed it.
  EXPECT_TRUE(fs::exists(dir / "JAZZ.DAT"));
  EXPECT_EQ(maintenance.lines.at(static_cast<std::size_t>(maintenance.highlighted)).name, "JAZZ");
}

TEST_F(MaintenanceTest, ReserveSpaceAsksWithTheSizeAndWritesBlankSlotsBeyondTheCount) {
  WriteCatalog(dir.path(), "MUSIC", MakeLayout({{"Title", 83}}), {{{"A"}}});  // 100-byte slots
  BuildCatalogList(maintenance);
  ui.promptAnswers = {"0", "150"};
  ui.answers = {Answer::Yes, Answer::Yes};
  const auto size = fs::file_size(dir / "MUSIC.DAT");
  ReserveSpace(maintenance);
  EXPECT_EQ(fs::file_size(dir / "MUSIC.DAT"), size);
  ReserveSpace(maintenance);
  EXPECT_THAT(ui.texts(), ElementsAre(". K will be used. Proceed?", "14.6 K will be used. Proceed?"));
  EXPECT_EQ(ui.numberPrompts.at(0).caption, "Reserve Space");
  EXPECT_EQ(ui.numberPrompts.at(0).maxLength, 4);
  EXPECT_EQ(fs::file_size(dir / "MUSIC.DAT"), 100u * 152);
  EXPECT_EQ(ReadCatalog(dir.path(), "MUSIC").entries.size(), 1u);
  EXPECT_EQ(ReservedSizeText(1024, 100), "100.");
}

TEST_F(MaintenanceTest, TheReadOnlyStateLeavesOnlySelectAndBackup) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {});
  CatalogMaintenance readOnly(program, current, true);
  BuildCatalogList(readOnly);
  EXPECT_TRUE(LineCommandsEnabled(readOnly));
  EXPECT_FALSE(ChangingCommandsEnabled(readOnly));
  ui.promptAnswers = {"ROCK", "JAZZ"};
  RenameCatalog(readOnly);
  NewCatalog(readOnly);
  DeleteCatalog(readOnly);
  EXPECT_TRUE(ui.namePrompts.empty());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(fs::exists(dir / "MUSIC.DAT"));
}

TEST_F(MaintenanceTest, BackupWritesEveryFileIntoAnArchiveThatTarRestores) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"Abba", "Arrival"}}, {{"Zappa", "Hot Rats"}}});
  TempDirectory::WriteFile(dir / "MUSIC.MCR", "macros");
  TempDirectory::WriteFile(dir / "OTHER.DAT", "not ours");
  Use("MUSIC");
  BuildCatalogList(maintenance);
  BackupCatalog(maintenance);
  EXPECT_TRUE(current.closed);
  EXPECT_TRUE(current.reopened);
  ASSERT_EQ(ui.texts().size(), 2u);  // the list's word on OTHER, then vrkback's
  const std::string said = ui.texts()[1];
  const std::string prefix = "The backup of MUSIC is in " + dir.path() + "/backup/MUSIC-";
  ASSERT_EQ(said.substr(0, prefix.size()), prefix) << said;
  const std::string archive = said.substr(said.find(dir.path()));
  EXPECT_EQ(archive.substr(archive.size() - 7), ".tar.gz");
  TempDirectory restored("restored");
  ASSERT_EQ(std::system(("tar -xzf '" + archive + "' -C '" + restored.path() + "'").c_str()), 0);
  std::vector<std::string> names;
  for (const auto& file : fs::directory_iterator(restored.path())) names.push_back(file.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_THAT(names, ElementsAre("MUSIC.DAT", "MUSIC.MCR", "MUSIC.SET", "MUSICX00.WDX", "MUSICX01.WDX"));
  for (const std::string& name : names) {
    EXPECT_EQ(TempDirectory::ReadFile(restored / name), TempDirectory::ReadFile(dir / name)) << name;
  }
  // A catalog another program is changing is not backed up half way.
  FakeUi otherUi;
  CatalogStore other(otherUi);
  ShutDown(program);
  ASSERT_NE(OpenCatalog(other, dir.path(), "MUSIC", CatalogAccess::kChange), 0);
  EXPECT_FALSE(RunBackup(ui, dir.path(), "MUSIC"));
  EXPECT_EQ(ui.texts().back(), "vrkback: MUSIC is in use by another program.");
  EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
}

// The pictures and sounds the entries name go under media/ with their absolute paths, each once; one
// that is not there is counted and named, and --no-media leaves them all out.
TEST_F(MaintenanceTest, BackupKeepsMedia) {
  CatalogLayout layout = MakeLayout({{"Artist", 20, kKeyField}});
  layout.lengths[kMediaField] = 80;
  const std::string picture = dir / "one.bmp", sound = dir / "one.wav", lost = dir / "lost.bmp";
  TempDirectory::WriteFile(picture, "picture");
  TempDirectory::WriteFile(sound, "sound");
  const auto entry = [](const std::string& artist, const std::string& field21) {
    std::vector<std::string> texts(kFieldCount);
    texts[0] = artist;
    texts[kMediaField] = field21;
    return TestEntry{texts};
  };
  WriteCatalog(dir.path(), "MUSIC", layout,
               {entry("A", sound + "\x01"), entry("B", "\x01" + picture), entry("C", "\x01" + lost),
                entry("D", "\x01" + picture)});
  std::string output;
  ASSERT_EQ(sys::RunProgram({"vrkback", dir / "MUSIC"}, &output), 0) << output;
  EXPECT_THAT(output, ::testing::EndsWith(".tar.gz\nPictures and sounds kept under media/: 2\n"
                                          "Pictures and sounds not found or unreadable: 1\n  " +
                                          lost + "\n"));
  const std::string archive =
      output.substr(output.find(dir.path()), output.find(".tar.gz") + 7 - output.find(dir.path()));
  TempDirectory restored("restored");
  ASSERT_EQ(std::system(("tar -xzf '" + archive + "' -C '" + restored.path() + "'").c_str()), 0);
  EXPECT_EQ(TempDirectory::ReadFile(restored.path() + "/media" + picture), "picture");
  EXPECT_EQ(TempDirectory::ReadFile(restored.path() + "/media" + sound), "sound");
  output.clear();
  ASSERT_EQ(sys::RunProgram({"vrkback", "--no-media", dir / "MUSIC"}, &output), 0) << output;
  EXPECT_EQ(output.find("media/"), std::string::npos);
  const std::string second =
      output.substr(output.find(dir.path()), output.find(".tar.gz") + 7 - output.find(dir.path()));
  TempDirectory bare("bare");
  ASSERT_EQ(std::system(("tar -xzf '" + second + "' -C '" + bare.path() + "'").c_str()), 0);
  EXPECT_FALSE(fs::exists(bare.path() + "/media"));
}

// A memo file that an entry's absurd memo number made sparse is reported, never read for hours.
TEST_F(MaintenanceTest, BackupRefusesAFileThatIsMostlyHolesAndLeavesNothing) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"Abba", "Arrival"}}});
  TempDirectory::WriteFile(dir / "MUSIC.MEM", "memo");
  fs::resize_file(dir / "MUSIC.MEM", std::uintmax_t{1} << 40);
  EXPECT_FALSE(RunBackup(ui, dir.path(), "MUSIC"));
  EXPECT_THAT(
      ui.texts().back(),
      ::testing::AllOf(::testing::StartsWith("vrkback: cannot back up " + dir.path() + "/MUSIC.MEM: "),
                       ::testing::EndsWith(" of its 1099511627776 bytes were never written; the file is damaged")));
  EXPECT_TRUE(fs::is_empty(dir / "backup"));
}

TEST_F(MaintenanceTest, SelectingAWritableCatalogAfterOneOnlyReadEnablesTheCommandsAgain) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}});
  WriteCatalog(dir.path(), "BOOKS", kMusic, {{{"B"}}});
  FakeUi otherUi;
  CatalogStore other(otherUi);
  ASSERT_NE(OpenCatalog(other, dir.path(), "MUSIC", CatalogAccess::kChange), 0);
  RunMaintenance(program, ui, [&](CatalogMaintenance& m) {
    m.highlighted = LineOf(m, "MUSIC");
    SelectCatalog(m);
    EXPECT_FALSE(program.writable);
    EXPECT_FALSE(screen.Enabled(Command::SaveEntryItem));
    EXPECT_FALSE(screen.Enabled(Command::UtilitiesMenu));
    m.highlighted = LineOf(m, "BOOKS");
    SelectCatalog(m);
  });
  EXPECT_THAT(ui.texts(), ElementsAre("MUSIC is in use by another program: it is opened for reading only."));
  EXPECT_TRUE(program.writable);
  EXPECT_TRUE(screen.Enabled(Command::SaveEntryItem));
  EXPECT_TRUE(screen.Enabled(Command::UtilitiesMenu));
  EXPECT_EQ(program.currentEntryNumber, 2);  // an erased screen, not the last entry of MUSIC
}

TEST_F(MaintenanceTest, RenamingTheCurrentCatalogKeepsItCurrentUnderItsNewName) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"A"}}});
  WritePrivateProfileString("Database", "CurrentDB", dir / "MUSIC", program.iniPath);
  OpenStartCatalog(program);
  ui.promptAnswers = {"rock"};
  RunMaintenance(program, ui, [](CatalogMaintenance& m) {
    RenameCatalog(m);
    EXPECT_EQ(m.currentName, "ROCK");
  });
  EXPECT_EQ(program.catalogName, "ROCK");
  EXPECT_EQ(screen.Panel(Panel::CatName), "ROCK");
  EXPECT_EQ(GetPrivateProfileString("Database", "CurrentDB", "", program.iniPath), dir / "ROCK");
  Add({"Added"});
  EXPECT_EQ(ReadCatalog(dir.path(), "ROCK").entries.size(), 2u);
}

TEST_F(MaintenanceTest, AProgramWaitingForTheLockOfACatalogRebuiltMeanwhileOpensTheNewOne) {
  WriteCatalog(dir.path(), "MUSIC", kMusic, {{{"Abba", "Arrival"}}});
  Use("MUSIC");
  FakeUi otherUi;
  test::FakeFileSystem otherFiles;
  CatalogStore other(otherUi, otherFiles);
  int opened = 0;
  std::thread waiting([&] { opened = OpenCatalog(other, dir.path(), "MUSIC", CatalogAccess::kChange); });
  // The other program has the old entry file open and waits for its lock while this one rebuilds.
  otherFiles.AwaitLockCalls(1);
  CatalogLayout layout = LayoutOf(program);
  layout.lengths[0] = 25;
  ASSERT_TRUE(ChangeLayout(program, layout));
  ShutDown(program);
  waiting.join();
  ASSERT_NE(opened, 0);
  EXPECT_EQ(other.header.FieldLength[0], 25);
  EntryRecord entry;
  ASSERT_TRUE(ReadEntry(other, entry, other.header, 1, opened));
  EXPECT_EQ(entry.Field[1], "Arrival" + std::string(23, ' '));
}

}  // namespace
}  // namespace vrk::test
