// vrk: the desktop program. Starts once per user, shows the splash window, opens the current catalog
// on the main window and, when the window closes, stores the catalog and shows the closing window.
// `vrk BASE` opens the catalog BASE instead and makes it current; a copy already running is asked
// to. `vrk --screenshot FILE` lays the main window out on Qt's offscreen platform, shows the first
// entry, saves a picture of the window and ends.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstring>
#include <iostream>
#include <optional>
#include <utility>

#include "app/help/ProgramHelp.h"
#include "app/vrk/SingleInstance.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "shell/Browsing.h"
#include "shell/DemoCatalog.h"
#include "shell/Maintenance.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "ui/Pictures.h"
#include "ui/PrintDialogs.h"
#include "ui/QtPrinter.h"
#include "ui/QtSound.h"
#include "ui/QtUi.h"
#include "ui/WindowTools.h"
#include "ui/frmEnd.h"
#include "ui/frmStart.h"
#include "ui/frmVRKMain.h"

namespace {

struct Arguments {
  std::optional<QString> screenshot;
  std::string catalog;  // absolute, or empty
};

// [--screenshot FILE] [BASE]; nothing for anything else.
std::optional<Arguments> ReadArguments(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc && !arguments.screenshot) {
      arguments.screenshot = QString::fromLocal8Bit(argv[++i]);
    } else if (argv[i][0] != '-' && arguments.catalog.empty()) {
      // The path a later start hands to a running copy must not depend on this start's directory.
      arguments.catalog = vrk::sys::AbsolutePath(argv[i]);
      if (arguments.catalog.empty()) arguments.catalog = argv[i];
    } else {
      return std::nullopt;
    }
  }
  return arguments;
}

// The catalogs later starts asked for are selected once the program is idle: never in the middle of a
// command, nor while a dialog is open.
class CatalogRequests {
 public:
  CatalogRequests(vrk::Program& program, vrk::QtUi& ui, QWidget& window) : program_(program), ui_(ui), window_(window) {
    timer_.setInterval(200);
    QObject::connect(&timer_, &QTimer::timeout, [this] { SelectWhenIdle(); });
  }

  void Ask(std::string path) {
    path_ = std::move(path);
    timer_.start();
  }

 private:
  void SelectWhenIdle() {
    if (!window_.isVisible() || !ui_.Idle()) return;
    timer_.stop();
    (void)vrk::SelectCatalogByPath(program_, std::exchange(path_, {}));  // a failure has had its message
  }

  vrk::Program& program_;
  vrk::QtUi& ui_;
  QWidget& window_;
  QTimer timer_;
  std::string path_;
};

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
  if (help::AnswerHelpOrVersion(help::VrkHelp(), argc, argv)) return 0;
  const std::optional<Arguments> arguments = ReadArguments(argc, argv);
  if (!arguments) {
    std::cerr << help::UsageText(help::VrkHelp());
    return 2;
  }
  const std::optional<QString>& screenshot = arguments->screenshot;
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

  const ProgramPlaces places = CurrentPlaces(argv[0]);
  SingleInstance instance(ProgramDirectory(places));
  if (!screenshot && instance.AskRunningCopy(arguments->catalog)) return 0;

  QtUi ui;
  QtSound sound;
  frmVRKMain window(ui);
  QtPrinter printer;
  AttachPrintDialogs(printer, ui);
  Program program({ui, window, sound, printer});
  window.Attach(program);
  ui.SetMainWindow(&window);
  CatalogRequests requests(program, ui, window);
  if (screenshot) {
    ui.takeOver = [](QDialog&) {};  // nobody is there to answer: every dialog closes as cancelled
  } else {
    instance.Listen([&window, &requests](const std::string& catalog) {
      if (!catalog.empty()) requests.Ask(catalog);
      if (!window.isVisible()) return;  // still starting: the window shows when it is ready
      window.showNormal();
      window.raise();
      window.activateWindow();
    });
  }

  SetProgramDirectory(program, ProgramDirectory(places));
  PrepareUserDataFolder(program, IsUserDataFolder(places));
  if (!PrepareStartUp(program)) return 0;
  frmStart splash;
  ui.RunModal(splash);
  OpenStartCatalog(program);
  if (!arguments->catalog.empty()) (void)SelectCatalogByPath(program, arguments->catalog);
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
