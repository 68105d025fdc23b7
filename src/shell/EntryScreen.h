// The EntryScreen port: what the browsing and editing commands need of the main window. The desktop
// program implements it with frmVRKMain; TextScreen keeps it in memory for vrkcli and the tests.
#pragma once

#include <string>

#include "catalog/CatalogTypes.h"

namespace vrk {

// The keyed panels of the status bar.
enum class Panel { Entry, CatName, Deleted, Sorted, RptDest, SearchMode };

// Commands the program enables and disables as its state changes: whole menus, menu items, and the
// buttons along the top (Previous … Sequential).
enum class Command {
  EditMenu,
  ViewMenu,
  UtilitiesMenu,
  SaveEntryItem,
  DeleteEntryItem,
  UndeleteEntryItem,
  CopyAnyPreviousItem,
  CopyLastItem,
  MemoItem,
  RemoveMemoItem,
  PictureSoundItem,
  PictureItem,  // View > Picture
  SoundItem,    // View > Sound
  ReplaceItem,
  FindDeletedItem,
  ReIndex,
  Sort,
  EliminateDeleted,
  Previous,
  Next,
  CopyLast,
  Delete,
  Save,
  Alpha,
  Clear,
  Sequential,
};

class EntryScreen {
 public:
  virtual ~EntryScreen() = default;
  // Texts of the 21 entry boxes; box 20 (field 21) is never shown.
  virtual std::string BoxText(int box) const = 0;
  virtual void SetBoxText(int box, const std::string& text) = 0;
  virtual void SetPanel(Panel panel, const std::string& text) = 0;
  virtual void EnableCommand(Command command, bool enabled) = 0;
  virtual void FocusBox(int box) = 0;
  // Lays the rows out for the current catalog's field table and lengths.
  virtual void LayoutEntryScreen() = 0;
  // The small "Saving..." window shown while an entry and its keys are written.
  virtual void ShowSavingWindow(EntryNumber n) = 0;
  virtual void CloseSavingWindow() = 0;
  virtual void RefreshStatusBar() = 0;
  // The thumbnail beside the entry (Image1): the picture file at `path`, kept in proportion, or the
  // empty picture for an empty path. False when the file could not be loaded as a picture.
  virtual bool ShowThumbnail(const std::string& path) = 0;
  // The sound indicator (Image2): the sound picture, or the empty picture.
  virtual void ShowSoundPicture(bool shown) = 0;
  // Types the text into the focused box, character by character as keys typed would.
  virtual void TypeText(const std::string& text) = 0;
};

}  // namespace vrk
