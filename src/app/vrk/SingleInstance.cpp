#include "app/vrk/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalSocket>
#include <memory>

#include "platform/FileSystem.h"

namespace vrk {
namespace {

constexpr int kAnswerMilliseconds = 3000;
constexpr qsizetype kLongestRequest = 64 * 1024;
// A later start sends kRaise, the catalog path's bytes and a NUL; the running copy answers kShown.
const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kShown = QByteArrayLiteral("shown\n");

bool SameUser(const QLocalSocket& socket) {
  uid_t peer = 0;
  return sys::PeerUserId(static_cast<int>(socket.socketDescriptor()), peer) == 0 && peer == sys::UserId();
}

// $XDG_RUNTIME_DIR when it is the user's own, else a folder of the user's own in the temporary folder;
// empty when neither can be had.
QString SocketFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (QDir::isAbsolutePath(runtime) && sys::PrivateDirectory(QFile::encodeName(runtime).toStdString()) == 0) {
    return runtime;
  }
  const QString own = QDir::tempPath() + QStringLiteral("/vrk-%1").arg(sys::UserId());
  return sys::PrivateDirectory(QFile::encodeName(own).toStdString()) == 0 ? own : QString();
}

// Copies on different displays, or of different program directories, are different programs to the user.
QString SocketName(const std::string& programDirectory) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (const QByteArray& part : {QGuiApplication::platformName().toUtf8(), qgetenv("DISPLAY"),
                                 qgetenv("WAYLAND_DISPLAY"), QByteArray::fromStdString(programDirectory)}) {
    hash.addData(part);
    hash.addData(QByteArrayView("\0", 1));
  }
  return QStringLiteral("vrk-") + QString::fromLatin1(hash.result().toHex().left(16));
}

}  // namespace

SingleInstance::SingleInstance(const std::string& programDirectory) {
  const QString folder = SocketFolder();
  if (!folder.isEmpty()) path_ = folder + QLatin1Char('/') + SocketName(programDirectory);
}

bool SingleInstance::AskRunningCopy(const std::string& catalog) {
  if (path_.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(path_);
  if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
  nameTaken_ = true;
  if (!SameUser(socket)) return false;  // never tell a stranger which catalog is opened
  socket.write(kRaise + QByteArray::fromStdString(catalog) + '\0');
  QByteArray answer;
  while (answer.size() < kShown.size() && socket.waitForReadyRead(kAnswerMilliseconds)) answer += socket.readAll();
  return answer.startsWith(kShown);
}

void SingleInstance::Listen(std::function<void(const std::string&)> request) {
  if (path_.isEmpty()) return;
  request_ = std::move(request);
  // A copy that ended without closing its socket leaves the name behind; nobody answers on it.
  if (!nameTaken_) QLocalServer::removeServer(path_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  // When the name stays taken, later starts open windows of their own.
  if (!server_.listen(path_)) return;
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { Accept(); });
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!SameUser(*socket)) {
      socket->abort();
      continue;
    }
    auto message = std::make_shared<QByteArray>();
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, message] {
      *message += socket->readAll();
      const qsizetype end = message->indexOf('\0');
      if (end < 0) {
        if (message->size() > kLongestRequest) socket->abort();
        return;
      }
      if (!message->startsWith(kRaise)) {
        socket->abort();
        return;
      }
      socket->write(kShown);
      socket->disconnectFromServer();
      if (request_) request_(message->mid(kRaise.size(), end - kRaise.size()).toStdString());
      message->clear();
    });
  }
}

}  // namespace vrk
