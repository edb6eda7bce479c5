#pragma once
#include <string>

#include "platform/Application.h"

namespace routelle {

// The Qt application. There is no Dock and no Services menu here; the bundle's
// resources are the program's data folder.
class LinuxApplication final : public Application {
 public:
  explicit LinuxApplication(std::string resourcesFolder) : resources_(std::move(resourcesFolder)) {}
  void setActivationPolicy(ActivationPolicy) override {}
  void activateIgnoringOtherApps(bool) override {}
  void terminate() override;
  void setServicesProvider(std::function<void(Pasteboard&)>) override {}
  std::string infoValue(const std::string& key) override;
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) override;

 private:
  std::string resources_;
};

}  // namespace routelle
