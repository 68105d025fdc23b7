#include "shell/PictureSound.h"

#include <array>

#include "admin/EditCatalog.h"
#include "catalog/EntryFile.h"
#include "platform/CodePage.h"
#include "platform/LongOperation.h"
#include "platform/Paths.h"
#include "platform/Sound.h"
#include "shell/Browsing.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"
#include "shell/Maintenance.h"
#include "shell/Startup.h"
#include "support/MediaNames.h"

namespace vrk {
namespace {

// A path as field 21 keeps it, or nothing when a character of it cannot be kept: one that code page
// 1252 or 437 lacks, or a control character (the character 1 parts the two paths).
std::optional<std::string> StorablePath(const std::string& path) {
  const std::string text = AnsiFromUtf8(path);
  if (Utf8FromAnsi(text) != path || OemToChar(CharToOem(text)) != text) return std::nullopt;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
  }
  return RightTrim(text);
}

std::string Field21(const Program& program) { return program.screen.BoxText(kMediaField); }

// Loads the picture into the thumbnail; a file that is no picture is said, and the empty picture shown.
void LoadThumbnail(Program& program, const std::string& path, const std::string& stored) {
  LongOperation busy(program.ui, {.busy = true});
  const bool loaded = program.screen.ShowThumbnail(path);
  busy.End();
  if (loaded) return;
  program.ui.Message("Error Loading Picture: " + AnsiFromUtf8(stored));
  program.screen.ShowThumbnail("");
}

// Rebuilds the current catalog with field 21 kRoomyField21 long, as Edit Catalog does, and puts the
// entry back on the screen as it was, typed changes included. False when the rebuild failed (said).
bool WidenField21(Program& program, PictureSoundEditor& editor) {
  editor.makeRoom = false;
  const EntryNumber shown = program.NewEntryState() ? 0 : program.currentEntryNumber;
  std::array<std::string, kFieldCount> typed;
  for (int box = 0; box < kFieldCount; ++box) typed[static_cast<std::size_t>(box)] = program.screen.BoxText(box);
  EraseScreen(program);  // which closes the browse index, whose file the rebuild replaces
  StoreCurrentCatalog(program);
  CatalogLayout layout = LayoutOf(program);
  layout.lengths[kMediaField] = kRoomyField21;
  const bool widened = ChangeLayout(program, layout);  // a failure leaves the catalog as it was
  PresentCurrentCatalog(program);
  if (shown != 0) GoToEntry(program, shown);
  for (int box = 0; box < kFieldCount; ++box) program.screen.SetBoxText(box, typed[static_cast<std::size_t>(box)]);
  return widened;
}

}  // namespace

Field21Result Field21Text(const std::string& sound, const std::string& picture, short field21Length) {
  const auto storedSound = StorablePath(sound), storedPicture = StorablePath(picture);
  if (!storedSound || !storedPicture) {
    return {{},
            "The path " + PathText(storedSound ? picture : sound) +
                " holds characters that field 21 cannot store. Please choose a file whose path has none."};
  }
  std::string text = *storedSound + lib::kMediaSeparator + *storedPicture;
  if (text.size() > static_cast<std::size_t>(std::max<short>(field21Length, 0))) {
    return {{},
            "The length of the file paths are longer than the length of field 21.\r\rPlease increase the size of "
            "field 21.",
            text.size()};
  }
  return {text, {}, text.size()};
}

void ShowPictureAndSound(Program& program) {
  const std::string field21 = Field21(program);
  const bool sound = !StoredSoundPath(field21).empty();
  program.screen.EnableCommand(Command::SoundItem, sound);
  program.screen.ShowSoundPicture(sound);
  const std::string picture = StoredPicturePath(field21);
  program.screen.EnableCommand(Command::PictureItem, !picture.empty());
  if (picture.empty() || !program.thumbnail) {
    program.screen.ShowThumbnail("");
  } else {
    LoadThumbnail(program, picture, picture);
  }
}

void ErasePictureAndSound(Program& program) {
  program.screen.EnableCommand(Command::SoundItem, false);
  program.screen.EnableCommand(Command::PictureItem, false);
  program.screen.ShowSoundPicture(false);
  program.screen.ShowThumbnail("");
}

bool AcceptPictureSound(PictureSoundEditor& editor) {
  Program& program = editor.program;
  const short length = program.header.FieldLength[kMediaField];
  const Field21Result field = Field21Text(editor.sound, editor.picture, length);
  if (field.needed > static_cast<std::size_t>(std::max<short>(length, 0)) &&
      field.needed <= static_cast<std::size_t>(kRoomyField21) &&
      program.ui.ShowMessage({"Field 21 holds " + std::to_string(length) + " characters; make it " +
                                  std::to_string(kRoomyField21) + " so that the paths fit?",
                              kAppTitle, Buttons::YesNo, Icon::Question, true}) == Answer::Yes) {
    return editor.makeRoom = true;
  }
  if (!field.refusal.empty()) {
    program.ui.Message(field.refusal);
    return false;
  }
  program.screen.SetBoxText(kMediaField, field.text);
  return true;
}

bool PictureSoundCommand(Program& program) {
  if (!MayChangeEntries(program)) return false;
  const std::string field21 = Field21(program);
  PictureSoundEditor editor{program, StoredPicturePath(field21), StoredSoundPath(field21)};
  for (;;) {
    if (!program.ui.dialogs.Show(editor)) return false;
    if (!editor.makeRoom) break;
    if (!WidenField21(program, editor)) return false;
  }
  const bool existing = !program.NewEntryState();
  if (!SaveEntry(program)) return false;
  // A new entry was saved and the screen erased for the next one, which is what stays shown.
  EntryRecord record;
  if (existing && ReadEntry(program, record, program.header, program.currentEntryNumber, program.entryFile)) {
    program.currentEntry = record;
    ShowEntry(program, record);
  }
  return true;
}

void PictureCommand(Program& program) {
  PictureWindow window{StoredPicturePath(Field21(program))};
  if (window.path.empty()) {
    program.ui.Message("Invalid Picture");
    return;
  }
  program.ui.dialogs.Show(window);
  if (window.loadFailed) program.ui.Message("Error Loading Picture: " + AnsiFromUtf8(window.path));
  program.screen.ShowSoundPicture(!StoredSoundPath(Field21(program)).empty());
}

void SoundCommand(Program& program) {
  if (!program.playingSound.empty()) {
    program.sound.Stop();
    program.playingSound.clear();
    program.sound.Close();
    return;
  }
  const std::string path = StoredSoundPath(Field21(program));
  if (path.empty()) {
    program.ui.Message("No Sound File");
    return;
  }
  if (PlaySound(program, path)) program.playingSound = path;
}

void ThumbnailCommand(Program& program) {
  program.thumbnail = !program.thumbnail;
  program.screen.ShowThumbnail("");
  const std::string picture = StoredPicturePath(Field21(program));
  // Switched on, the picture is looked for beside the catalog: found only for a path relative to it.
  if (program.thumbnail && !picture.empty()) LoadThumbnail(program, program.catalogDirectory + "/" + picture, picture);
}

}  // namespace vrk
