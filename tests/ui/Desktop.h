// The desktop program for a test: the real main window and Qt Ui on a catalog in a temporary program
// directory. Every dialog is taken over: message boxes are recorded and answered with their first
// button, the other dialogs are handled by the script the test queues.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "fakes/Catalogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePrinter.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "platform/Sound.h"
#include "shell/Program.h"
#include "ui/QtUi.h"
#include "ui/frmVRKMain.h"

namespace vrk::test {

struct ShownMessage {
  QString title;
  QString text;
  QMessageBox::Icon icon;
};

class RecordingUi : public QtUi {
 public:
  RecordingUi();
  void Beep() override { events.push_back("beep"); }
  void DoEvents() override;

  // The texts of the message boxes shown so far, in UTF-8.
  std::vector<std::string> Texts() const;

  std::vector<ShownMessage> messages;
  std::vector<std::string> events;                   // "beep" and "message: <text>" in order
  std::deque<std::function<void(QDialog&)>> script;  // for the dialogs that are not message boxes
  std::deque<QMessageBox::StandardButton> buttons;   // answers to message boxes; their first button when empty
  std::vector<QString> dialogTitles;                 // of every dialog taken over
  std::function<void()> onEvents;                    // runs whenever pending events are let through
};

// Dialog scripts.
std::function<void(QDialog&)> AnswerNumber(const QString& typed);
std::function<void(QDialog&)> CancelDialog();

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest();
  ~DesktopTest() override;

  // Starts the program on catalog CAT with these fields and entries, named in VRK.INI.
  void Start(std::initializer_list<FieldSpec> fields, const std::vector<TestEntry>& entries = {});
  // Starts the program on the catalog CAT already in the directory, named in VRK.INI.
  void StartOnCatalog();
  void StartWithoutCatalog();
  // The catalog as its files hold it now.
  CatalogOnDisk Stored() const { return ReadCatalog(dir.path(), "CAT"); }
  QString Panel(Panel panel) const { return window.PanelText(panel); }
  QString Box(int box) const;
  // Puts the focus into a box and types.
  void Type(int box, const QString& text);
  void Key(int box, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

  TempDirectory dir;
  FakeFileSystem files;  // the disk, which a test may make answer sooner
  RecordingUi ui;
  SilentSound sound;
  FakePrinter printer;
  frmVRKMain window{ui};
  Program program{{ui, window, sound, printer, files}};

 private:
  void StartProgram();
};

}  // namespace vrk::test
