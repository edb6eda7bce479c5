#pragma once
#include <functional>

namespace routelle {

// The main queue and its timers.
class RunLoop {
 public:
  using Task = std::function<void()>;
  virtual ~RunLoop() = default;
  // Runs the task on the main queue after the delay (0: as soon as possible).
  // Answers a token for cancel().
  virtual int schedule(double delaySeconds, Task task) = 0;
  virtual void cancel(int token) = 0;
};

}  // namespace routelle
