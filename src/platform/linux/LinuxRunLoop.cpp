#include "platform/linux/LinuxRunLoop.h"

#include "platform/linux/MainThreadTasks.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <condition_variable>

namespace routelle {

struct LinuxRunLoop::Repeating {
  std::mutex mutex;
  std::condition_variable wake;
  bool cancelled = false;
  std::thread thread;
};

LinuxRunLoop::~LinuxRunLoop() {
  std::map<int, std::shared_ptr<Repeating>> repeating;
  {
    std::lock_guard lock(mutex_);
    repeating.swap(repeating_);
  }
  for (auto& [token, timer] : repeating) {
    {
      std::lock_guard lock(timer->mutex);
      timer->cancelled = true;
    }
    timer->wake.notify_all();
    if (timer->thread.joinable()) timer->thread.join();
  }
}

int LinuxRunLoop::schedule(double delaySeconds, Task task) {
  const int token = next_++;
  auto* timer = new QTimer(QCoreApplication::instance());
  timer->setSingleShot(true);
  QObject::connect(timer, &QTimer::timeout, [this, token, timer, task = std::move(task)] {
    timers_.erase(token);
    timer->deleteLater();
    task();
  });
  timers_[token] = timer;
  timer->start(static_cast<int>(delaySeconds * 1000));
  return token;
}

void LinuxRunLoop::cancel(int token) {
  auto it = timers_.find(token);
  if (it == timers_.end()) return;
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

void LinuxRunLoop::post(Task task) { linux_desktop::postToMainThread(std::move(task)); }

int LinuxRunLoop::scheduleRepeating(const std::string&, double firstDelay, double interval, double, Task task) {
  auto timer = std::make_shared<Repeating>();
  int token = 0;
  {
    std::lock_guard lock(mutex_);
    token = next_++;
    repeating_[token] = timer;
  }
  timer->thread = std::thread([timer, firstDelay, interval, task = std::move(task)] {
    auto due = std::chrono::steady_clock::now() + std::chrono::duration<double>(firstDelay);
    for (;;) {
      {
        std::unique_lock lock(timer->mutex);
        if (timer->wake.wait_until(lock, due, [&] { return timer->cancelled; })) return;
      }
      task();
      due += std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(interval));
    }
  });
  return token;
}

void LinuxRunLoop::cancelRepeating(int token) {
  std::shared_ptr<Repeating> timer;
  {
    std::lock_guard lock(mutex_);
    auto it = repeating_.find(token);
    if (it == repeating_.end()) return;
    timer = it->second;
    repeating_.erase(it);
  }
  {
    std::lock_guard lock(timer->mutex);
    timer->cancelled = true;
  }
  timer->wake.notify_all();
  if (timer->thread.joinable() && timer->thread.get_id() != std::this_thread::get_id())
    timer->thread.join();
  else if (timer->thread.joinable())
    timer->thread.detach();
}

}  // namespace routelle
