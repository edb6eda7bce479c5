#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/Application.h"
#include "platform/Workspace.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

// The application object of the host world; its bundle is the world's
// /Applications/Routelle.app.
class HostApplication final : public Application {
 public:
  HostApplication(const World& world, Workspace& workspace, Transcript& transcript)
      : world_(world), workspace_(workspace), transcript_(transcript) {}

  void setActivationPolicy(ActivationPolicy policy) override;
  void activateIgnoringOtherApps(bool) override {}
  void terminate() override;
  void setServicesProvider(std::function<void(Pasteboard&)> openUrl) override {
    servicesProvider_ = std::move(openUrl);
  }
  std::string infoValue(const std::string& key) override;
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) override;

  // The Services entry chosen with the pasteboard; false when no provider is set.
  bool requestService(Pasteboard& pasteboard);
  bool terminated() const { return terminated_; }
  std::optional<ActivationPolicy> policy() const { return policy_; }

 private:
  const World& world_;
  Workspace& workspace_;
  Transcript& transcript_;
  std::optional<ActivationPolicy> policy_;
  bool terminated_ = false;
  std::function<void(Pasteboard&)> servicesProvider_;
};

}  // namespace routelle
