#pragma once
#include <functional>
#include <mutex>
#include <string_view>

namespace routelle {

// What the user should read of what went wrong without a dialog (a stored
// value that cannot be read, a browser that could not be started): lines the
// front end shows on standard error. Dropped unless a sink is set; the core
// never writes to standard error itself. Lines may come from any thread.
class Report {
 public:
  void setSink(std::function<void(std::string_view)> sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
  }
  void operator()(std::string_view line) const {
    std::lock_guard lock(mutex_);
    if (sink_) sink_(line);
  }

 private:
  mutable std::mutex mutex_;
  std::function<void(std::string_view)> sink_;
};

}  // namespace routelle
