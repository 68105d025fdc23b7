// The security code in VANTLOCK.SET and the start-up's question.
#include <gmock/gmock.h>

#include "AdminFixture.h"
#include "admin/SecurityCode.h"
#include "platform/Profile.h"
#include "shell/Utilities.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

class SecurityCodeTest : public AdminTest {
 protected:
  // A settings file whose bytes 0 to 83 are 0, 3, 6 … (box-drawing characters of the OEM code page
  // among them), with the code in bytes 84 and 85.
  void StoreCode(short code) {
    std::string bytes;
    for (int i = 0; i < 84; ++i) bytes += static_cast<char>(i * 3);
    bytes += static_cast<char>(code & 0xFF);
    bytes += static_cast<char>((code >> 8) & 0xFF);
    TempDirectory::WriteFile(dir / kSecurityFileName, bytes);
  }
  SecurityCheck Check(std::optional<std::string> answer) {
    ui.promptAnswers = {answer};
    return CheckSecurityCode(program);
  }
};

TEST_F(SecurityCodeTest, TheThreeRangesOfCodes) {
  StoreCode(501);
  EXPECT_EQ(Check("1"), SecurityCheck::kPassed);
  EXPECT_TRUE(ui.numberPrompts.empty());
  StoreCode(500);
  EXPECT_EQ(Check("1"), SecurityCheck::kReadOnly);
  EXPECT_EQ(Check(std::nullopt), SecurityCheck::kReadOnly);
  EXPECT_EQ(Check("500"), SecurityCheck::kPassed);
  StoreCode(250);
  EXPECT_EQ(Check("1"), SecurityCheck::kDenied);
  StoreCode(100);
  EXPECT_EQ(Check(std::nullopt), SecurityCheck::kDenied);
  StoreCode(7);
  for (const char* answer : {"7", "07", "007"}) EXPECT_EQ(Check(answer), SecurityCheck::kPassed) << answer;
  EXPECT_THAT(ui.events, ElementsAre("beep", "message: ACCESS DENIED!!!", "beep", "message: ACCESS DENIED!!!"));
  const NumberPrompt& prompt = ui.numberPrompts.at(0);
  EXPECT_EQ(prompt.caption, "Security Check");
  EXPECT_EQ(prompt.question, "Please Enter Password");
  EXPECT_TRUE(prompt.password);
  EXPECT_EQ(prompt.maxLength, 3);
}

TEST_F(SecurityCodeTest, AMissingOrShortFileHoldsNoCode) {
  EXPECT_EQ(Check("1"), SecurityCheck::kPassed);
  TempDirectory::WriteFile(dir / kSecurityFileName, std::string(60, '\0'));
  EXPECT_EQ(Check("1"), SecurityCheck::kPassed);
  EXPECT_TRUE(ui.numberPrompts.empty());
}

TEST_F(SecurityCodeTest, SettingACodeKeepsTheBytesAroundItAndIsAskedForAtTheNextStart) {
  StoreCode(999);
  const std::string before = TempDirectory::ReadFile(dir / kSecurityFileName);
  ui.promptAnswers = {std::nullopt, "", "321"};
  for (int i = 0; i < 3; ++i) SetSecurityCodeCommand(program);
  const std::string after = TempDirectory::ReadFile(dir / kSecurityFileName);
  EXPECT_EQ(after.substr(0, 84), before.substr(0, 84));
  EXPECT_EQ(after.substr(84), std::string("\x41\x01", 2));
  const NamePrompt& prompt = ui.namePrompts.at(0);
  EXPECT_EQ(prompt.caption, "Set Security Code");
  EXPECT_EQ(prompt.question, "Enter 3-Digit Number");
  EXPECT_TRUE(prompt.digitsOnly);
  EXPECT_EQ(prompt.maxLength, 3);

  // The next start asks; a wrong answer gives the read-only state, which disables the Utilities
  // menu and the editing commands also without a catalog.
  ui.promptAnswers = {"12"};
  ASSERT_TRUE(PrepareStartUp(program));
  EXPECT_TRUE(program.readOnly);
  OpenStartCatalog(program);
  EXPECT_FALSE(screen.Enabled(Command::UtilitiesMenu));
  EXPECT_FALSE(screen.Enabled(Command::SaveEntryItem));
}

TEST_F(SecurityCodeTest, AShortFileKeepsItsBytesAndGetsTheCodeAfterZeros) {
  const std::string text(60, '\xC4');
  TempDirectory::WriteFile(dir / kSecurityFileName, text);
  ui.promptAnswers = {"123"};
  SetSecurityCodeCommand(program);
  EXPECT_EQ(TempDirectory::ReadFile(dir / kSecurityFileName), text + std::string(24, '\0') + std::string("\x7B\0", 2));
}

TEST_F(SecurityCodeTest, ANewFileGetsTheCodeAfterFortyTwoEmptyBytes) {
  ui.promptAnswers = {"300"};
  SetSecurityCodeCommand(program);
  const std::string file = TempDirectory::ReadFile(dir / kSecurityFileName);
  ASSERT_EQ(file.size(), 86u);
  EXPECT_EQ(file.substr(0, 84), std::string(84, '\0'));
  EXPECT_EQ(file.substr(84), std::string("\x2C\x01", 2));
  ui.promptAnswers = {"1"};
  EXPECT_FALSE(PrepareStartUp(program) && !program.readOnly);
}

}  // namespace
}  // namespace vrk::test
