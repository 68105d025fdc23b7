#include "ui/frmBldIndex.h"

#include <QGridLayout>
#include <QLabel>

namespace vrk {

frmBldIndex::frmBldIndex(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblFieldName(new QLabel(this)),
      lblRecNum(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Building Index....."));
  lblFieldName->setTextFormat(Qt::PlainText);  // a field name as the user typed it
  auto* layout = new QGridLayout(this);
  layout->addWidget(lblFieldName, 0, 0, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Entry #"), this), 1, 0);
  layout->addWidget(lblRecNum, 1, 1);
  layout->setColumnStretch(1, 1);
  setMinimumWidth(240);
  // It only reports; the typing goes on in the main window.
  setAttribute(Qt::WA_ShowWithoutActivating);
}

}  // namespace vrk
