#include "ui/frmHelp.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/WindowTools.h"

namespace vrk {

frmHelp::frmHelp(QWidget* parent) : QWidget(parent, Qt::Window), txtHelp(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("VRK Help"));
  txtHelp->setOpenExternalLinks(false);
  txtHelp->setSource(QUrl(QStringLiteral("qrc:/help/vrkhelp.html")));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(txtHelp);
  resize(640, 560);
  CenterWhenShown(*this);
}

}  // namespace vrk
