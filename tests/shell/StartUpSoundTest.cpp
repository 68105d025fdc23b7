#include <gtest/gtest.h>

#include "fakes/FakePrinter.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeUi.h"
#include "fakes/TempDirectory.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"

namespace vrk {
namespace {

using test::TempDirectory;

TEST(PlaySound, PlaysAnExistingFileAndClosesTheDeviceAfterwards) {
  TempDirectory dir;
  test::FakeUi ui;
  TextScreen screen;
  test::FakeSound sound;
  test::FakePrinter printer;
  Program program{{ui, screen, sound, printer}};
  SetProgramDirectory(program, dir.path());

  PlaySound(program, dir / "VRKOPEN.WAV");  // missing: nothing is tried
  EXPECT_TRUE(sound.calls.empty());

  TempDirectory::WriteFile(dir / "VRKOPEN.WAV", "RIFF");
  sound.playable = false;  // no audio device
  PlaySound(program, dir / "VRKOPEN.WAV");
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"open " + (dir / "VRKOPEN.WAV")}));

  sound.calls.clear();
  sound.playable = true;
  PrepareStartUp(program);
  sound.Finish();
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"open " + (dir / "VRKOPEN.WAV"), "play", "close"}));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vrk
