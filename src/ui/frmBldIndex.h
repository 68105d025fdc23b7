// The small window shown while an entry and its keys are written ("Saving...").
#pragma once

#include <QDialog>

class QLabel;

namespace vrk {

class frmBldIndex : public QDialog {
  Q_OBJECT

 public:
  explicit frmBldIndex(QWidget* parent = nullptr);

  QLabel* lblFieldName;
  QLabel* lblRecNum;
};

}  // namespace vrk
