#include "Desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "platform/Profile.h"
#include "shell/Startup.h"
#include "ui/EntryBox.h"
#include "ui/frmEnterNumber.h"

namespace vrk::test {

RecordingUi::RecordingUi() {
  takeOver = [this](QDialog& dialog) {
    dialogTitles.push_back(dialog.windowTitle());
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
      messages.push_back({box->windowTitle(), box->text(), box->icon()});
      events.push_back("message: " + box->text().toStdString());
      QAbstractButton* button = box->buttons().constFirst();
      if (!buttons.empty()) {
        button = box->button(buttons.front());
        buttons.pop_front();
      }
      button->click();
      return;
    }
    ASSERT_FALSE(script.empty()) << "no script for the dialog " << dialog.windowTitle().toStdString();
    const auto step = script.front();
    script.pop_front();
    step(dialog);
  };
}

void RecordingUi::DoEvents() {
  QtUi::DoEvents();
  if (onEvents) onEvents();
}

std::vector<std::string> RecordingUi::Texts() const {
  std::vector<std::string> texts;
  for (const ShownMessage& message : messages) texts.push_back(message.text.toStdString());
  return texts;
}

std::function<void(QDialog&)> AnswerNumber(const QString& typed) {
  return [typed](QDialog& dialog) {
    auto* prompt = qobject_cast<frmEnterNumber*>(&dialog);
    ASSERT_NE(prompt, nullptr);
    QTest::keyClicks(prompt->txtNumber, typed);
    prompt->cmdOK->click();
  };
}

std::function<void(QDialog&)> CancelDialog() {
  return [](QDialog& dialog) { dialog.reject(); };
}

DesktopTest::DesktopTest() {
  window.Attach(program);
  ui.SetMainWindow(&window);
  SetProgramDirectory(program, dir.path());
}

DesktopTest::~DesktopTest() { EXPECT_TRUE(ui.script.empty()) << "dialogs expected but not shown"; }

void DesktopTest::Start(std::initializer_list<FieldSpec> fields, const std::vector<TestEntry>& entries) {
  WriteCatalog(dir.path(), "CAT", MakeLayout(fields), entries);
  StartOnCatalog();
}

void DesktopTest::StartOnCatalog() {
  WritePrivateProfileString("Database", "CurrentDB", "CAT", program.iniPath);
  StartProgram();
}

void DesktopTest::StartWithoutCatalog() { StartProgram(); }

void DesktopTest::StartProgram() {
  ASSERT_TRUE(PrepareStartUp(program));
  OpenStartCatalog(program);
  window.show();
  QApplication::setActiveWindow(&window);
  QApplication::processEvents();
}

QString DesktopTest::Box(int box) const { return window.txtFieldData[static_cast<std::size_t>(box)]->text(); }

void DesktopTest::Type(int box, const QString& text) {
  EntryBox* entry = window.txtFieldData[static_cast<std::size_t>(box)];
  entry->setFocus();
  // One key press per character, carrying the character itself, as a keyboard of any layout sends it.
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(entry, &press);
    QApplication::sendEvent(entry, &release);
  }
}

void DesktopTest::Key(int box, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(window.txtFieldData[static_cast<std::size_t>(box)], key, modifiers);
}

}  // namespace vrk::test
