#pragma once
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

}  // namespace routelle
