// One running copy per user, display and program directory: the first start listens on a local socket
// in a folder only the user may enter, named for the display and the program directory, and a later
// start of the same user there asks it to bring its window to the front, and to select the catalog it
// was given, instead of opening a second one. A start that cannot hand over opens its own window.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>
#include <string>

namespace vrk {

class SingleInstance {
 public:
  // `programDirectory` is the running program's directory (VRK_HOME or beside the executable).
  explicit SingleInstance(const std::string& programDirectory);

  // True when a running copy of this user answered that it has shown its window and, for a `catalog`
  // path (absolute), will select that catalog. False for anything else: no socket folder, nobody
  // listening, a listener of another user, one that does not answer as a running copy does.
  bool AskRunningCopy(const std::string& catalog);
  // Starts listening for later starts; `request` shows this copy's window and selects the catalog a
  // later start named (empty when it named none). Connections of other users are refused.
  void Listen(std::function<void(const std::string& catalog)> request);

  // The socket's path; empty when no folder of the user's own could be had.
  const QString& path() const { return path_; }

 private:
  void Accept();

  QString path_;
  bool nameTaken_ = false;  // a listener answered the connection on the path
  QLocalServer server_;
  std::function<void(const std::string&)> request_;
};

}  // namespace vrk
