#include "platform/host/HostRunLoop.h"

#include <thread>

namespace routelle {

int HostRunLoop::schedule(double delaySeconds, Task task) {
  onMainThread_("RunLoop::schedule");
  std::lock_guard lock(mutex_);
  const int token = next_++;
  ++mainScheduled_;
  tasks_.emplace(std::make_pair(now_ + (delaySeconds > 0 ? delaySeconds : 0), token), std::move(task));
  return token;
}

void HostRunLoop::cancel(int token) {
  onMainThread_("RunLoop::cancel");
  std::lock_guard lock(mutex_);
  std::erase_if(tasks_, [token](const auto& entry) { return entry.first.second == token; });
}

void HostRunLoop::post(Task task) {
  std::lock_guard lock(mutex_);
  tasks_.emplace(std::make_pair(now_, next_++), std::move(task));
}

int HostRunLoop::scheduleRepeating(const std::string& queueLabel, double firstDelay, double interval, double,
                                   Task task) {
  std::lock_guard lock(mutex_);
  const int token = next_++;
  // A timer that never waits would fire without end within one advance.
  const double every = interval > 0 ? interval : 1.0;
  repeating_[token] = {queueLabel, now_ + (firstDelay > 0 ? firstDelay : 0), every,
                       std::make_shared<Task>(std::move(task))};
  return token;
}

void HostRunLoop::cancelRepeating(int token) {
  std::lock_guard lock(mutex_);
  repeating_.erase(token);
}

std::vector<std::string> HostRunLoop::repeatingQueues() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& [token, timer] : repeating_) out.push_back(timer.queue);
  return out;
}

double HostRunLoop::now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void HostRunLoop::advance(double seconds) {
  onMainThread_("HostRunLoop::advance");
  double until;
  {
    std::lock_guard lock(mutex_);
    until = now_ + (seconds > 0 ? seconds : 0);
  }
  for (;;) {
    Task mainTask;
    std::shared_ptr<Task> timerTask;
    {
      std::lock_guard lock(mutex_);
      auto first = tasks_.begin();
      auto timer = repeating_.end();
      for (auto it = repeating_.begin(); it != repeating_.end(); ++it)
        if (timer == repeating_.end() || it->second.due < timer->second.due) timer = it;
      const bool mainDue = first != tasks_.end() && first->first.first <= until;
      const bool timerDue = timer != repeating_.end() && timer->second.due <= until;
      if (!mainDue && !timerDue) {
        now_ = until;
        return;
      }
      // Main-queue work first when both are due at the same moment.
      if (mainDue && (!timerDue || first->first.first <= timer->second.due)) {
        now_ = first->first.first;
        mainTask = std::move(first->second);
        tasks_.erase(first);
      } else {
        now_ = timer->second.due;
        timer->second.due += timer->second.interval;
        timerTask = timer->second.task;
      }
    }
    if (mainTask) mainTask();  // may schedule more work, due within this advance or later
    if (timerTask) std::thread([timerTask] { (*timerTask)(); }).join();
  }
}

bool HostRunLoop::runNextDue() {
  onMainThread_("HostRunLoop::runNextDue");
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
  return mainScheduled_;
}

}  // namespace routelle
