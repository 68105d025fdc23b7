// The help window: the program's help pages, with links between them, beside the main window. It opens
// in the middle of the screen and then stays where the user puts it; Close or Escape closes it.
#pragma once

#include <QWidget>
#include <string>

class QPushButton;
class QTextBrowser;

namespace vrk {

// The first help page: help/vrkhelp.html in the program's shared data directory.
std::string HelpPage();

class frmHelp : public QWidget {
  Q_OBJECT

 public:
  // Shows the help file `page` (file system bytes), or, when it is missing, a sentence saying where it
  // was looked for.
  explicit frmHelp(QWidget* parent = nullptr, const std::string& page = HelpPage());

  QTextBrowser* txtHelp;
  QPushButton* cmdClose;  // as Escape, closes the window

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vrk
