#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/Application.h"
#include "platform/host/HostSystem.h"
#include "platform/host/Transcript.h"

namespace routelle {

// The application object of the host world; its bundle is the world's
// /Applications/Routelle.app.
class HostApplication final : public Application {
 public:
  HostApplication(HostSystem& system, Transcript& transcript) : system_(system), transcript_(transcript) {}

  void setActivationPolicy(ActivationPolicy policy) override;
  void activateIgnoringOtherApps(bool) override {}
  void terminate() override;
  void setServicesProvider(std::function<void(Pasteboard&)> openUrl) override { servicesProvider = std::move(openUrl); }
  std::string infoValue(const std::string& key) override;
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) override;

  std::optional<ActivationPolicy> policy;
  bool terminated = false;
  std::function<void(Pasteboard&)> servicesProvider;

 private:
  HostSystem& system_;
  Transcript& transcript_;
};

// Accessibility trust is world state: the file Library/Accessibility/trusted exists.
class HostAccessibility final : public Accessibility {
 public:
  HostAccessibility(const World& world, Transcript& transcript) : world_(world), transcript_(transcript) {}
  bool isProcessTrusted(bool prompt) override;

 private:
  const World& world_;
  Transcript& transcript_;
};

class HostShortcuts final : public Shortcuts {
 public:
  void unregisterAllShortcuts() override { registered.clear(); }
  void registerShortcut(unsigned keyCode, std::uint64_t flags, std::function<void()> action) override {
    registered[{keyCode, flags}] = std::move(action);
  }
  // Presses a registered shortcut; false when none is registered.
  bool press(unsigned keyCode, std::uint64_t flags) {
    auto it = registered.find({keyCode, flags});
    if (it == registered.end()) return false;
    it->second();
    return true;
  }
  std::map<std::pair<unsigned, std::uint64_t>, std::function<void()>> registered;
};

}  // namespace routelle
