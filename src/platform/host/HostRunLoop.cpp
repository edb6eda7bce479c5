#include "platform/host/HostRunLoop.h"

namespace routelle {

int HostRunLoop::schedule(double delaySeconds, Task task) {
  std::lock_guard lock(mutex_);
  const int token = next_++;
  tasks_.emplace(std::make_pair(now_ + (delaySeconds > 0 ? delaySeconds : 0), token), std::move(task));
  return token;
}

void HostRunLoop::cancel(int token) {
  std::lock_guard lock(mutex_);
  std::erase_if(tasks_, [token](const auto& entry) { return entry.first.second == token; });
}

double HostRunLoop::now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void HostRunLoop::advance(double seconds) {
  double until;
  {
    std::lock_guard lock(mutex_);
    until = now_ + (seconds > 0 ? seconds : 0);
  }
  for (;;) {
    Task task;
    {
      std::lock_guard lock(mutex_);
      auto first = tasks_.begin();
      if (first == tasks_.end() || first->first.first > until) {
        now_ = until;
        return;
      }
      now_ = first->first.first;
      task = std::move(first->second);
      tasks_.erase(first);
    }
    task();  // may schedule more work, due within this advance or later
  }
}

bool HostRunLoop::runNextDue() {
  Task task;
  {
    std::lock_guard lock(mutex_);
    auto first = tasks_.begin();
    if (first == tasks_.end() || first->first.first > now_) return false;
    task = std::move(first->second);
    tasks_.erase(first);
  }
  task();
  return true;
}

int HostRunLoop::scheduledCount() const {
  std::lock_guard lock(mutex_);
  return next_ - 1;
}

}  // namespace routelle
