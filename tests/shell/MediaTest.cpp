// Memos, pictures and sounds, and text macros as the commands of the main window run them.
#include <gtest/gtest.h>

#include "catalog/Memo.h"
#include "fakes/ProgramFixture.h"
#include "shell/Memos.h"
#include "shell/PictureSound.h"
#include "shell/TextMacros.h"

namespace vrk {
namespace {

using test::MakeLayout;
using test::TempDirectory;

class MediaTest : public test::ProgramFixture {
 protected:
  void OpenMusic(short field21 = 51) {
    CatalogLayout layout = MakeLayout({{"Title", 20, kKeyField}});
    layout.lengths[kMediaField] = field21;
    Open(layout);
  }
  // The memo editor answers with `text`.
  void AnswerMemo(const std::string& text) {
    ui.dialogs.Register<MemoEditor>([text](MemoEditor& editor) {
      editor.text = text;
      return true;
    });
  }
  void ShowField21(const std::string& field21) {
    screen.SetBoxText(kMediaField, field21);
    ShowPictureAndSound(program);
  }
};

TEST_F(MediaTest, MemoCommandsNumberTheMemosAndSayWhatTheyDid) {
  OpenMusic();
  Add({"One"});
  Add({"Two"});
  Add({"Three"});
  for (EntryNumber n = 1; n <= 3; ++n) {
    Show(n);
    AnswerMemo("memo " + std::to_string(n));
    ASSERT_TRUE(MemoCommand(program));
    EXPECT_EQ(program.currentEntry.MemoNumber, static_cast<float>(n));
    EXPECT_EQ(screen.Panel(Panel::Deleted), "SEE MEMO");
  }
  Show(2);
  ASSERT_TRUE(RemoveMemoCommand(program));
  EXPECT_EQ(screen.Panel(Panel::Deleted), "");
  EXPECT_FALSE(RemoveMemoCommand(program));
  EXPECT_EQ(ui.texts().back(), "No memo to delete.");
  AnswerMemo("again");
  ASSERT_TRUE(MemoCommand(program));
  EXPECT_EQ(program.currentEntry.MemoNumber, 4.0f);
  EXPECT_EQ(ReadMemo(program, 3), "memo 3");

  // A deleted entry with a memo shows the memo rather than the deletion.
  Show(3);
  ASSERT_TRUE(DeleteEntry(program));
  Show(3);
  EXPECT_EQ(screen.Panel(Panel::Deleted), "SEE MEMO");
}

TEST_F(MediaTest, AMemoWrittenForANewEntryIsSavedWithItAndForgottenByErase) {
  OpenMusic();
  AnswerMemo("first");
  ASSERT_TRUE(MemoCommand(program));
  EXPECT_EQ(program.header.Count(), 0);
  Type({"New"});
  SaveEntry(program);
  Show(1);
  EXPECT_EQ(ReadMemo(program, program.currentEntry.MemoNumber), "first");
  EraseScreen(program);
  AnswerMemo("left unused");
  ASSERT_TRUE(MemoCommand(program));
  EraseScreen(program);
  Type({"Plain"});
  SaveEntry(program);
  Show(2);
  EXPECT_EQ(program.currentEntry.MemoNumber, 0.0f);
}

TEST_F(MediaTest, Field21HoldsTheSoundThePartingCharacterAndThePicture) {
  EXPECT_EQ(Field21Text(std::string(20, 's'), std::string(30, 'p'), 51).text,
            std::string(20, 's') + '\x01' + std::string(30, 'p'));
  const Field21Result tooLong = Field21Text(std::string(20, 's'), std::string(30, 'p'), 50);
  EXPECT_EQ(tooLong.refusal,
            "The length of the file paths are longer than the length of field 21.\r\rPlease increase the size of "
            "field 21.");
  EXPECT_EQ(Field21Text("", "", 1).text, "\x01");
  // Characters code page 437 or 1252 lacks, or a control character, are never stored.
  for (const std::string path : {"pics/\xE2\x82\xAC.bmp", "pics/\xC5\x99.bmp",
                                 "a\x01"
                                 "b.bmp"}) {
    EXPECT_NE(Field21Text("", path, 80).refusal.find("cannot store"), std::string::npos) << path;
  }
  EXPECT_EQ(Field21Text("", "caf\xC3\xA9.bmp", 80).text,
            "\x01"
            "caf\xE9.bmp");
  EXPECT_EQ(StoredPicturePath("\x01"
                              "caf\xE9.bmp"),
            "caf\xC3\xA9.bmp");
}

TEST_F(MediaTest, PictureSoundSavesTheEntryAndRefusesPathsThatDoNotFit) {
  OpenMusic(20);
  Add({"One"});
  Show(1);
  std::string picture = "pics/one.bmp", sound = "one.wav";
  ui.dialogs.Register<PictureSoundEditor>([&](PictureSoundEditor& editor) {
    editor.picture = picture;
    editor.sound = sound;
    return AcceptPictureSound(editor);
  });
  ASSERT_TRUE(PictureSoundCommand(program));
  Show(1);
  EXPECT_EQ(RightTrim(program.currentEntry.Field[kMediaField]), "one.wav\x01pics/one.bmp");
  EXPECT_TRUE(screen.Enabled(Command::PictureItem));
  EXPECT_TRUE(screen.Enabled(Command::SoundItem));
  EXPECT_EQ(screen.thumbnail, "pics/one.bmp");
  picture = "pics/a-longer-name.bmp";
  ui.answers = {Answer::No};
  EXPECT_FALSE(PictureSoundCommand(program));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Field 21 holds 20 characters; make it 80 so that the paths fit?",
                                                  "The length of the file paths are longer than the length of field "
                                                  "21.\r\rPlease increase the size of field 21."}));
  EXPECT_TRUE(ui.messages[0].defaultNo);
  Show(1);
  EXPECT_EQ(RightTrim(program.currentEntry.Field[kMediaField]), "one.wav\x01pics/one.bmp");
  // Paths no widening can hold are refused without the offer.
  ui.messages.clear();
  picture = std::string(80, 'p');
  EXPECT_FALSE(PictureSoundCommand(program));
  EXPECT_EQ(ui.texts().size(), 1u);
}

