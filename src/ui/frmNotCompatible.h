// The window shown when a catalog's files are not of a kind this program can read.
#pragma once

#include <QDialog>

class QPushButton;

namespace vrk {

struct CatalogNotCompatible;

class frmNotCompatible : public QDialog {
  Q_OBJECT

 public:
  frmNotCompatible(CatalogNotCompatible& notice, QWidget* parent = nullptr);

  QPushButton* cmdOK;

  void cmdOK_Click();
};

}  // namespace vrk
