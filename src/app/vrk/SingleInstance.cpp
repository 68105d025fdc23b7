#include "app/vrk/SingleInstance.h"

#include <unistd.h>
#include <QLocalSocket>
#include <memory>

namespace vrk {
namespace {

constexpr int kAnswerMilliseconds = 1000;
// A later start sends this line, then the catalog path's bytes, and closes the connection.
const QByteArray kRaise = QByteArrayLiteral("raise\n");

}  // namespace

SingleInstance::SingleInstance() : name_(QStringLiteral("vrk-%1").arg(::getuid())) {}

bool SingleInstance::AskRunningCopy(const std::string& catalog) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
  socket.write(kRaise + QByteArray::fromStdString(catalog));
  socket.waitForBytesWritten(kAnswerMilliseconds);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kAnswerMilliseconds);
  return true;
}

void SingleInstance::Listen(std::function<void(const std::string&)> request) {
  request_ = std::move(request);
  // A copy that ended without closing its socket leaves the name behind; nobody answers on it.
  QLocalServer::removeServer(name_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(name_);
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      // The request is whole when the later start has closed its end.
      auto message = std::make_shared<QByteArray>();
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, message] { *message += socket->readAll(); });
      QObject::connect(socket, &QLocalSocket::disconnected, socket, [this, socket, message] {
        *message += socket->readAll();
        socket->deleteLater();
        if (request_ && message->startsWith(kRaise)) request_(message->mid(kRaise.size()).toStdString());
      });
    }
  });
}

}  // namespace vrk
