// The Qt Ui's prompts, gauge, message boxes and file choosers, and the program's smaller windows.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QtTest/QTest>

#include "Desktop.h"
#include "fakes/TempDirectory.h"
#include "ui/frmAbout.h"
#include "ui/frmEnd.h"
#include "ui/frmEnterName.h"
#include "ui/frmEnterNumber.h"
#include "ui/frmGauge.h"
#include "ui/frmStart.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

// Answers a name prompt by typing into it and pressing OK.
std::function<void(QDialog&)> TypeName(const QString& typed) {
  return [typed](QDialog& dialog) {
    auto& prompt = dynamic_cast<frmEnterName&>(dialog);
    QTest::keyClicks(prompt.txtName, typed);
    prompt.cmdOK->click();
  };
}

class WindowsTest : public ::testing::Test {
 protected:
  RecordingUi ui;
};

// How far a window's middle is from the middle of its screen.
int OffCentre(const QWidget& window) {
  return (window.frameGeometry().center() - window.screen()->availableGeometry().center()).manhattanLength();
}

TEST_F(WindowsTest, NamePromptTakesLettersAndDigitsUnlessTaggedOne) {
  ui.script = {TypeName("Ab_c.1 x"), TypeName("Ab_c.1 x")};
  EXPECT_EQ(ui.AskName({.caption = "New Catalog", .question = "Name?"}), "Abc1x");
  EXPECT_THAT(ui.events, ElementsAre("beep", "beep", "beep"));
  EXPECT_EQ(ui.AskName({.caption = "Report Title", .question = "Title?", .anyTextAllowed = true}), "Ab_c.1 x");
  EXPECT_EQ(ui.dialogCancel, 0);
  EXPECT_EQ(ui.dialogTitles, std::vector<QString>({"New Catalog", "Report Title"}));
}

TEST_F(WindowsTest, PastedTextFollowsTheSameRulesAsTypedText) {
  QApplication::clipboard()->setText("My Music_2");
  ui.script = {[](QDialog& dialog) {
                 auto& prompt = dynamic_cast<frmEnterName&>(dialog);
                 prompt.txtName->paste();
                 prompt.cmdOK->click();
               },
               [](QDialog& dialog) {
                 auto& prompt = dynamic_cast<frmEnterNumber&>(dialog);
                 QApplication::clipboard()->setText("-12.5");
                 prompt.txtNumber->paste();
                 QApplication::clipboard()->setText("42");
                 prompt.txtNumber->paste();
                 prompt.cmdOK->click();
               }};
  EXPECT_EQ(ui.AskName({.caption = "New Catalog"}), "MyMusic2");
  EXPECT_EQ(ui.AskNumber({.caption = "Select Number"}), "42");
}

TEST_F(WindowsTest, NamePromptRefusesABlankNameButConfirmsABlankSecurityCode) {
  ui.script = {[](QDialog& dialog) {
                 auto& prompt = dynamic_cast<frmEnterName&>(dialog);
                 prompt.cmdOK->click();
                 EXPECT_TRUE(prompt.isVisible());
                 prompt.cmdCancel->click();
               },
               TypeName("")};
  EXPECT_EQ(ui.AskName({.caption = "New Catalog"}), std::nullopt);
  EXPECT_EQ(ui.dialogCancel, -1);
  EXPECT_EQ(ui.AskName({.caption = "Set Security Code"}), "");
  EXPECT_EQ(ui.dialogCancel, 0);
  EXPECT_THAT(ui.Texts(), ElementsAre("Invalid name", "Invalid Code"));
}

TEST_F(WindowsTest, NamePromptShowsThePresetAndHoldsItsLength) {
  ui.script = {[](QDialog& dialog) {
    auto& prompt = dynamic_cast<frmEnterName&>(dialog);
    EXPECT_EQ(prompt.txtName->text(), "MUSIC");
    EXPECT_EQ(prompt.lblUserAction->text(), "Catalog name:");
    prompt.txtName->end(false);
    QTest::keyClicks(prompt.txtName, "ALLOFIT");
    prompt.cmdOK->click();
  }};
  EXPECT_EQ(ui.AskName({.caption = "Rename", .question = "Catalog name:", .preset = "MUSIC", .maxLength = 8}),
            "MUSICALL");
}

