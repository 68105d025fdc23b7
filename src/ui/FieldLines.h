// The field lines of the Search and Criteria windows: one label and one box per field, stacked in field
// order; a field of length 0 has its line hidden.
#pragma once

#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace vrk {

struct FieldLine;

// Adds a row to `grid` per line, from row `firstRow` on, and hands back the controls in field order.
void AddFieldLines(QWidget* parent, QGridLayout* grid, int firstRow, const std::vector<FieldLine>& lines,
                   std::vector<QLabel*>& labels, std::vector<QLineEdit*>& boxes);

}  // namespace vrk
