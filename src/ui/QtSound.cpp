#include "ui/QtSound.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "catalog/Files.h"
#include "platform/Paths.h"

namespace vrk {

QtSound::~QtSound() { delete effect_; }

bool QtSound::Open(const std::string& path) {
  Close();
  if (!FileExists(path) || QMediaDevices::audioOutputs().isEmpty()) return false;
  effect_ = new QSoundEffect;
  effect_->setSource(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(NativePath(path)))));
  if (effect_->status() == QSoundEffect::Error) {
    Close();
    return false;
  }
  QObject::connect(effect_, &QSoundEffect::playingChanged, effect_, [this] {
    if (effect_ != nullptr && !effect_->isPlaying() && onFinished) onFinished();
  });
  // A file found damaged only once it loads plays nothing: it counts as played to its end.
  QObject::connect(effect_, &QSoundEffect::statusChanged, effect_, [this] {
    if (effect_ != nullptr && effect_->status() == QSoundEffect::Error && onFinished) onFinished();
  });
  return true;
}

// The effect loads the file in the background and starts as soon as it is ready.
void QtSound::Play() {
  if (effect_ != nullptr) effect_->play();
}

void QtSound::Stop() {
  if (effect_ != nullptr) effect_->stop();
}

// Close may be called from the effect's own "finished" signal, so the effect is deleted later.
void QtSound::Close() {
  if (effect_ == nullptr) return;
  effect_->disconnect();
  effect_->stop();
  effect_->deleteLater();
  effect_ = nullptr;
}

}  // namespace vrk