TEST_F(WindowsTest, NumberPromptCanHideWhatIsTyped) {
  ui.script = {[](QDialog& dialog) {
    auto& prompt = dynamic_cast<frmEnterNumber&>(dialog);
    EXPECT_EQ(prompt.txtNumber->echoMode(), QLineEdit::Password);
    EXPECT_EQ(prompt.txtNumber->maxLength(), 4);
    QTest::keyClicks(prompt.txtNumber, "123456");
    EXPECT_EQ(prompt.txtNumber->displayText(), "****");
    prompt.cmdOK->click();
  }};
  EXPECT_EQ(ui.AskNumber({.caption = "Code", .question = "Code?", .maxLength = 4, .password = true}), "1234");
}

TEST_F(WindowsTest, GaugeCancelWorksWhileTheMainWindowIsDisabled) {
  QMainWindow main;
  main.setCentralWidget(new QWidget);
  ui.SetMainWindow(&main);
  ui.gaugeDelay = std::chrono::milliseconds(0);
  ui.OpenGauge(1000, "Building Indexes....", true);
  ui.SetMainWindowEnabled(false);
  frmGauge* gauge = ui.GaugeWindow();
  ASSERT_NE(gauge, nullptr);
  EXPECT_TRUE(gauge->isVisible());
  EXPECT_EQ(gauge->lblMessage->text(), "Building Indexes....");
  EXPECT_EQ(gauge->Gauge1->minimum(), 1);
  EXPECT_EQ(gauge->Gauge1->maximum(), 100);
  for (int i = 0; i < 20; ++i) EXPECT_FALSE(ui.StepGauge());
  EXPECT_EQ(gauge->Gauge1->value(), 2);
  gauge->cmdCancel->click();
  EXPECT_TRUE(ui.StepGauge());
  ui.SetMainWindowEnabled(true);
  ui.CloseGauge();
  EXPECT_EQ(ui.GaugeWindow(), nullptr);

  ui.OpenGauge(149, "Short", true);
  EXPECT_EQ(ui.GaugeWindow(), nullptr);
  ui.OpenGauge(500, "No cancel", false);
  EXPECT_FALSE(ui.GaugeWindow()->cmdCancel->isEnabled());
  ui.CloseGauge();
}

TEST_F(WindowsTest, TheGaugeWindowShowsOnlyWhenTheOperationTakesAWhile) {
  ui.gaugeDelay = std::chrono::milliseconds(300);
  ui.OpenGauge(1000, "Building Indexes....", true);
  frmGauge* gauge = ui.GaugeWindow();
  ASSERT_NE(gauge, nullptr);
  for (int i = 0; i < 30; ++i) ui.StepGauge();
  EXPECT_FALSE(gauge->isVisible());
  EXPECT_EQ(gauge->Gauge1->value(), 3);
  ui.gaugeDelay = std::chrono::milliseconds(0);  // the operation has now run for longer than the delay
  for (int i = 0; i < 10; ++i) ui.StepGauge();
  EXPECT_TRUE(gauge->isVisible());
  EXPECT_LE(OffCentre(*gauge), 2);
  ui.CloseGauge();
  EXPECT_EQ(ui.GaugeWindow(), nullptr);
}

TEST_F(WindowsTest, EscapeCancelsTheGaugeAtAnyTimeWhereverTheFocusIs) {
  QMainWindow main;
  main.setCentralWidget(new QWidget);
  auto* box = new QLineEdit(main.centralWidget());
  ui.SetMainWindow(&main);
  main.show();
  QApplication::setActiveWindow(&main);
  box->setFocus();
  ui.gaugeDelay = std::chrono::hours(1);

  // Before the window shows, with the main window's entry screen disabled: through the window system.
  ui.SetMainWindowEnabled(false);
  ui.OpenGauge(1000, "Building Indexes....", true);
  EXPECT_FALSE(ui.StepGauge());
  QTest::keyClick(main.windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(ui.StepGauge());
  ui.CloseGauge();
  // Straight at a disabled box, and at the gauge window itself.
  ui.OpenGauge(1000, "Building Indexes....", true);
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_TRUE(ui.StepGauge());
  ui.CloseGauge();
  ui.gaugeDelay = std::chrono::milliseconds(0);
  ui.OpenGauge(1000, "Building Indexes....", true);
  QTest::keyClick(ui.GaugeWindow(), Qt::Key_Escape);
  EXPECT_TRUE(ui.StepGauge());
  EXPECT_TRUE(ui.GaugeWindow()->isVisible());  // it closes when the operation ends
  ui.CloseGauge();

  // Not where there is no Cancel, nor when a modal dialog is up, which gets its Escape.
  ui.OpenGauge(1000, "No cancel", false);
  QTest::keyClick(main.windowHandle(), Qt::Key_Escape);
  EXPECT_FALSE(ui.StepGauge());
  ui.CloseGauge();
  ui.OpenGauge(1000, "Building Indexes....", true);
  ui.takeOver = [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); };
  EXPECT_EQ(ui.ShowMessage({"Go on?", kAppTitle, Buttons::OkCancel, Icon::Question}), Answer::Cancel);
  EXPECT_FALSE(ui.StepGauge());
  ui.CloseGauge();
  // Once the gauge is closed, Escape is nobody's.
  QTest::keyClick(main.windowHandle(), Qt::Key_Escape);
  ui.SetMainWindowEnabled(true);
}