// Yes rebuilds the catalog with field 21 80 long and comes back to the same entry, typed text kept, with
// the editor open again, whose Save then stores the paths.
TEST_F(MediaTest, PictureSoundWidensField21WhenThePathsDoNotFit) {
  OpenMusic(0);
  Add({"One"});
  Add({"Two"});
  Show(1);
  screen.SetBoxText(0, "One, typed");
  int shown = 0;
  ui.dialogs.Register<PictureSoundEditor>([&](PictureSoundEditor& editor) {
    if (++shown == 1) editor.picture = "pics/one.bmp";
    EXPECT_EQ(editor.program.currentEntryNumber, 1);
    EXPECT_EQ(screen.BoxText(0), "One, typed");
    return AcceptPictureSound(editor);
  });
  ui.answers = {Answer::Yes};
  ASSERT_TRUE(PictureSoundCommand(program));
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(program.header.FieldLength[kMediaField], 80);
  EXPECT_EQ(ui.texts()[1], "Field lengths were changed. About to rebuild catalog.");
  Show(1);
  EXPECT_EQ(RightTrim(program.currentEntry.Field[0]), "One, typed");
  EXPECT_EQ(RightTrim(program.currentEntry.Field[kMediaField]), "\x01pics/one.bmp");
  EXPECT_EQ(Walk(0), (std::vector<EntryNumber>{1, 2}));
}

TEST_F(MediaTest, PictureAndSoundFollowTheShownEntry) {
  OpenMusic();
  ShowField21("\x01");
  EXPECT_FALSE(screen.Enabled(Command::PictureItem));
  EXPECT_FALSE(screen.Enabled(Command::SoundItem));
  ShowField21("s.wav\x01");
  EXPECT_TRUE(screen.Enabled(Command::SoundItem));
  EXPECT_TRUE(screen.soundPicture);
  EXPECT_FALSE(screen.Enabled(Command::PictureItem));

  screen.picturesLoad = false;
  ShowField21("\x01p.bmp");
  EXPECT_EQ(ui.texts().back(), "Error Loading Picture: p.bmp");
  EXPECT_EQ(screen.thumbnail, "");
  EXPECT_TRUE(screen.Enabled(Command::PictureItem));
  screen.picturesLoad = true;

  // Switched on again, the thumbnail looks beside the catalog; the next entry shown loads the path as stored.
  ThumbnailCommand(program);
  EXPECT_FALSE(program.thumbnail);
  ShowField21("\x01p.bmp");
  EXPECT_TRUE(screen.Enabled(Command::PictureItem));
  EXPECT_EQ(screen.thumbnail, "");
  ThumbnailCommand(program);
  EXPECT_EQ(screen.thumbnail, dir / "p.bmp");
  ShowField21("\x01p.bmp");
  EXPECT_EQ(screen.thumbnail, "p.bmp");

  EraseScreen(program);
  EXPECT_FALSE(screen.Enabled(Command::PictureItem));
  EXPECT_FALSE(screen.Enabled(Command::SoundItem));
  EXPECT_FALSE(screen.soundPicture);

  screen.SetBoxText(kMediaField, "\x01");
  PictureCommand(program);
  EXPECT_EQ(ui.texts().back(), "Invalid Picture");
}

