#pragma once
#include <functional>
#include <string>

namespace routelle {

// The main queue and its timers, and repeating timers on queues of their own.
// The main queue's timers belong to the main thread; another thread reaches the
// main queue through post() alone.
class RunLoop {
 public:
  using Task = std::function<void()>;
  virtual ~RunLoop() = default;
  // Main thread: runs the task on the main queue after the delay (0: as soon as
  // possible). Answers a token for cancel().
  virtual int schedule(double delaySeconds, Task task) = 0;
  virtual void cancel(int token) = 0;
  // Any thread: runs the task on the main queue as soon as it can.
  virtual void post(Task task) = 0;

  // A repeating timer on a concurrent queue of its own, off the main thread:
  // first due after `firstDelay`, then every `interval` seconds (the system may
  // be `leeway` late); its events arrive one at a time. Answers a token for
  // cancelRepeating().
  virtual int scheduleRepeating(const std::string& queueLabel, double firstDelay, double interval, double leeway,
                                Task task) = 0;
  virtual void cancelRepeating(int token) = 0;
};

}  // namespace routelle
