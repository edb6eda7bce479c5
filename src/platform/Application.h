#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Pasteboard.h"

namespace routelle {

enum class ActivationPolicy { regular = 0, accessory = 1, prohibited = 2 };

// The application object and its bundle.
class Application {
 public:
  virtual ~Application() = default;
  virtual void setActivationPolicy(ActivationPolicy policy) = 0;
  virtual void activateIgnoringOtherApps(bool ignoring) = 0;
  virtual void terminate() = 0;
  // The Services entry's provider; the system's dynamic services are updated.
  virtual void setServicesProvider(std::function<void(Pasteboard&)> openUrl) = 0;
  // A value of the bundle's information dictionary; empty when missing.
  virtual std::string infoValue(const std::string& key) = 0;
  virtual std::optional<std::string> pathForResource(const std::string& name, const std::string& type) = 0;
};

// Accessibility trust of the process.
class Accessibility {
 public:
  virtual ~Accessibility() = default;
  // With prompt, the system asks the user to grant trust when it is missing.
  virtual bool isProcessTrusted(bool prompt) = 0;
};

// System-wide keyboard shortcuts.
class Shortcuts {
 public:
  virtual ~Shortcuts() = default;
  virtual void unregisterAllShortcuts() = 0;
  virtual void registerShortcut(unsigned keyCode, std::uint64_t modifierFlags, std::function<void()> action) = 0;
};

}  // namespace routelle
