// vrk: the desktop program. Starts once per user, shows the splash window, opens the current catalog
// on the main window and, when the window closes, stores the catalog and shows the closing window.
// `vrk --screenshot FILE` lays the main window out on Qt's offscreen platform, shows the first
// entry, saves a picture of the window and ends.
#include <QApplication>
#include <QIcon>
#include <QPrintDialog>
#include <cstring>
#include <iostream>
#include <optional>

#include "app/vrk/SingleInstance.h"
#include "platform/Paths.h"
#include "shell/Browsing.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "ui/Pictures.h"
#include "ui/QtPrinter.h"
#include "ui/QtSound.h"
#include "ui/QtUi.h"
#include "ui/WindowTools.h"
#include "ui/frmEnd.h"
#include "ui/frmStart.h"
#include "ui/frmVRKMain.h"

namespace {

std::optional<QString> ScreenshotFile(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--screenshot") == 0) return QString::fromLocal8Bit(argv[2]);
  return std::nullopt;
}

int SaveScreenshot(vrk::Program& program, vrk::frmVRKMain& window, const QString& file) {
  if (program.CatalogOpen() && program.header.Count() >= 1) vrk::GoToEntry(program, 1);
  QCoreApplication::processEvents();
  const bool saved = window.grab().save(file, "PNG");
  vrk::ShutDown(program);
  if (!saved) std::cerr << "vrk: cannot write " << file.toStdString() << '\n';
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vrk;
  const std::optional<QString> screenshot = ScreenshotFile(argc, argv);
  if (argc > 1 && !screenshot) {
    std::cerr << "usage: vrk [--screenshot FILE]\n";
    return 2;
  }
  // A picture needs no screen; a platform named by the caller (xcb under Xvfb, say) is kept.
  if (screenshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VRK"));
  // Installed, the window shows the icon of the menu entry, from the icon theme; the drawn emblem otherwise.
  // The desktop file's name ties the windows to that entry where the desktop asks for it (Wayland).
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VRK_APP_ID), QIcon(Emblem(64))));
  QGuiApplication::setDesktopFileName(QStringLiteral(VRK_APP_ID));
  // The program ends when the main window closes, whatever other windows are open.
  QApplication::setQuitOnLastWindowClosed(false);

  SingleInstance instance;
  if (!screenshot && instance.AskRunningCopy()) return 0;

  QtUi ui;
  QtSound sound;
  frmVRKMain window(ui);
  QtPrinter printer;
  printer.setupDialog = [&ui](QPrinter& chosen) {
    QPrintDialog setup(&chosen, ui.MainWindow());
    setup.setWindowTitle(QStringLiteral("Print Setup"));
    return ui.RunModal(setup) == QDialog::Accepted;
  };
  Program program({ui, window, sound, printer});
  window.Attach(program);
  ui.SetMainWindow(&window);
  if (screenshot) {
    ui.takeOver = [](QDialog&) {};  // nobody is there to answer: every dialog closes as cancelled
  } else {
    instance.Listen([&window] {
      if (!window.isVisible()) return;  // still starting: the window shows when it is ready
      window.showNormal();
      window.raise();
      window.activateWindow();
    });
  }

  SetProgramDirectory(program, ProgramDirectory(argv[0]));
  if (!PrepareStartUp(program)) return 0;
  frmStart splash;
  ui.RunModal(splash);
  OpenStartCatalog(program);
  CenterWhenShown(window);
  window.show();
  if (screenshot) return SaveScreenshot(program, window, *screenshot);

  window.onClosed = [] { QCoreApplication::quit(); };
  QApplication::exec();
  if (ShutDown(program)) {
    frmEnd end(&window);
    ui.RunModal(end);
  }
  return 0;
}
