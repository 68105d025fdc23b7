#include <gtest/gtest.h>

#include "fakes/FakePrinter.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeUi.h"
#include "fakes/TempDirectory.h"
#include "shell/PictureSound.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"

namespace vrk {
namespace {

using test::TempDirectory;

// A program whose sounds go to the test double.
class SoundTest : public ::testing::Test {
 protected:
  SoundTest() { SetProgramDirectory(program, dir.path()); }

  TempDirectory dir;
  test::FakeUi ui;
  TextScreen screen;
  test::FakeSound sound;
  test::FakePrinter printer;
  Program program{{ui, screen, sound, printer}};
};

TEST_F(SoundTest, PlaysAnExistingFileAndClosesTheDeviceAfterwards) {
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

TEST_F(SoundTest, ASecondSoundCommandStopsTheSoundAndAThirdPlaysItFromTheStart) {
  SoundCommand(program);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Sound File"});
  TempDirectory::WriteFile(dir / "s.wav", "RIFF");
  screen.SetBoxText(kMediaField, dir / "s.wav" + "\x01");
  SoundCommand(program);
  SoundCommand(program);
  SoundCommand(program);
  sound.Finish();
  EXPECT_EQ(program.playingSound, "");
  const std::string open = "open " + dir / "s.wav";
  EXPECT_EQ(sound.calls, (std::vector<std::string>{open, "play", "stop", "close", open, "play", "close"}));
  // Without an audio device nothing plays, nothing is said, and the next press tries again.
  sound.playable = false;
  sound.calls.clear();
  SoundCommand(program);
  SoundCommand(program);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{open, open}));
  EXPECT_EQ(ui.texts().size(), 1u);
}

}  // namespace
}  // namespace vrk
