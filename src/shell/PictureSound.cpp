#include "shell/PictureSound.h"

#include "catalog/EntryFile.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Sound.h"
#include "platform/Ui.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"
#include "shell/Startup.h"
#include "support/Support.h"

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

std::string Path(std::int16_t (*find)(std::string_view, std::string&), const std::string& field21) {
  std::string path;
  return find(field21, path) == 0 ? Utf8FromAnsi(path) : std::string();
}

std::string Field21(const Program& program) { return program.screen.BoxText(kMediaField); }

// Loads the picture into the thumbnail; a file that is no picture is said, and the empty picture shown.
void LoadThumbnail(Program& program, const std::string& path, const std::string& stored) {
  program.ui.ShowBusy();
  const bool loaded = program.screen.ShowThumbnail(path);
  program.ui.ClearBusy();
  if (loaded) return;
  program.ui.Message("Error Loading Picture: " + AnsiFromUtf8(stored));
  program.screen.ShowThumbnail("");
}

}  // namespace

std::string StoredSoundPath(const std::string& field21) { return Path(lib::GetWAVName, field21); }
std::string StoredPicturePath(const std::string& field21) { return Path(lib::GetBMPName, field21); }

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
            "field 21."};
  }
  return {text, {}};
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
  const Field21Result field = Field21Text(editor.sound, editor.picture, program.header.FieldLength[kMediaField]);
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
  if (!program.ui.dialogs.Show(editor)) return false;
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
