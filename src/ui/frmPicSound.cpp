#include "ui/frmPicSound.h"

#include <QFile>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/PictureSound.h"
#include "ui/QtUi.h"
#include "ui/WindowTools.h"

namespace vrk {
namespace {

QString PathToText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string TextToPath(const QString& text) { return QFile::encodeName(text).toStdString(); }

// Puts the chosen file's full path into the box; Cancel leaves the box as it was.
void Browse(QtUi& ui, QLineEdit& box, FileChooser chooser) {
  if (const auto path = ui.ChooseOpenFile(chooser)) box.setText(PathToText(*path));
}

}  // namespace

std::string PictureFilter() {
  std::string filter = "Bitmap (*.bmp)|*.bmp";
  for (const QByteArray& format : QImageReader::supportedImageFormats()) {
    const std::string name = format.toLower().toStdString();
    if (name == "bmp") continue;
    filter += "|" + format.toUpper().toStdString() + " (*." + name + ")|*." + name;
  }
  return filter;
}

frmPicSound::frmPicSound(PictureSoundEditor& editor, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      txtBmpFile(new QLineEdit(PathToText(editor.picture), this)),
      txtWavFile(new QLineEdit(PathToText(editor.sound), this)),
      cmdBrowsePic(new QPushButton(tr("Browse"), this)),
      cmdBrowseWav(new QPushButton(tr("Browse"), this)),
      btnOK(new QPushButton(tr("&Save"), this)),
      btnCancel(new QPushButton(tr("&Cancel"), this)),
      editor_(editor),
      ui_(ui) {
  setWindowTitle(tr("Edit Picture/Sound"));
  auto* grid = new QGridLayout;
  auto* picture = new QLabel(tr("&Image (BMP):"), this);
  picture->setBuddy(txtBmpFile);
  auto* sound = new QLabel(tr("S&ound (WAV):"), this);
  sound->setBuddy(txtWavFile);
  grid->addWidget(picture, 0, 0);
  grid->addWidget(txtBmpFile, 0, 1);
  grid->addWidget(cmdBrowsePic, 0, 2);
  grid->addWidget(sound, 1, 0);
  grid->addWidget(txtWavFile, 1, 1);
  grid->addWidget(cmdBrowseWav, 1, 2);
  grid->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addLayout(ButtonRow({btnOK, btnCancel}));
  SetTabOrder({txtBmpFile, cmdBrowsePic, txtWavFile, cmdBrowseWav, btnOK, btnCancel});
  setMinimumWidth(560);
  setModal(true);
  connect(cmdBrowsePic, &QPushButton::clicked, this, &frmPicSound::cmdBrowsePic_Click);
  connect(cmdBrowseWav, &QPushButton::clicked, this, &frmPicSound::cmdBrowseWav_Click);
  connect(btnOK, &QPushButton::clicked, this, &frmPicSound::btnOK_Click);
  connect(btnCancel, &QPushButton::clicked, this, &frmPicSound::btnCancel_Click);
}

void frmPicSound::cmdBrowsePic_Click() {
  Browse(ui_, *txtBmpFile, {.title = "Select Picture File", .filter = PictureFilter(), .fileName = "*.bmp"});
}

void frmPicSound::cmdBrowseWav_Click() {
  Browse(ui_, *txtWavFile, {.title = "Select Wave File", .filter = "Wave (*.wav)|*.wav", .fileName = "*.wav"});
}

void frmPicSound::btnOK_Click() {
  editor_.picture = TextToPath(txtBmpFile->text());
  editor_.sound = TextToPath(txtWavFile->text());
  if (AcceptPictureSound(editor_)) accept();
}

void frmPicSound::btnCancel_Click() { reject(); }

}  // namespace vrk
