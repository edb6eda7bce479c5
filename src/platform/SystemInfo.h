#pragma once

namespace routelle {

// The running system's version.
class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual bool isAtLeast(int major, int minor) = 0;
};

}  // namespace routelle
