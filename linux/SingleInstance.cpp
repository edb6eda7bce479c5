#include "SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDataStream>
#include <QLocalSocket>
#include <QTimer>
#include <cstdlib>

#include "LinuxSystem.h"

namespace routelle::desktop {
namespace {

constexpr int kWaitMilliseconds = 5000;
// A link is at most this long on the socket: a longer one is refused, not read.
constexpr qint64 kLongestMessage = 1 << 20;

}  // namespace

std::string instanceSocketPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/routelle-desktop.socket";
  return (settingsFolder() / "routelle-desktop.socket").string();
}

bool handToRunningInstance(const HandedLink& handed) {
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(instanceSocketPath()));
  if (!socket.waitForConnected(kWaitMilliseconds)) return false;
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out << qint32(handed.requester) << QString::fromStdString(handed.link);
  socket.write(message);
  if (!socket.waitForBytesWritten(kWaitMilliseconds)) return false;
  // The running program answers once it has read the requester's parents.
  while (socket.bytesAvailable() < 1)
    if (!socket.waitForReadyRead(kWaitMilliseconds)) return false;
  return true;
}

bool InstanceServer::listen(Resolve resolve) {
  const std::string path = instanceSocketPath();
  lockFile_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFile_ < 0 || flock(lockFile_, LOCK_EX | LOCK_NB) != 0) return false;
  // Holding the lock, a socket file left there is a dead program's.
  QLocalServer::removeServer(QString::fromStdString(path));
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(QString::fromStdString(path))) return false;
  QObject::connect(server_.get(), &QLocalServer::newConnection, [this, resolve] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, [socket, resolve] {
        if (socket->bytesAvailable() > kLongestMessage) {
          socket->abort();
          return;
        }
        QDataStream in(socket);
        in.startTransaction();
        qint32 requester = 0;
        QString link;
        in >> requester >> link;
        if (!in.commitTransaction()) return;  // the rest is still on its way
        auto route = resolve({link.toStdString(), requester});
        socket->write("k");
        socket->flush();
        // Routed after the answer: a chooser or a dialog may keep it a while.
        QTimer::singleShot(0, route);
      });
    }
  });
  return true;
}

}  // namespace routelle::desktop
