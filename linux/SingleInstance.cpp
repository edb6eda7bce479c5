#include "SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QLocalSocket>
#include <memory>

#include "platform/linux/MainThreadTasks.h"

namespace routelle::desktop {
bool InstanceServer::listen(const Resolve& resolve) {
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
      auto received = std::make_shared<std::string>();
      QObject::connect(socket, &QLocalSocket::readyRead, [socket, received, resolve] {
        const QByteArray bytes = socket->readAll();
        received->append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        HandedLink handed;
        switch (readHandOffMessage(*received, handed)) {
          case MessageState::incomplete:
            return;  // the rest is still on its way
          case MessageState::invalid:
            socket->abort();
            return;
          case MessageState::complete:
            break;
        }
        auto route = resolve(handed);
        socket->write("k");
        socket->flush();
        // Routed after the answer: a chooser or a dialog may keep it a while.
        linux_desktop::postToMainThread(route);
      });
    }
  });
  return true;
}

}  // namespace routelle::desktop
