// One running copy per user: the first start listens on a local socket named for the user, and a
// later start asks it to bring its window to the front, and to select the catalog it was given,
// instead of opening a second one.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>
#include <string>

namespace vrk {

class SingleInstance {
 public:
  SingleInstance();

  // True when a running copy answered; it has been asked to show its window and, for a `catalog`
  // path (absolute), to select that catalog.
  bool AskRunningCopy(const std::string& catalog);
  // Starts listening for later starts; `request` shows this copy's window and selects the catalog a
  // later start named (empty when it named none).
  void Listen(std::function<void(const std::string& catalog)> request);

 private:
  QString name_;
  QLocalServer server_;
  std::function<void(const std::string&)> request_;
};

}  // namespace vrk
