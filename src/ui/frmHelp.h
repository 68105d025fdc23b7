// The help window: the program's help pages, with links between them, beside the main window.
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
