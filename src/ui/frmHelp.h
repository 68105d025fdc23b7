// The help window: the program's help pages, with links between them, beside the main window. It opens
// in the middle of the screen and then stays where the user puts it.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace vrk {

class frmHelp : public QWidget {
  Q_OBJECT

 public:
  explicit frmHelp(QWidget* parent = nullptr);

  QTextBrowser* txtHelp;
};

}  // namespace vrk
