#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/RunLoop.h"

class QTimer;

namespace routelle {

// The main queue is Qt's event loop; repeating timers run on threads of their own.
class LinuxRunLoop final : public RunLoop {
 public:
  LinuxRunLoop() = default;
  ~LinuxRunLoop() override;
  LinuxRunLoop(const LinuxRunLoop&) = delete;
  LinuxRunLoop& operator=(const LinuxRunLoop&) = delete;

  int schedule(double delaySeconds, Task task) override;
  void cancel(int token) override;
  void post(Task task) override;
  int scheduleRepeating(const std::string& queueLabel, double firstDelay, double interval, double leeway,
                        Task task) override;
  void cancelRepeating(int token) override;

 private:
  struct Repeating;
  int next_ = 1;
  std::map<int, QTimer*> timers_;
  std::mutex mutex_;
  std::map<int, std::shared_ptr<Repeating>> repeating_;
};

}  // namespace routelle
