#pragma once
#include <functional>
#include <string>
#include <vector>

namespace routelle {

// What the host world shows and does, as readable lines for the driver.
class Transcript {
 public:
  void add(std::string line) {
    if (echo) echo(line);
    lines.push_back(std::move(line));
  }
  std::function<void(const std::string&)> echo;
  std::vector<std::string> lines;
};

}  // namespace routelle