TEST_F(WindowsTest, DialogsAndMessageBoxesAreCentredOnTheScreen) {
  // The main window off in a corner, shown or not yet shown.
  QMainWindow main;
  main.setCentralWidget(new QWidget);
  main.setGeometry(0, 0, 300, 200);
  ui.SetMainWindow(&main);
  std::vector<int> offCentre;
  std::vector<QSize> sizes;
  ui.takeOver = [&](QDialog& dialog) {
    offCentre.push_back(OffCentre(dialog));
    sizes.push_back(dialog.size());
    dialog.reject();
  };
  const std::string longText(300, 'x');
  ui.ShowMessage({"Short", kAppTitle, Buttons::Ok, Icon::None});
  ui.ShowMessage({longText + "\r" + longText + "\r\rMore", kAppTitle, Buttons::YesNo, Icon::Exclamation});
  main.show();
  ui.ShowMessage({"Short", kAppTitle, Buttons::Ok, Icon::None});
  ui.AskNumber({.caption = "Select Number", .question = "Which?"});
  CatalogNotCompatible notice;
  ui.dialogs.Show(notice);
  frmEnd end(&main);
  ui.RunModal(end);
  ASSERT_EQ(offCentre.size(), 6u);
  for (std::size_t i = 0; i < offCentre.size(); ++i) EXPECT_LE(offCentre[i], 2) << "dialog " << i;
  EXPECT_NE(sizes[0], sizes[1]);  // the long message box took its own size and was centred for it
}

TEST_F(WindowsTest, TitlesAndQuestionsShowUserTextAsTyped) {
  ui.takeOver = [](QDialog& dialog) {
    ASSERT_NE(dialog.windowHandle(), nullptr);
    EXPECT_EQ(dialog.windowHandle()->title(), "Tom [*] Jerry");  // the title the window system shows
    if (auto* prompt = qobject_cast<frmEnterName*>(&dialog)) {
      EXPECT_EQ(prompt->lblUserAction->text(), "Rename R&&B?");
      EXPECT_TRUE(QKeySequence::mnemonic(prompt->lblUserAction->text()).isEmpty());
    }
    dialog.reject();
  };
  ui.ShowMessage({"Text", "Tom [*] Jerry", Buttons::Ok, Icon::None});
  ui.AskName({.caption = "Tom [*] Jerry", .question = "Rename R&B?"});
}

TEST_F(WindowsTest, MessageBoxesCarryTitleIconButtonsAndLineBreaks) {
  ui.takeOver = [](QDialog& dialog) {
    auto& box = dynamic_cast<QMessageBox&>(dialog);
    EXPECT_EQ(box.windowTitle(), "VRK");
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    EXPECT_EQ(box.text(), QString::fromUtf8("Replace CAF\u00C9?\nIt exists."));
    EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::No)->click();
  };
  EXPECT_EQ(ui.ShowMessage({"Replace CAF\xC9?\rIt exists.", kAppTitle, Buttons::YesNo, Icon::Exclamation}), Answer::No);
  ui.takeOver = [](QDialog& dialog) { dialog.reject(); };  // closed without a button
  EXPECT_EQ(ui.ShowMessage({"Retry?", kAppTitle, Buttons::RetryCancel, Icon::None}), Answer::Cancel);
  EXPECT_EQ(ui.ShowMessage({"Fine.", kAppTitle, Buttons::Ok, Icon::None}), Answer::Ok);
}

TEST_F(WindowsTest, EnterNeverConfirmsAQuestionThatDestroysDataAndEscapeAnswersNo) {
  Qt::Key key = Qt::Key_Return;
  ui.takeOver = [&key](QDialog& dialog) { QTest::keyClick(&dialog, key); };
  EXPECT_EQ(ui.ShowMessage({"Delete?", kAppTitle, Buttons::YesNo, Icon::Question, true}), Answer::No);
  EXPECT_EQ(ui.ShowMessage({"Replace?", "Replace File?", Buttons::OkCancel, Icon::Exclamation, true}), Answer::Cancel);
  EXPECT_EQ(ui.ShowMessage({"Copy the format?", kAppTitle, Buttons::YesNo, Icon::Question}), Answer::Yes);
  key = Qt::Key_Escape;
  EXPECT_EQ(ui.ShowMessage({"Copy the format?", kAppTitle, Buttons::YesNo, Icon::Question}), Answer::No);
  EXPECT_EQ(ui.ShowMessage({"Replace?", "Replace File?", Buttons::OkCancel, Icon::Exclamation, true}), Answer::Cancel);
}

