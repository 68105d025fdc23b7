// One running copy per user: the first start listens on a local socket named for the user, and a
// later start asks it to bring its window to the front instead of opening a second one.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>

namespace vrk {

class SingleInstance {
 public:
  SingleInstance();

  // True when a running copy answered; it has been asked to show its window.
  bool AskRunningCopy();
  // Starts listening for later starts; `raise` shows this copy's window.
  void Listen(std::function<void()> raise);

 private:
  QString name_;
  QLocalServer server_;
  std::function<void()> raise_;
};

}  // namespace vrk
