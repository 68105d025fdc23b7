#include "ui/FieldLines.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "shell/SearchCommands.h"
#include "ui/Text.h"

namespace vrk {

void AddFieldLines(QWidget* parent, QGridLayout* grid, int firstRow, const std::vector<FieldLine>& lines,
                   std::vector<QLabel*>& labels, std::vector<QLineEdit*>& boxes) {
  const int boxWidth = 40 * parent->fontMetrics().averageCharWidth();
  int row = firstRow;
  for (const FieldLine& line : lines) {
    auto* label = new QLabel(ToCaption(line.name), parent);
    label->setTextFormat(Qt::PlainText);  // a field name is shown as typed
    auto* box = new QLineEdit(ToQString(line.text), parent);
    box->setMinimumWidth(boxWidth);
    label->setBuddy(box);
    label->setVisible(line.visible);
    box->setVisible(line.visible);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    ++row;
    labels.push_back(label);
    boxes.push_back(box);
  }
}

}  // namespace vrk
