#include "ui/frmHelp.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/Paths.h"
#include "ui/WindowTools.h"

namespace vrk {

std::string HelpPage() { return SharedDataDirectory() + "/help/vrkhelp.html"; }

frmHelp::frmHelp(QWidget* parent, const std::string& page)
    : QWidget(parent, Qt::Window), txtHelp(new QTextBrowser(this)), cmdClose(new QPushButton(tr("&Close"), this)) {
  setWindowTitle(QStringLiteral("VRK Help"));
  txtHelp->setOpenExternalLinks(false);
  const QString file = QFile::decodeName(QByteArray::fromStdString(page));
  if (QFileInfo(file).isFile()) {
    txtHelp->setSource(QUrl::fromLocalFile(file));
  } else {
    txtHelp->setPlainText(QStringLiteral("The help pages were not found: VRK looked for %1.").arg(file));
  }
  auto* buttons = ButtonRow({cmdClose});
  buttons->setContentsMargins(6, 0, 6, 6);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(txtHelp);
  layout->addLayout(buttons);
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
  resize(640, 560);
  CenterWhenShown(*this);
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace vrk
