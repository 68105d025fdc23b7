#include "app/vrk/SingleInstance.h"

#include <unistd.h>
#include <QLocalSocket>

namespace vrk {
namespace {

constexpr int kAnswerMilliseconds = 1000;
const char kRaise[] = "raise\n";

}  // namespace

SingleInstance::SingleInstance() : name_(QStringLiteral("vrk-%1").arg(::getuid())) {}

bool SingleInstance::AskRunningCopy() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
  socket.write(kRaise);
  socket.waitForBytesWritten(kAnswerMilliseconds);
  return true;
}

void SingleInstance::Listen(std::function<void()> raise) {
  raise_ = std::move(raise);
  // A copy that ended without closing its socket leaves the name behind; nobody answers on it.
  QLocalServer::removeServer(name_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(name_);
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      if (raise_) raise_();
    }
  });
}

}  // namespace vrk
