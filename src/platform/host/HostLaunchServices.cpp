#include "platform/host/HostLaunchServices.h"

#include "support/Text.h"

namespace routelle {

HostLaunchServices::HostLaunchServices(const World& world, HostWorkspace& workspace)
    : handlers_(world.launchServicesFile()), workspace_(workspace) {}

std::optional<std::string> HostLaunchServices::defaultHandler(const std::string& scheme) {
  auto v = handlers_.object(text::lowercased(scheme));
  if (v && std::holds_alternative<std::string>(*v)) return std::get<std::string>(*v);
  return std::nullopt;
}

bool HostLaunchServices::setDefaultHandler(const std::string& scheme, const std::string& bundleIdentifier) {
  if (scheme.empty() || bundleIdentifier.empty()) return false;
  const std::string key = text::lowercased(scheme);
  // The user's answer to the system's confirmation; declined, nothing changes.
  auto accepted = handlers_.object(kBrowserChangesKey);
  if ((key == "http" || key == "https") && accepted == std::optional<DefaultsValue>(false)) return false;
  handlers_.set(key, bundleIdentifier);
  return handlers_.synchronize();
}

void HostLaunchServices::setBrowserChangesAccepted(bool accepted) {
  handlers_.set(kBrowserChangesKey, accepted);
  handlers_.synchronize();
}

}  // namespace routelle

namespace routelle {

std::vector<std::string> HostLaunchServices::applicationsForURL(const std::string& url) {
  const auto colon = url.find(':');
  if (colon == std::string::npos || colon == 0) return {};
  const std::string scheme = text::lowercased(url.substr(0, colon));
  if (scheme != "file") return workspace_.applicationsDeclaringScheme(scheme);
  const std::string name = text::lastPathComponent(url);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return {};
  return workspace_.applicationsDeclaringExtension(name.substr(dot + 1));
}

}  // namespace routelle
