// An entry screen kept in memory: the boxes, panels and command states without a window. vrkcli types
// its entries here, and the tests watch what the commands do to the screen.
#pragma once

#include <array>
#include <map>
#include <string>

#include "shell/EntryScreen.h"

namespace vrk {

class TextScreen : public EntryScreen {
 public:
  std::string BoxText(int box) const override { return boxes[static_cast<std::size_t>(box)]; }
  void SetBoxText(int box, const std::string& text) override { boxes[static_cast<std::size_t>(box)] = text; }
  void SetPanel(Panel panel, const std::string& text) override { panels[panel] = text; }
  void EnableCommand(Command command, bool enabled) override { enabledCommands[command] = enabled; }
  void FocusBox(int box) override { focusedBox = box; }
  void LayoutEntryScreen() override { ++layouts; }
  void ShowSavingWindow(EntryNumber n) override { savingWindowEntry = n; }
  void CloseSavingWindow() override { savingWindowEntry = 0; }
  void RefreshStatusBar() override {}
  bool ShowThumbnail(const std::string& path) override {
    thumbnail = path;
    return path.empty() || picturesLoad;
  }
  void ShowSoundPicture(bool shown) override { soundPicture = shown; }
  void TypeText(const std::string& text) override {
    if (focusedBox >= 0) boxes[static_cast<std::size_t>(focusedBox)] += text;
  }

  std::string Panel(vrk::Panel panel) const {
    const auto it = panels.find(panel);
    return it == panels.end() ? std::string() : it->second;
  }
  bool Enabled(Command command) const {
    const auto it = enabledCommands.find(command);
    return it == enabledCommands.end() || it->second;
  }

  std::array<std::string, kFieldCount> boxes;
  std::map<vrk::Panel, std::string> panels;
  std::map<Command, bool> enabledCommands;
  int focusedBox = -1;
  int layouts = 0;
  EntryNumber savingWindowEntry = 0;
  std::string thumbnail;     // the picture file shown beside the entry, empty for none
  bool picturesLoad = true;  // false: every picture file fails to load
  bool soundPicture = false;
};

}  // namespace vrk
