#include "ui/frmHelp.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/Paths.h"
#include "ui/WindowTools.h"

namespace vrk {

std::string HelpPage() { return SharedDataDirectory() + "/help/vrkhelp.html"; }

frmHelp::frmHelp(QWidget* parent, const std::string& page)
    : QWidget(parent, Qt::Window), txtHelp(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("VRK Help"));
  txtHelp->setOpenExternalLinks(false);
  const QString file = QFile::decodeName(QByteArray::fromStdString(page));
  if (QFileInfo(file).isFile()) {
    txtHelp->setSource(QUrl::fromLocalFile(file));
  } else {
    txtHelp->setPlainText(QStringLiteral("The help pages were not found: VRK looked for %1.").arg(file));
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(txtHelp);
  resize(640, 560);
  CenterWhenShown(*this);
}

}  // namespace vrk
