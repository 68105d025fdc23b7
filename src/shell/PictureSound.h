// Pictures and sounds: an entry's field 21 names one picture file and one sound file, as the sound
// path, the character 1 and the picture path, each without trailing blanks. The paths are kept as
// text of the catalog (code page 1252 in memory, 437 on the disk); the files are found at the paths
// as stored, relative ones from the program's working directory.
#pragma once

#include <optional>
#include <string>

#include "admin/CatalogFiles.h"  // StoredSoundPath, StoredPicturePath
#include "shell/Program.h"

namespace vrk {

// The Edit Picture/Sound window: the two paths as the file system names them (UTF-8).
struct PictureSoundEditor {
  Program& program;
  std::string picture;
  std::string sound;
  bool makeRoom = false;  // Save agreed to widen field 21 for the paths: the window closes for that
};

// The length field 21 is offered to grow to when the paths do not fit.
inline constexpr short kRoomyField21 = 80;

// Field 21's text for two paths (file system bytes), or the message that refuses them: a path with a
// character the catalog cannot store, or paths longer than field 21.
struct Field21Result {
  std::string text;
  std::string refusal;     // empty when the paths fit
  std::size_t needed = 0;  // the length the paths need, when they can be stored at all
};
Field21Result Field21Text(const std::string& sound, const std::string& picture, short field21Length);

// The picture and sound state of a shown entry (box 20 holds its field 21): Picture and Sound enabled
// when it has them, the sound picture, and the thumbnail when it is switched on.
void ShowPictureAndSound(Program& program);
// An erased screen: neither command, the empty pictures.
void ErasePictureAndSound(Program& program);

// Edit > Picture/Sound: edits the paths and saves the entry with them. When the editor's Save widened
// field 21, the catalog is rebuilt with it (as Edit Catalog does), the entry comes back as it was on
// the screen and the editor opens again with the same paths. True when the entry was saved.
bool PictureSoundCommand(Program& program);
// Save in the editor: puts field 21's text into box 20. Paths longer than field 21 that would fit in
// kRoomyField21 characters get the offer to widen it (makeRoom then, and true). False after the
// message that refuses them.
bool AcceptPictureSound(PictureSoundEditor& editor);

// The Picture window: the picture file it shows.
struct PictureWindow {
  std::string path;         // as the file system names it
  bool loadFailed = false;  // set by the window when the file is no picture
};
// View > Picture (a click on the thumbnail, Ctrl+Page Down).
void PictureCommand(Program& program);
// View > Sound (a click on the sound picture): plays the entry's sound, or stops the one playing.
void SoundCommand(Program& program);
// View > Thumbnail: switches the thumbnail off or on; switched on, it looks for the picture
// relative to the catalog directory.
void ThumbnailCommand(Program& program);

}  // namespace vrk
