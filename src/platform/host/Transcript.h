#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace routelle {

// What the host world shows and does, as readable lines for the driver.
// Lines may come from the tab watcher's thread too; they are added one at a time.
class Transcript {
 public:
  void add(std::string line) {
    std::lock_guard lock(mutex_);
    if (echo) echo(line);
    lines.push_back(std::move(line));
  }
  std::function<void(const std::string&)> echo;
  std::vector<std::string> lines;

 private:
  std::mutex mutex_;
};

}  // namespace routelle
