// The Edit Picture/Sound window: the paths of the entry's picture and sound, typed or browsed for.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vrk {

struct PictureSoundEditor;
class QtUi;

class frmPicSound : public QDialog {
  Q_OBJECT

 public:
  frmPicSound(PictureSoundEditor& editor, QtUi& ui, QWidget* parent = nullptr);

  QLineEdit* txtBmpFile;
  QLineEdit* txtWavFile;
  QPushButton* cmdBrowsePic;
  QPushButton* cmdBrowseWav;
  QPushButton* btnOK;
  QPushButton* btnCancel;

  void cmdBrowsePic_Click();
  void cmdBrowseWav_Click();
  void btnOK_Click();
  void btnCancel_Click();

 private:
  PictureSoundEditor& editor_;
  QtUi& ui_;
};

// The Browse filter for pictures: "Bitmap (*.bmp)" first, then one for every other format Qt reads.
std::string PictureFilter();

}  // namespace vrk
