#pragma once
#include <functional>
#include <mutex>
#include <string_view>

namespace routelle {

// Lines handed to a sink one at a time, from any thread; dropped unless a sink
// is set.
class LineSink {
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