TEST_F(MediaTest, EveryKeyHasItsMacroAndTheMenuLettersNone) {
  const MacroKeyTable keys = BuildMacroKeyTable();
  const std::string order = "1234567890ABCDGIJKLMNPQSTWXYZ";
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(keys[static_cast<unsigned char>(order[i])], static_cast<short>(i)) << order[i];
    EXPECT_EQ(MacroKeyName(static_cast<int>(i)), std::string("Alt + ") + order[i]);
  }
  for (const char c : std::string("EFHORUV")) EXPECT_EQ(keys[static_cast<unsigned char>(c)], -1) << c;
}

TEST_F(MediaTest, MacroFileIsThirtyRecordsOfTextAndTheValueTwo) {
  OpenMusic();
  MacroTable table;
  table[0] = "Long playing record";
  table[29] = std::string(70, 'x');  // cut to its record
  ASSERT_TRUE(SaveMacros(program, table));
  const std::string bytes = TempDirectory::ReadFile(dir / "CAT.MCR");
  ASSERT_EQ(bytes.size(), 2100u);
  EXPECT_EQ(bytes.substr(0, 70), "Long playing record" + std::string(49, ' ') + std::string("\x02\x00", 2));
  EXPECT_EQ(bytes.substr(70, 70), std::string(68, ' ') + std::string("\x02\x00", 2));
  EXPECT_EQ(bytes.substr(2030, 70), std::string(68, 'x') + std::string("\x02\x00", 2));

  MacroTable read;
  read[5] = "kept?";
  ASSERT_TRUE(LoadMacros(program, read));
  EXPECT_EQ(read[0], "Long playing record");
  EXPECT_EQ(read[5], "");
  EXPECT_EQ(read[29], std::string(68, 'x'));
}

TEST_F(MediaTest, MacrosAreSavedWithTheEditorsRulesAndKeptWithoutAFile) {
  OpenMusic();
  EditMacro edit{program};
  EXPECT_FALSE(SaveMacroText(edit, 3, ""));
  EXPECT_EQ(ui.texts().back(), "No Macro Text Specified.");
  EXPECT_FALSE(FileExists(dir / "CAT.MCR"));
  const std::string typed = "1+1=2 {50%} ^(a)~[b] ends  ";
  ASSERT_TRUE(SaveMacroText(edit, 3, typed));
  MacroTable loaded;
  ASSERT_TRUE(LoadMacros(program, loaded));
  EXPECT_EQ(TypedMacro(loaded, 3), "1+1=2 {50%} ^(a)~[b] ends");  // trailing blanks are not kept
  // A catalog without a macro file keeps the macros of the one before.
  ASSERT_TRUE(CreateNewCatalog(program, dir.path(), "OTHER", MakeLayout({{"Name", 10}})));
  ASSERT_TRUE(OpenCatalogOnScreen(program, dir.path(), "OTHER"));
  EXPECT_EQ(TypedMacro(program.macros.table, 3), typed);
}

TEST_F(MediaTest, AMacroIsTypedIntoTheFocusedBoxAsItWasEntered) {
  OpenMusic();
  EditMacro edit{program};
  ASSERT_TRUE(SaveMacroText(edit, 0, "{+}%^~"));
  ASSERT_TRUE(SaveMacroText(edit, 28, "last"));
  screen.FocusBox(0);
  screen.SetBoxText(0, "x");
  EXPECT_TRUE(ExpandMacro(program, '1'));
  EXPECT_TRUE(ExpandMacro(program, 'Z'));
  EXPECT_TRUE(ExpandMacro(program, '2'));  // empty: nothing typed
  EXPECT_FALSE(ExpandMacro(program, 'F'));
  EXPECT_EQ(screen.BoxText(0), "x{+}%^~last");
}

// Stopped or refused at any write, the macro file is the old one or the new one, never a mixture.
TEST_F(MediaTest, AMacroSaveStoppedAtAnyWriteLeavesOneWholeFile) {
  OpenMusic();
  EditMacro edit{program};
  ASSERT_TRUE(SaveMacroText(edit, 0, "old"));
  const std::string before = TempDirectory::ReadFile(dir / "CAT.MCR");
  files.SetWriteFault(test::FaultKind::kNone);
  MacroTable table = program.macros.table;
  table[0] = "new";
  ASSERT_TRUE(SaveMacros(program, table));
  const long writes = files.ChangesSoFar();
  for (const auto kind : {test::FaultKind::kStop, test::FaultKind::kFail}) {
    for (long at = 1; at <= writes; ++at) {
      TempDirectory::WriteFile(dir / "CAT.MCR", before);
      files.SetWriteFault(kind, at);
      const bool saved = SaveMacros(program, table);
      files.SetWriteFault(test::FaultKind::kNone);
      const std::string after = TempDirectory::ReadFile(dir / "CAT.MCR");
      EXPECT_TRUE(after == before || after == MacroFileBytes(table)) << "write " << at;
      if (kind == test::FaultKind::kFail) EXPECT_FALSE(saved) << "write " << at;
    }
  }
}

}  // namespace
}  // namespace vrk