TEST_F(WindowsTest, FileChoosersTakeTheFilterAndGiveThePath) {
  EXPECT_EQ(NameFilters("Bitmap (*.bmp)|*.bmp"), QStringList({"Bitmap (*.bmp)"}));
  EXPECT_EQ(NameFilters("Wave|*.wav|All files|*.*"), QStringList({"Wave (*.wav)", "All files (*.*)"}));
  TempDirectory dir;
  const std::string picture = dir / "\u65E5\u672C.bmp";  // a name code page 1252 cannot hold
  TempDirectory::WriteFile(picture, "BM");
  ui.takeOver = [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(chooser.windowTitle(), "Select Picture File");
    EXPECT_EQ(chooser.nameFilters(), QStringList({"Bitmap (*.bmp)"}));
    chooser.selectFile(QString::fromStdString(picture));
    static_cast<QDialog&>(chooser).accept();
  };
  EXPECT_EQ(ui.ChooseOpenFile({.title = "Select Picture File", .filter = "Bitmap (*.bmp)|*.bmp"}), picture);
  // An existing file is asked about once: by the chooser, or by the caller instead.
  bool asks = false;
  ui.takeOver = [&asks](QDialog& dialog) {
    asks = !dynamic_cast<QFileDialog&>(dialog).testOption(QFileDialog::DontConfirmOverwrite);
    dialog.reject();
  };
  EXPECT_EQ(ui.ChooseSaveFile({.title = "Save"}), std::nullopt);
  EXPECT_TRUE(asks);
  EXPECT_EQ(ui.ChooseSaveFile({.title = "ASCII File", .confirmOverwrite = false}), std::nullopt);
  EXPECT_FALSE(asks);
}

TEST_F(WindowsTest, TheIncompatibleCatalogWindowSaysWhy) {
  ui.takeOver = [](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), " CATALOG NOT COMPATIBLE");
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains("Cannot Read This Catalog "));
    EXPECT_TRUE(
        texts.contains("This version of VRK In Windows can not read catalogs created by some previous "
                       "versions of VRK.  DO NOT TRY TO USE THIS CATALOG--you may damage it."));
    dialog.findChild<QPushButton*>()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  };
  CatalogNotCompatible notice;
  ui.dialogs.Show(notice);
}

TEST_F(WindowsTest, SplashClosesAtAClickOrAKey) {
  frmStart clicked;
  clicked.show();
  QTest::mouseClick(clicked.Picture1, Qt::LeftButton);
  EXPECT_EQ(clicked.result(), QDialog::Accepted);
  EXPECT_FALSE(clicked.isVisible());
  frmStart typed;
  typed.show();
  QTest::keyClick(&typed, Qt::Key_Space);
  EXPECT_FALSE(typed.isVisible());
  EXPECT_FALSE(typed.windowFlags().testFlag(Qt::WindowTitleHint));
}

TEST_F(WindowsTest, ClosingWindowAndAboutWindow) {
  frmEnd end;
  EXPECT_EQ(end.cmdOK->text(), "E&XIT");
  EXPECT_TRUE(end.cmdOK->isDefault());
  end.show();
  // The whole picture shows, and the button stands beside it, not on it.
  EXPECT_EQ(end.Picture1->size(), end.Picture1->pixmap().size());
  EXPECT_TRUE(end.rect().contains(end.Picture1->geometry()));
  EXPECT_TRUE(end.rect().contains(end.cmdOK->geometry()));
  EXPECT_FALSE(end.cmdOK->geometry().intersects(end.Picture1->geometry()));
  end.cmdOK->click();
  EXPECT_EQ(end.result(), QDialog::Accepted);

  frmAbout about(ui);
  EXPECT_EQ(about.windowTitle(), "About VRK");
  QStringList texts;
  for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains("VRK  Windows '95 Version 4.12"));
  EXPECT_TRUE(about.lblVersion->text().contains(" v"));
  EXPECT_FALSE(about.lblProcessor->text().isEmpty());
  EXPECT_TRUE(about.lblMemory->text().endsWith("K"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vrk::test
