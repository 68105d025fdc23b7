// The Ui port on Qt: message boxes, prompts, the gauge, the busy pointer and the file choosers.
// Every modal dialog runs through RunModal, where a test can take it over instead of a person.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <chrono>
#include <functional>
#include <type_traits>

#include "platform/Ui.h"

class QDialog;
class QMainWindow;
class QWidget;

namespace vrk {

class frmCatalogTable;
class frmGauge;
struct Program;

class QtUi : public Ui {
 public:
  // Registers the desktop program's feature dialogs.
  QtUi();
  ~QtUi() override;

  Answer ShowMessage(const MessageBox& box) override;
  void Beep() override;
  void ShowBusy() override;
  void ClearBusy() override;
  void DoEvents() override;
  void SetMainWindowEnabled(bool enabled) override;
  std::optional<std::string> ChooseOpenFile(const FileChooser& chooser) override;
  std::optional<std::string> ChooseSaveFile(const FileChooser& chooser) override;

  // True when no command is running and no dialog is open: only the main window's events are handled.
  bool Idle() const;

  // The window that owns the dialogs and that long operations disable.
  void SetMainWindow(QMainWindow* window);
  QWidget* MainWindow() const;

  // Shows a dialog centred and modal and returns its result. When takeOver is set it gets the shown
  // dialog instead of a person; a dialog it leaves open is then closed as cancelled.
  int RunModal(QDialog& dialog);
  std::function<void(QDialog&)> takeOver;

  // Makes `Window`, a dialog built from a `Record&` and a parent, the window of that record's dialog. A
  // window that shows messages or dialogs of its own is built from the record, this Ui and the parent.
  template <typename Window, typename Record>
  void RegisterWindow() {
    dialogs.Register<Record>([this](Record& record) {
      if constexpr (std::is_constructible_v<Window, Record&, QtUi&, QWidget*>) {
        Window window(record, *this, MainWindow());
        return RunModal(window) == 1;  // QDialog::Accepted
      } else {
        Window window(record, MainWindow());
        return RunModal(window) == 1;
      }
    });
  }

  // How a window beside the main window runs a command on the program: as the main window runs its
  // own, one at a time and with the main window showing what it changed. Set by the main window.
  std::function<void(const std::function<void(Program&)>&)> runCommand;
  // The catalog table while it is open, else null: not modal, it stays beside the main window and is
  // disabled with it while a long operation runs.
  QPointer<frmCatalogTable> catalogTable;

  // The gauge window while it is open, else null; it is shown once the operation has run for
  // gaugeDelay, and Escape cancels the operation from the start.
  frmGauge* GaugeWindow() const;
  std::chrono::milliseconds gaugeDelay{400};

 protected:
  std::optional<std::string> RunNumberPrompt(const NumberPrompt& prompt) override;
  std::optional<std::string> RunNamePrompt(const NamePrompt& prompt) override;
  void ShowGaugeWindow(int maximum, const std::string& message, bool cancelAllowed) override;
  void SetGaugeValue(int value) override;
  void CloseGaugeWindow() override;

 private:
  std::optional<std::string> ChooseFile(const FileChooser& chooser, bool save);
  void ShowGaugeWhenDue();

  QPointer<QMainWindow> mainWindow_;
  QPointer<frmGauge> gauge_;  // owned by the main window, which may go first
  QElapsedTimer gaugeClock_;  // since the gauge opened
  bool doingEvents_ = false;  // a command is letting pending events run
};

// "Bitmap (*.bmp)|*.bmp|Wave (*.wav)|*.wav" as the name filters of a file dialog.
QStringList NameFilters(const std::string& filter);

}  // namespace vrk
