#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/RunLoop.h"
#include "platform/host/MainThreadCheck.h"

namespace routelle {

// The main queue of the host world with a manual clock: nothing runs until the
// clock is advanced, so "five seconds later" is advance(5) and never a sleep.
// The thread that makes it is the main thread: its main-queue operations
// called from any other end the program (see MainThreadCheck), as they would
// race on the platform.
class HostRunLoop final : public RunLoop {
 public:
  int schedule(double delaySeconds, Task task) override;
  void cancel(int token) override;
  void post(Task task) override;
  // Runs on a thread of its own when due, one event at a time, while the clock
  // waits for it: "5 seconds later" still never sleeps. Any thread may start and
  // cancel these, as on the platform.
  int scheduleRepeating(const std::string& queueLabel, double firstDelay, double interval, double leeway,
                        Task task) override;
  void cancelRepeating(int token) override;

  // Main thread: runs every task due by now + seconds, in time order (ties in
  // scheduling order); repeating timers on threads of their own.
  void advance(double seconds);
  void runPending() { advance(0); }
  // Main thread: runs the first task due by now, as a modal loop takes one event at a time;
  // false when none is due.
  bool runNextDue();
  double now() const;
  // How many tasks were scheduled so far (a menu refresh schedules one).
  int scheduledCount() const;
  // The labels of the repeating timers that run now.
  std::vector<std::string> repeatingQueues() const;

 private:
  MainThreadCheck onMainThread_;
  mutable std::mutex mutex_;
  double now_ = 0;
  int next_ = 1;
  std::map<std::pair<double, int>, Task> tasks_;
  struct Repeating {
    std::string queue;
    double due;
    double interval;
    std::shared_ptr<Task> task;
  };
  std::map<int, Repeating> repeating_;
  int mainScheduled_ = 0;
};

}  // namespace routelle
