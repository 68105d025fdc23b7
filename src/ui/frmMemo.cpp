#include "ui/frmMemo.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalog/Memo.h"
#include "shell/Memos.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmMemo::frmMemo(MemoEditor& editor, QWidget* parent)
    : QDialog(parent),
      txtMemo(new QPlainTextEdit(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      editor_(editor) {
  setWindowTitle(tr("Edit Memo"));
  // The memo keeps its lines ending in carriage return and line feed; the box in line feeds.
  txtMemo->setPlainText(ToQString(editor.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  txtMemo->setReadOnly(editor.readOnly);
  txtMemo->setFont(BoxFont());
  txtMemo->setTabChangesFocus(true);
  const QFontMetrics metrics(txtMemo->font());
  txtMemo->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('W')) * 62, metrics.lineSpacing() * 14);
  cmdOK->setEnabled(!editor.readOnly);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtMemo, 1);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmMemo::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmMemo::cmdCancel_Click);
  txtMemo->setFocus();
}

void frmMemo::cmdOK_Click() {
  QString text = txtMemo->toPlainText();
  editor_.text = FromQString(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"))).substr(0, kMemoLength);
  accept();
}

void frmMemo::cmdCancel_Click() { reject(); }

}  // namespace vrk
