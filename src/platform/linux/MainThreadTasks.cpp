#include "platform/linux/MainThreadTasks.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

namespace routelle::linux_desktop {
namespace {

// A task travels as an event: the event loop owns it from posting to delivery.
class TaskEvent final : public QEvent {
 public:
  explicit TaskEvent(std::function<void()> task) : QEvent(QEvent::User), task_(std::move(task)) {}
  void run() { task_(); }

 private:
  std::function<void()> task_;
};

class TaskReceiver final : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    static_cast<TaskEvent*>(event)->run();
    return true;
  }
};

TaskReceiver& receiver() {
  static TaskReceiver* shared = [] {
    auto* made = new TaskReceiver;
    made->moveToThread(QCoreApplication::instance()->thread());
    return made;
  }();
  return *shared;
}

}  // namespace

void postToMainThread(std::function<void()> task) {
  QCoreApplication::postEvent(&receiver(), new TaskEvent(std::move(task)));
}

}  // namespace routelle::linux_desktop
